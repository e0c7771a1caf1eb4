#include "launcher/ResultReport_win.h"

#include "launcher/SetupLog.h"
#include "launcher/StringTable_win.h"
#include "launcher/SystemInfo_win.h"

#include <windows.h>

std::wstring ResultText(const SetupResult& result) {
    return ComposeResultText(result.code, result.installerError,
                             result.installerError ? SystemErrorText(result.installerError) : std::wstring());
}

void ReportResult(SetupContext& context) {
    SetupResult& result = context.result;
    if (!result.NeedsReport())
        return;
    context.log.Write(kLogLevelProgress, L"VNT (c): ERROR: %s\r\n", ResultText(result));
    const int stringId = ResultMessageStringId(result.code);
    if (!context.mode.IsQuiet() && stringId != 0)
        MessageBoxW(nullptr, LoadResourceString(stringId).c_str(), context.applicationName.c_str(),
                    MB_OK | MB_ICONWARNING);
    result.reported = true;
}

void ShowErrorMessage(const SetupContext& context, const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), context.applicationName.c_str(), MB_OK | MB_ICONERROR);
}
