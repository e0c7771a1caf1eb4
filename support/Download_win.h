// One URL into one local file over libcurl's easy interface, on the calling thread: progress reports
// with percent and speed, a cancel flag the caller sets from another thread, and one completion report.
// The caller owns the state and keeps it alive until done is set; the download owns its transfer.
#pragma once

#include "support/DownloadRules.h"

#include <atomic>
#include <functional>
#include <string>

struct DownloadState {
    std::atomic<bool> cancel{false}; // set by the caller to stop the transfer
    std::atomic<bool> done{false};   // set last, whatever the outcome
};

// percent of the announced length and KiB per second since the start; never called without a length.
using DownloadProgressReport = std::function<void(int percent, int speedKiB)>;
// The path written and libcurl's result (0 for success), or the requested path and -1 when no file
// could be opened.
using DownloadCompletionReport = std::function<void(const std::wstring& path, int result)>;

// Clears both flags, transfers, calls the completion report once and then sets done. An error page is a
// failed download, not a file. A cancelled or failed transfer leaves its partial file where it was.
void Download(DownloadState& state, const std::wstring& url, const std::wstring& target,
              const DownloadProgressReport& progress, const DownloadCompletionReport& completion);

// The linked libcurl's version and TLS backend, e.g. "libcurl/7.88.1 Schannel".
std::string DownloadLibraryVersion();
