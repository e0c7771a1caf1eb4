#include "launcher/SystemInfo_win.h"

#include "support/FilePath.h"
#include "support/FileUtilities_win.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

LocalTime LocalNow() {
    SYSTEMTIME t = {};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::wstring ThisModulePath() {
    return ICBSFilePath::ModulePath(nullptr).Text();
}

FileVersion ThisFileVersion() {
    FileVersion version;
    if (const auto numbers = ICBSFilePath::ModulePath(nullptr).VersionNumbers()) {
        version.present = true;
        version.major = numbers->major;
        version.minor = numbers->minor;
        version.build = numbers->build;
        version.revision = numbers->revision;
    }
    return version;
}

std::wstring SystemErrorText(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring description = length && text ? std::wstring(text, length) : std::wstring();
    if (text)
        LocalFree(text);
    return description;
}

std::wstring LauncherBaseFolder() {
    // Worked out once per process. While the common application-data folder cannot be found the answer
    // stays empty and the next call asks again. Worker threads ask too, hence the lock.
    static SRWLOCK lock = SRWLOCK_INIT;
    static std::wstring folder;
    AcquireSRWLockExclusive(&lock);
    if (folder.empty()) {
        const std::wstring common = ICBSFileUtilities::KnownFolderPath(FOLDERID_ProgramData);
        if (!common.empty()) {
            folder = common + L"\\Quenlis";
            // Every account that later runs the launcher (or the copy of it that the installed-programs
            // entry keeps here) must be able to replace what an earlier run left.
            ICBSFileUtilities::CreateFolder(folder, false);
            if (!ICBSFileUtilities::HasFullAccessForEveryone(folder))
                ICBSFileUtilities::GrantFullAccessToEveryone(folder);
        }
    }
    const std::wstring answer = folder;
    ReleaseSRWLockExclusive(&lock);
    return answer;
}
