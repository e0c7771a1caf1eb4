// ICBSFileUtilities::Wait: starting a program with a temporary environment and waiting for it.
#include "support/FileUtilities_win.h"

#include "support/Handle_win.h"

#include <optional>
#include <vector>

namespace ICBSFileUtilities {

namespace {

// Exit code of a program ended because it ran past its time-out.
constexpr DWORD kTimedOutExitCode = 1;

std::optional<std::wstring> EnvironmentValue(const std::wstring& name) {
    SetLastError(ERROR_SUCCESS); // an empty value gives 0 without setting an error
    const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0)
        return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::wstring>(L"");
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetEnvironmentVariableW(name.c_str(), buffer.data(), size);
    return std::wstring(buffer.data(), length < size ? length : 0);
}

// Sets variables in the launcher's own environment (a new process copies it) and puts the old values
// back when it goes out of scope; variables that had none are removed again.
class TemporaryEnvironment {
public:
    explicit TemporaryEnvironment(const std::map<std::wstring, std::wstring>* variables) {
        if (!variables)
            return;
        for (const auto& [name, value] : *variables) {
            previous_.emplace_back(name, EnvironmentValue(name));
            SetEnvironmentVariableW(name.c_str(), value.c_str());
        }
    }
    ~TemporaryEnvironment() {
        for (const auto& [name, value] : previous_)
            SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    }
    TemporaryEnvironment(const TemporaryEnvironment&) = delete;
    TemporaryEnvironment& operator=(const TemporaryEnvironment&) = delete;

private:
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> previous_;
};

} // namespace

int Wait(const std::wstring& commandLine, bool wait, const std::wstring& workingFolder,
         const std::map<std::wstring, std::wstring>* environment, DWORD timeoutMs, bool showWindow,
         HANDLE* process) {
    STARTUPINFOW startup = {};
    GetStartupInfoW(&startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<wchar_t> mutableCommand(commandLine.begin(), commandLine.end());
    mutableCommand.push_back(L'\0');
    {
        const TemporaryEnvironment scope(environment);
        if (!CreateProcessW(nullptr, mutableCommand.data(), nullptr, nullptr, FALSE,
                            showWindow ? 0 : CREATE_NO_WINDOW, nullptr,
                            workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info))
            return static_cast<int>(GetLastError());
    }
    KernelHandle thread(info.hThread);
    KernelHandle child(info.hProcess);
    if (!wait) {
        if (process)
            *process = child.Detach();
        return 0;
    }
    if (process)
        *process = child.Get();
    if (WaitForSingleObject(child.Get(), timeoutMs) == WAIT_TIMEOUT) {
        OutputDebugStringW(L"ICBSFileUtilities::Wait: Terminate process");
        TerminateProcess(child.Get(), kTimedOutExitCode);
        WaitForSingleObject(child.Get(), INFINITE);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(child.Get(), &exitCode);
    if (process)
        *process = nullptr;
    return static_cast<int>(exitCode);
}

} // namespace ICBSFileUtilities
