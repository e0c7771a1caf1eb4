// The arithmetic of an HTTP download that needs no network: the numbered names tried when the target
// cannot be opened, and the percent and speed its progress reports carry. Plain values, nothing kept.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace DownloadRules {

// libcurl's results that callers tell apart: the transfer stopped through the cancel flag, and the server
// answering with an HTTP error status (400 or above).
inline constexpr int kAbortedByCallback = 42;
inline constexpr int kHttpError = 22;

// "name(1).ext" to "name(99).ext" are tried after the target itself.
inline constexpr int kLastNumberedName = 99;

// The target with "(n)" before its extension, in the same folder: C:\d\setup.cab gives C:\d\setup(1).cab.
// A name without an extension gets the number at its end (setup(1)), never a trailing dot.
std::wstring NumberedName(const std::wstring& target, int number);

// KiB per second since the start, cut to an integer: 0 before a whole second has passed or while nothing
// has arrived.
int SpeedKiBPerSecond(int64_t received, int64_t elapsedSeconds);

// Percent of the expected total, cut to an integer; none while the total is not known (a reply without a
// length never reports).
std::optional<int> Percent(int64_t received, int64_t total);

} // namespace DownloadRules
