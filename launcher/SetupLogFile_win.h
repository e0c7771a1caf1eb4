// The open setup log file: UTF-16LE lines without a byte-order mark, flushed one by one, and handed
// to Windows Installer around each installer action (closed, then reopened for appending).
#pragma once

#include "support/Handle_win.h"

#include <string>
#include <string_view>

class SetupLogFile {
public:
    // Opens the file; append keeps existing content. Failure leaves the log closed, silently.
    bool Open(const std::wstring& path, bool append);
    bool IsOpen() const { return file_.IsValid(); }
    // One write and one flush, so the log survives a crash.
    void Write(std::wstring_view text);
    void Close();

private:
    FileHandle file_;
};
