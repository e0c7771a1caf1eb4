#include "launcher/SystemInfo_win.h"

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
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

FileVersion ThisFileVersion() {
    FileVersion version;
    const std::wstring path = ThisModulePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return version;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return version;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return version;
    version.present = true;
    version.major = HIWORD(info->dwFileVersionMS);
    version.minor = LOWORD(info->dwFileVersionMS);
    version.build = HIWORD(info->dwFileVersionLS);
    version.revision = LOWORD(info->dwFileVersionLS);
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
