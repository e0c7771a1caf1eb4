#include "support/FileUtilities_win.h"

#include <optional>
#include <vector>

namespace ICBSFileUtilities {

namespace {

bool DeleteOneFile(const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (DeleteFileW(path.c_str()))
            return true;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return true;
        if (error != ERROR_SHARING_VIOLATION)
            return false;
        Sleep(1000);
    }
    return false;
}

} // namespace

bool DeleteTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry = {};
    HANDLE find = FindFirstFileW((path + L"\\*.*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        bool ok = true;
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (isFolder && isLink)
                ok = RemoveDirectoryW(child.c_str()) != FALSE; // the link itself, never its target
            else if (isFolder)
                ok = DeleteTree(child);
            else
                ok = DeleteOneFile(child, entry.dwFileAttributes);
        } while (ok && FindNextFileW(find, &entry));
        FindClose(find);
        if (!ok)
            return false;
    }
    return RemoveDirectoryW(path.c_str()) != FALSE;
}

int Wait(const std::wstring& commandLine, bool wait, const std::wstring& workingFolder,
         const std::map<std::wstring, std::wstring>* environment, DWORD timeoutMs, bool showWindow,
         HANDLE* process) {
    std::map<std::wstring, std::wstring> previous;
    if (environment) {
        for (const auto& [name, value] : *environment) {
            const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
            if (size > 0) {
                std::vector<wchar_t> buffer(size);
                const DWORD length = GetEnvironmentVariableW(name.c_str(), buffer.data(), size);
                previous[name] = std::wstring(buffer.data(), length);
            }
            SetEnvironmentVariableW(name.c_str(), value.c_str());
        }
    }
    STARTUPINFOW startup = {};
    GetStartupInfoW(&startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<wchar_t> mutableCommand(commandLine.begin(), commandLine.end());
    mutableCommand.push_back(L'\0');
    int result = 0;
    if (!CreateProcessW(nullptr, mutableCommand.data(), nullptr, nullptr, FALSE,
                        showWindow ? 0 : CREATE_NO_WINDOW, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
        result = static_cast<int>(GetLastError());
    } else if (wait) {
        // Handed out for the time of the wait, so that another thread can end the program.
        if (process)
            *process = info.hProcess;
        if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_TIMEOUT) {
            OutputDebugStringW(L"ICBSFileUtilities::Wait: Terminate process");
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, INFINITE);
        }
        DWORD exitCode = 0;
        GetExitCodeProcess(info.hProcess, &exitCode);
        result = static_cast<int>(exitCode);
        if (process)
            *process = nullptr;
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    } else if (process) {
        *process = info.hProcess;
        CloseHandle(info.hThread);
    } else {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    for (const auto& [name, value] : previous)
        SetEnvironmentVariableW(name.c_str(), value.c_str());
    return result;
}

} // namespace ICBSFileUtilities
