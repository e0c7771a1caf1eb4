#include "LauncherRun.h"

#include "launcher/CommandLine.h"

#include "support/FileUtilities_win.h"

#include <gtest/gtest.h>

#include <regex>

namespace e2e {

namespace {

// How often the pipe readers look for new bytes; the launcher writes little, so polling is cheap and
// never blocks on a pipe that a grandchild process still holds open.
constexpr DWORD kPollIntervalMs = 5;
constexpr DWORD kRetryDelayMs = 200;

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// Reads whatever the pipe holds until the stop flag is set and the pipe is empty, or every writer has
// closed it. Polls rather than blocks, so that a grandchild that inherited the pipe cannot hold the reader.
void ReadPipe(HANDLE pipe, std::string& bytes, const std::atomic<bool>& stop) {
    char buffer[4096];
    DWORD read = 0;
    for (;;) {
        // Read before looking: once the flag is seen, the child has ended and this look finds all it wrote.
        const bool stopping = stop.load();
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
            // Every writer is gone; the pipe may still hold their last bytes, and reading cannot block now.
            while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0)
                bytes.append(buffer, read);
            return;
        }
        if (available == 0) {
            if (stopping)
                return;
            Sleep(kPollIntervalMs);
            continue;
        }
        if (!ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &read, nullptr))
            return;
        bytes.append(buffer, read);
    }
}

} // namespace

std::wstring TestProgramFolder() {
    return FolderOf(ModulePath());
}

std::wstring DefaultLauncherPath() {
    return TestProgramFolder() + L"\\SetupLauncher.exe";
}

std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote itself is escaped.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\'); // so that the closing quote stays a quote
    return quoted + L"\"";
}

std::wstring JoinArguments(const std::vector<std::wstring>& arguments) {
    std::wstring text;
    for (const auto& argument : arguments) {
        if (!text.empty())
            text += L' ';
        text += QuoteArgument(argument);
    }
    return text;
}

HeldLogFile::HeldLogFile(const std::wstring& argumentText) {
    const std::vector<std::wstring> tokens = SplitArguments(argumentText);
    for (size_t i = 0; i + 1 < tokens.size(); ++i) {
        const std::wstring& token = tokens[i];
        if (token.size() >= 2 && (token[0] == L'/' || token[0] == L'-') &&
            (token[1] == L'L' || token[1] == L'l')) {
            file_.Attach(CreateFileW(tokens[i + 1].c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            return;
        }
    }
}

LauncherProcess::LauncherProcess(const std::wstring& argumentText, const LaunchOptions& options)
    : options_(options), heldLog_(argumentText) {
    if (options_.launcher.empty())
        options_.launcher = DefaultLauncherPath();

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    // The write ends go to the child; ours are closed once it has them, so that only the child holds them.
    FileHandle outputWrite;
    FileHandle errorWrite;
    for (auto [stream, write] : {std::pair{&output_, &outputWrite}, std::pair{&error_, &errorWrite}}) {
        HANDLE read = nullptr;
        HANDLE written = nullptr;
        if (!CreatePipe(&read, &written, &inheritable, 0)) {
            ADD_FAILURE() << "cannot create an output pipe: " << GetLastError();
            return;
        }
        stream->read.Attach(read);
        write->Attach(written);
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    }
    FileHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                 OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.Get();
    startup.hStdOutput = outputWrite.Get();
    startup.hStdError = errorWrite.Get();
    std::wstring commandLine = QuoteArgument(options_.launcher);
    if (!argumentText.empty())
        commandLine += L" " + argumentText;
    PROCESS_INFORMATION info = {};
    const wchar_t* folder = options_.workingFolder.empty() ? nullptr : options_.workingFolder.c_str();
    // Wine now and then fails a start with an internal error (1359) under load; a second try succeeds.
    bool started = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < 2 && !started; ++attempt) {
        started = CreateProcessW(options_.launcher.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                 nullptr, folder, &startup, &info) != FALSE;
        error = started ? 0 : GetLastError();
        if (error != ERROR_INTERNAL_ERROR)
            break;
        Sleep(kRetryDelayMs);
    }
    if (!started) {
        ADD_FAILURE() << "cannot start " << WideToUtf8(options_.launcher) << ": error " << error;
        return;
    }
    startTick_ = GetTickCount64();
    CloseHandle(info.hThread);
    process_.Attach(info.hProcess);
    processId_ = info.dwProcessId;

    output_.reader =
        std::thread(ReadPipe, output_.read.Get(), std::ref(output_.bytes), std::cref(stopReading_));
    error_.reader = std::thread(ReadPipe, error_.read.Get(), std::ref(error_.bytes), std::cref(stopReading_));
}

LauncherProcess::~LauncherProcess() {
    Kill();
}

void LauncherProcess::Kill() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 5000);
    }
    stopReading_ = true;
    if (output_.reader.joinable())
        output_.reader.join();
    if (error_.reader.joinable())
        error_.reader.join();
}

