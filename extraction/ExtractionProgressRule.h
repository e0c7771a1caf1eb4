// When the unpack page's progress bar moves: the bytes read of all cabinets of a run, in whole thirtieths,
// posted at most every 500 ms except the final position. Pure arithmetic on the bytes and a clock the
// caller passes in, so that the Windows handler only posts what this decides.
#pragma once

#include <cstdint>
#include <optional>

class ExtractionProgressRule {
public:
    static constexpr int kRange = 30;
    static constexpr uint32_t kMinimumPostIntervalMs = 500;

    // The byte count of all cabinets of the run, and of those finished before the current one.
    void SetTotalBytes(uint64_t total) { total_ = total; }
    void SetBytesDoneBefore(uint64_t done) { doneBefore_ = done; }
    uint64_t TotalBytes() const { return total_; }

    // The bar position for bytesRead of the current cabinet: whole thirtieths of the total, never past
    // the range; 0 while the total is 0.
    int PositionFor(uint64_t bytesRead) const;

    // The position to post now (nowMs: a millisecond tick count that may wrap), or nothing. A position is
    // posted when it differs from the last one posted and more than 500 ms have passed since that post;
    // the final position is posted every time.
    std::optional<int> NextPost(uint64_t bytesRead, uint32_t nowMs);

private:
    uint64_t total_ = 0;
    uint64_t doneBefore_ = 0;
    int lastPosition_ = 0;
    uint32_t lastPostMs_ = 0;
    bool posted_ = false;
};
