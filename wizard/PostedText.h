// The newest text a worker has for a page's status line, handed over between threads: the worker posts
// it (and then tells the page's window), the page takes it on its own thread. Older texts not yet taken are
// dropped, so a worker never waits for the user interface.
#pragma once

#include <mutex>
#include <optional>
#include <string>

class PostedText {
public:
    void Post(const std::wstring& text) {
        std::lock_guard lock(mutex_);
        pending_ = text;
    }
    // The text posted since the last call, if any.
    std::optional<std::wstring> Take() {
        std::lock_guard lock(mutex_);
        std::optional<std::wstring> text;
        text.swap(pending_);
        return text;
    }

private:
    std::mutex mutex_;
    std::optional<std::wstring> pending_;
};
