#include "support/Download_win.h"

#include "support/DownloadRules.h"
#include "support/ICBSString.h"

#include <curl/curl.h>

#include <cstdio>
#include <ctime>
#include <mutex>
#include <optional>

namespace {

constexpr size_t kFileBufferBytes = 1 << 20;
constexpr long kReceiveBufferBytes = 512 * 1024;

// The transfer's own record, which the progress function reads.
struct Transfer {
    DownloadState& state;
    const DownloadProgressReport& progress;
    int64_t startTime = 0;
};

struct EasyHandle {
    CURL* handle = curl_easy_init();
    EasyHandle() = default;
    EasyHandle(const EasyHandle&) = delete;
    EasyHandle& operator=(const EasyHandle&) = delete;
    ~EasyHandle() {
        if (handle)
            curl_easy_cleanup(handle);
    }
};

struct OpenFile {
    FILE* file = nullptr;
    OpenFile() = default;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { Close(); }
    void Close() {
        if (file)
            fclose(file);
        file = nullptr;
    }
};

void InitialiseLibraryOnce() {
    // The library's global set-up is not thread-safe; the first download does it for the process.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

int ReportProgress(void* data, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
    Transfer& transfer = *static_cast<Transfer*>(data);
    const int speed =
        DownloadRules::SpeedKiBPerSecond(received, static_cast<int64_t>(time(nullptr)) - transfer.startTime);
    if (transfer.state.cancel.load())
        return 1; // libcurl ends the transfer with its aborted-by-callback result
    const std::optional<int> percent = DownloadRules::Percent(received, total);
    if (percent && transfer.progress)
        transfer.progress(*percent, speed);
    return 0;
}

// The target, or the first numbered name beside it that opens; the file stays null when none does. The
// wide path goes to the C library as it is: a UTF-8 path would only open for ASCII names there.
std::wstring OpenTarget(const std::wstring& target, OpenFile& file) {
    file.file = _wfopen(target.c_str(), L"wb");
    if (file.file)
        return target;
    for (int number = 1; number <= DownloadRules::kLastNumberedName; ++number) {
        const std::wstring name = DownloadRules::NumberedName(target, number);
        file.file = _wfopen(name.c_str(), L"wb");
        if (file.file)
            return name;
    }
    return target;
}

struct Outcome {
    std::wstring path;
    int result = -1;
};

// None when libcurl gives no handle: then nothing is reported.
std::optional<Outcome> Perform(DownloadState& state, const std::wstring& url, const std::wstring& target,
                               const DownloadProgressReport& progress) {
    InitialiseLibraryOnce();
    EasyHandle easy;
    if (!easy.handle)
        return std::nullopt;
    OpenFile file;
    const std::wstring path = OpenTarget(target, file);
    if (!file.file)
        return Outcome{target, -1};
    // A large buffer in the C library, for the same reason as the receive buffer below.
    setvbuf(file.file, nullptr, _IOFBF, kFileBufferBytes);
    Transfer transfer{state, progress, static_cast<int64_t>(time(nullptr))};
    char errors[CURL_ERROR_SIZE] = {};
    const std::string address = ICBSString(url).ToUtf8();
    curl_easy_setopt(easy.handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(easy.handle, CURLOPT_WRITEFUNCTION, &fwrite);
    curl_easy_setopt(easy.handle, CURLOPT_WRITEDATA, file.file);
    curl_easy_setopt(easy.handle, CURLOPT_XFERINFOFUNCTION, &ReportProgress);
    curl_easy_setopt(easy.handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy.handle, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(easy.handle, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(easy.handle, CURLOPT_ERRORBUFFER, errors);
    // An error page (404, 500...) is not the file asked for: the transfer fails instead of writing it.
    curl_easy_setopt(easy.handle, CURLOPT_FAILONERROR, 1L);
    // Larger reads than the library's 16 KiB: each read is a system call, which costs most where the
    // platform's socket layer is emulated (measured by scripts/bench-download.sh).
    curl_easy_setopt(easy.handle, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    const CURLcode result = curl_easy_perform(easy.handle);
    file.Close();
    return Outcome{path, static_cast<int>(result)};
}

} // namespace

void Download(DownloadState& state, const std::wstring& url, const std::wstring& target,
              const DownloadProgressReport& progress, const DownloadCompletionReport& completion) {
    state.cancel = false;
    state.done = false;
    if (const std::optional<Outcome> outcome = Perform(state, url, target, progress))
        completion(outcome->path, outcome->result);
    state.done = true;
}

std::string DownloadLibraryVersion() {
    return curl_version();
}
