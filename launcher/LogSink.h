// Where the launcher's log lines go: one interface for everything below the application, so that the
// model, the extraction and the wizard write the setup log without knowing its file. The application owns
// the real log (SetupLogWriter); tests keep the lines in memory.
#pragma once

#include "support/Format.h"

#include <string>
#include <string_view>

class LogSinkIF {
public:
    virtual ~LogSinkIF() = default;

    // One line at a level 1 to 3 (see SetupLog.h); it arrives whole even when threads log at once.
    virtual void WriteLine(int level, const std::wstring& line) = 0;
    // The line formatted with the project's formatter first; a line that is data goes through "%s".
    template <class... Args> void Write(int level, std::wstring_view format, const Args&... args) {
        WriteLine(level, Format(format, args...));
    }

    // Windows Installer writes into the same file during each of its operations: the log lets go of the
    // file (and tells the installer about it) before one, and takes it back afterwards.
    virtual void LendToInstaller() {}
    virtual void TakeBackFromInstaller() {}
};

// The log lent to Windows Installer for the length of one of its operations: lent when made, taken back
// when the lease ends, whichever way the operation ends.
class InstallerLogLease {
public:
    explicit InstallerLogLease(LogSinkIF& log) : log_(log) { log_.LendToInstaller(); }
    ~InstallerLogLease() { log_.TakeBackFromInstaller(); }
    InstallerLogLease(const InstallerLogLease&) = delete;
    InstallerLogLease& operator=(const InstallerLogLease&) = delete;

private:
    LogSinkIF& log_;
};
