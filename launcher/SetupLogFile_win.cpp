#include "launcher/SetupLogFile_win.h"

#include "launcher/CommandLine.h"
#include "launcher/SetupLog.h"
#include "support/WindowsInstaller_win.h"

#include <vector>

bool SetupLogFile::Open(const std::wstring& path, bool append) {
    Close();
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    file_.Attach(handle);
    SetFilePointer(handle, 0, nullptr, FILE_END);
    return true;
}

void SetupLogFile::Write(std::wstring_view text) {
    if (!file_ || text.empty())
        return;
    // The file is UTF-16LE whatever the size of wchar_t.
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() * 2);
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
    }
    DWORD written = 0;
    WriteFile(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(file_.Get());
}

void SetupLogFile::Close() {
    if (file_)
        FlushFileBuffers(file_.Get());
    file_.Close();
}

void SetupLogWriter::Open(const std::wstring& path, uint32_t logMode, uint32_t attributes) {
    std::lock_guard lock(mutex_);
    path_ = path;
    logMode_ = logMode;
    verbosity_ = LogVerbosityFromMode(logMode);
    if (!path_.empty())
        file_.Open(path_, (attributes & kLogAttributeAppend) != 0);
}

void SetupLogWriter::Close() {
    std::lock_guard lock(mutex_);
    file_.Close();
}

void SetupLogWriter::WriteLine(int level, const std::wstring& line) {
    std::lock_guard lock(mutex_);
    if (file_.IsOpen() && level <= verbosity_)
        file_.Write(LimitLogLine(line));
}

void SetupLogWriter::LendToInstaller() {
    std::lock_guard lock(mutex_);
    if (file_.IsOpen()) {
        if (kLogLevelFailure <= verbosity_)
            file_.Write(L"\r\n");
        file_.Close();
    }
    if (!path_.empty())
        WindowsInstaller::EnableLog(logMode_, path_, kLogAttributeAppend);
}

void SetupLogWriter::TakeBackFromInstaller() {
    std::lock_guard lock(mutex_);
    if (!file_.IsOpen() && !path_.empty())
        file_.Open(path_, true);
}
