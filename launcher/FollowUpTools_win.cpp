#include "launcher/FollowUpTools_win.h"

#include "support/FileUtilities_win.h"
#include "support/StringUtil.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

namespace FollowUpTools {

std::wstring CommonAppDataFolder() {
    return ICBSFileUtilities::KnownFolderPath(FOLDERID_ProgramData);
}

bool StartVisible(const std::wstring& path) {
    return ICBSFileUtilities::Wait(QuotedCommandLine(path), false, L"", nullptr, INFINITE, true, nullptr) ==
           0;
}

bool StartElevated(const std::wstring& path) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = L"runas";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

} // namespace FollowUpTools
