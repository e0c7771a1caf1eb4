// DestinationWriter: creates and writes the destination files of one extraction on a thread of its own, so
// that the decompressor works on the next block while the disk takes the last one. Jobs run in the order
// they were queued (create, writes, creation time, close of each file); the queue holds at most a few
// megabytes, so a slow disk slows the decompressor down instead of filling memory. After the first failure
// every later job is skipped; the failure stays readable until the writer ends. Owned by the extraction.
#pragma once

#include "support/Handle_win.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DestinationWriter {
public:
    // One destination file. Its handle belongs to the writer's thread, the bytes not yet queued to the
    // extracting thread.
    struct File {
        std::wstring path;
        FileHandle handle;
        std::vector<unsigned char> pending;
    };

    DestinationWriter();
    // Runs what is queued, then ends the thread.
    ~DestinationWriter();
    DestinationWriter(const DestinationWriter&) = delete;
    DestinationWriter& operator=(const DestinationWriter&) = delete;

    // Queues the creation (anew, with missing parent folders) of a file.
    std::shared_ptr<File> Create(const std::wstring& path);
    // Queues a write of a copy of the bytes (gathered into larger writes).
    void Write(const std::shared_ptr<File>& file, const void* bytes, uint32_t count);
    void SetCreationTime(const std::shared_ptr<File>& file, const FILETIME& time);
    void Close(const std::shared_ptr<File>& file);
    // Returns once every queued job has run.
    void Drain();

    // A creation or write failed (so far).
    bool Failed() const { return failed_; }
    // One of them failed because the disk is full.
    bool DiskFull() const { return diskFull_; }

private:
    struct Job {
        std::function<void()> run;
        size_t bytes = 0;
    };
    void Queue(std::function<void()> run, size_t bytes = 0);
    void QueuePending(const std::shared_ptr<File>& file);
    void Run();
    void Fail(DWORD error);
    bool CreateNow(File& file);
    void WriteNow(File& file, const std::vector<unsigned char>& bytes);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    size_t queuedBytes_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    std::atomic<bool> failed_{false};
    std::atomic<bool> diskFull_{false};
    std::thread thread_;
};
