#include "extraction/DestinationWriter_win.h"

#include "support/FilePath.h"

namespace {

// Enough to keep the disk busy while the decompressor fills the next blocks (32 KB each).
constexpr size_t kMaxQueuedBytes = 4 * 1024 * 1024;
// The decompressor's blocks are gathered into writes of this size: fewer, larger writes are what makes
// the disk work under Wine cheap.
constexpr size_t kGatheredWriteBytes = 1024 * 1024;

bool IsDiskFullError(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

// The plain attribute query: it runs for every file written, where the file utilities' fuller answer (which
// also sees files that cannot be opened) would cost a directory search each time.
bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder and every missing parent; the error of the failed creation otherwise.
DWORD CreateFolderTree(const std::wstring& folder) {
    if (folder.empty() || IsFolder(folder))
        return ERROR_SUCCESS;
    const size_t separator = LastPathSeparator(folder);
    if (separator != std::wstring::npos && separator > 0 && folder[separator - 1] != L':') {
        if (const DWORD error = CreateFolderTree(FolderPart(folder)))
            return error;
    }
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return ERROR_SUCCESS;
    return GetLastError();
}

} // namespace

DestinationWriter::DestinationWriter() : thread_([this] { Run(); }) {}

DestinationWriter::~DestinationWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::shared_ptr<DestinationWriter::File> DestinationWriter::Create(const std::wstring& path) {
    auto file = std::make_shared<File>();
    file->path = path;
    Queue([this, file] { CreateNow(*file); });
    return file;
}

void DestinationWriter::Write(const std::shared_ptr<File>& file, const void* bytes, uint32_t count) {
    const auto* first = static_cast<const unsigned char*>(bytes);
    file->pending.insert(file->pending.end(), first, first + count);
    if (file->pending.size() >= kGatheredWriteBytes)
        QueuePending(file);
}

void DestinationWriter::SetCreationTime(const std::shared_ptr<File>& file, const FILETIME& time) {
    QueuePending(file);
    // A time that cannot be set is no failure of the extraction.
    Queue([file, time] { SetFileTime(file->handle.Get(), &time, nullptr, nullptr); });
}

void DestinationWriter::Close(const std::shared_ptr<File>& file) {
    QueuePending(file);
    Queue([file] { file->handle.Close(); });
}

void DestinationWriter::QueuePending(const std::shared_ptr<File>& file) {
    if (file->pending.empty())
        return;
    auto bytes = std::make_shared<std::vector<unsigned char>>(std::move(file->pending));
    file->pending = {};
    const size_t count = bytes->size();
    Queue([this, file, bytes] { WriteNow(*file, *bytes); }, count);
}

void DestinationWriter::Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void DestinationWriter::Queue(std::function<void()> run, size_t bytes) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return queuedBytes_ < kMaxQueuedBytes; });
        jobs_.push_back({std::move(run), bytes});
        queuedBytes_ += bytes;
    }
    changed_.notify_all();
}

void DestinationWriter::Run() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            busy_ = false;
            changed_.notify_all();
            changed_.wait(lock, [this] { return !jobs_.empty() || stopping_; });
            if (jobs_.empty())
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            queuedBytes_ -= job.bytes;
            busy_ = true;
        }
        changed_.notify_all();
        job.run();
    }
}

void DestinationWriter::Fail(DWORD error) {
    if (IsDiskFullError(error))
        diskFull_ = true;
    failed_ = true;
}

bool DestinationWriter::CreateNow(File& file) {
    if (failed_)
        return false;
    if (LastPathSeparator(file.path) != std::wstring::npos) {
        if (const DWORD error = CreateFolderTree(FolderPart(file.path))) {
            Fail(error);
            return false;
        }
    }
    file.handle.Attach(CreateFileW(file.path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.handle) {
        Fail(GetLastError());
        return false;
    }
    return true;
}

void DestinationWriter::WriteNow(File& file, const std::vector<unsigned char>& bytes) {
    if (failed_ || !file.handle)
        return;
    // A write that fits only in part is repeated for the rest, which then fails with the real reason
    // (a full disk).
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file.handle.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &written, nullptr)) {
            Fail(GetLastError());
            return;
        }
        if (written == 0) {
            Fail(ERROR_WRITE_FAULT);
            return;
        }
        done += written;
    }
}