RunResult LauncherProcess::Wait() {
    RunResult result;
    if (!process_)
        return result;
    result.started = true;
    const ULONGLONG elapsed = GetTickCount64() - startTick_;
    const DWORD remaining =
        elapsed >= options_.timeLimitMs ? 0 : static_cast<DWORD>(options_.timeLimitMs - elapsed);
    if (WaitForSingleObject(process_.Get(), remaining) != WAIT_OBJECT_0) {
        result.timedOut = true;
        ADD_FAILURE() << WideToUtf8(options_.launcher) << " did not end within " << options_.timeLimitMs
                      << " ms and was killed";
    }
    Kill();
    GetExitCodeProcess(process_.Get(), &result.exitCode);
    result.rawOutput = output_.bytes;
    result.output = Utf8ToWide(output_.bytes);
    result.errorOutput = Utf8ToWide(error_.bytes);
    return result;
}

RunResult RunLauncherWithText(const std::wstring& argumentText, const LaunchOptions& options) {
    LauncherProcess process(argumentText, options);
    return process.Wait();
}

RunResult RunLauncher(const std::vector<std::wstring>& arguments, const LaunchOptions& options) {
    return RunLauncherWithText(JoinArguments(arguments), options);
}

ScratchFolder::ScratchFolder() {
    static LONG counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, length);
    while (!base.empty() && (base.back() == L'\\' || base.back() == L'/'))
        base.pop_back();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = base + L"\\e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(InterlockedIncrement(&counter));
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    ADD_FAILURE() << "cannot create a scratch folder under " << WideToUtf8(base);
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty())
        ICBSFileUtilities::DeleteTree(path_);
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    // Shared for writing and deleting too: the launcher may still hold the log open.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::optional<std::wstring> ReadUtf16LeFile(const std::wstring& path) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes || bytes->size() % 2 != 0)
        return std::nullopt;
    std::wstring text;
    text.reserve(bytes->size() / 2);
    for (size_t i = 0; i < bytes->size(); i += 2) {
        const auto low = static_cast<unsigned char>((*bytes)[i]);
        const auto high = static_cast<unsigned char>((*bytes)[i + 1]);
        text += static_cast<wchar_t>(low | (high << 8));
    }
    return text;
}

bool StartsWithByteOrderMark(const std::wstring& path) {
    const auto bytes = ReadFileBytes(path);
    return bytes && bytes->size() >= 2 && static_cast<unsigned char>((*bytes)[0]) == 0xFF &&
           static_cast<unsigned char>((*bytes)[1]) == 0xFE;
}

std::vector<std::wstring> LogLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(L"\r\n", start);
        const size_t next = end == std::wstring::npos ? text.size() : end + 2;
        lines.push_back(text.substr(start, next - start));
        start = next;
    }
    return lines;
}

namespace {
const wchar_t kTimePattern[] = L"\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}";
}

bool IsStartLine(const std::wstring& line) {
    static const std::wregex pattern(std::wstring(L"=== SetupLauncher started: ") + kTimePattern +
                                     L" Build type: SHIP ANSI (\\d+\\.\\d+\\.\\d+\\.\\d+)?\r\n");
    return std::regex_match(line, pattern);
}

bool IsStopLine(const std::wstring& line) {
    static const std::wregex pattern(std::wstring(L"=== SetupLauncher stopped: ") + kTimePattern + L"\r\n");
    return std::regex_match(line, pattern);
}

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length > 0 ? length : 0, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string narrow(length > 0 ? length : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                            nullptr, nullptr);
    return narrow;
}

} // namespace e2e
