// The run's log kept in memory for the Windows tests; the wizard's or the engine's threads may write it at
// once.
#pragma once

#include "launcher/LogSink.h"

#include <mutex>
#include <string>
#include <vector>

class MemoryLog : public LogSinkIF {
public:
    void WriteLine(int, const std::wstring& line) override {
        std::lock_guard lock(mutex_);
        lines_.push_back(line);
    }
    std::vector<std::wstring> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::wstring> lines_;
};
