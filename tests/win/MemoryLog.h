// The run's log kept in memory for the Windows tests; the wizard's or the engine's threads may write it at
// once.
#pragma once

#include "launcher/LogSink.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

class MemoryLog : public LogSinkIF {
public:
    void WriteLine(int, const std::wstring& line) override {
        std::function<void(const std::wstring&)> hook;
        {
            std::lock_guard lock(mutex_);
            lines_.push_back(line);
            hook = hook_;
        }
        if (hook)
            hook(line);
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        lines_.clear();
    }
    // Called on the writer's thread after every line, e.g. to act at an exact step of a page.
    void SetHook(std::function<void(const std::wstring&)> hook) {
        std::lock_guard lock(mutex_);
        hook_ = std::move(hook);
    }
    std::vector<std::wstring> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::wstring> lines_;
    std::function<void(const std::wstring&)> hook_;
};
