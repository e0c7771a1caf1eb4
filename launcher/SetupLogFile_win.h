// The setup log. SetupLogFile is the open file: UTF-16LE lines without a byte-order mark, flushed one by one.
// SetupLogWriter is the run's log over it: the verbosity the command line asks for, one lock so that lines
// written by the user-interface thread and a worker at once stay whole, and the hand-over of the file to
// Windows Installer around each installer action (closed, then reopened for appending). The application
// owns the one writer; everything else reaches it as a LogSinkIF.
#pragma once

#include "launcher/LogSink.h"
#include "support/Handle_win.h"

#include <cstdint>
#include <mutex>
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

class SetupLogWriter : public LogSinkIF {
public:
    SetupLogWriter() = default;
    SetupLogWriter(const SetupLogWriter&) = delete;
    SetupLogWriter& operator=(const SetupLogWriter&) = delete;
    ~SetupLogWriter() override { Close(); }

    // The log file of the command line's /L (none when empty), its mode bits and attributes.
    void Open(const std::wstring& path, uint32_t logMode, uint32_t attributes);
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }

    // Written when the file is open and the level is within the verbosity; cut at the line limit.
    void WriteLine(int level, const std::wstring& line) override;
    // Ends the launcher's part with an empty line, closes the file and lets Windows Installer append to it.
    void LendToInstaller() override;
    void TakeBackFromInstaller() override;

private:
    std::mutex mutex_;
    SetupLogFile file_;
    std::wstring path_;
    uint32_t logMode_ = 0;
    int verbosity_ = 0;
};
