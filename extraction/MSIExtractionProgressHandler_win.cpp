#include "extraction/MSIExtractionProgressHandler_win.h"

#include "launcher/Console_win.h"
#include "support/Format.h"

void MSIExtractionProgressHandler::FileStarted(const std::wstring& path) {
    WriteConsoleText(Format(L"extracting %s...", path));
    WriteConsoleText(L"\r\n");
}
