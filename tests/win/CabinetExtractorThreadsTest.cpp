#include "CabinetTestSupport.h"

#include "extraction/CabinetExtractor_win.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

using namespace CabinetTest;

namespace {

// The files of other.cab and sample.cab, in the cabinets' order.
const std::vector<std::wstring> kOtherFiles = {L"notes.txt", L"bin\\noise.bin", L"bin\\more\\zeros.bin"};
const std::vector<std::wstring> kSampleFiles = {L"readme.txt", L"empty.txt", L"docs\\guide.txt",
                                                L"docs\\deep\\data.bin"};

// Holds every extraction at its first read of the cabinet until all of them have got there, so that they
// are inside the decompressor at the same time, whatever the scheduler does.
class Rendezvous {
public:
    explicit Rendezvous(int parties) : waiting_(parties) {}
    // False when the others did not arrive in time.
    bool Arrive() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (--waiting_ == 0)
            all_.notify_all();
        return all_.wait_for(lock, std::chrono::seconds(20), [this] { return waiting_ <= 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable all_;
    int waiting_;
};

// Records what its own extraction reports, meets the others at the first read, and notes any call that
// came on another thread than the one extracting.
class MeetingReceiver : public RecordingReceiver {
public:
    explicit MeetingReceiver(Rendezvous& rendezvous) : rendezvous_(rendezvous) {}
    void ReportBytes(uint32_t bytes) override {
        if (!met_) {
            met_ = true;
            overlapped = rendezvous_.Arrive();
        }
        CheckThread();
        RecordingReceiver::ReportBytes(bytes);
    }
    void ReportPercent(int percent) override {
        CheckThread();
        RecordingReceiver::ReportPercent(percent);
    }
    void FileStarted(const std::wstring& path) override {
        CheckThread();
        RecordingReceiver::FileStarted(path);
    }

    DWORD thread = 0;
    bool overlapped = false;
    bool wrongThread = false;

private:
    void CheckThread() { wrongThread = wrongThread || GetCurrentThreadId() != thread; }

    Rendezvous& rendezvous_;
    bool met_ = false;
};

struct ThreadedRun {
    std::function<CabinetExtractor(const std::wstring& destination)> make;
    std::wstring destination;
    MeetingReceiver& receiver;
    ExtractionOutcome outcome = ExtractionOutcome::Failed;
};

// Each run extracts on a thread of its own; returns once all have ended.
void RunTogether(std::vector<ThreadedRun*> runs) {
    std::vector<std::thread> threads;
    for (ThreadedRun* run : runs) {
        threads.emplace_back([run] {
            run->receiver.thread = GetCurrentThreadId();
            run->outcome = run->make(run->destination).ExtractAll(&run->receiver);
        });
    }
    for (auto& thread : threads)
        thread.join();
}

// Every file byte for byte, and a receiver that heard of exactly these files and of its own cabinet alone.
void ExpectExtracted(const ThreadedRun& run, const std::wstring& sourceFolder,
                     const std::vector<std::wstring>& names, uint32_t cabinetSize) {
    std::vector<std::wstring> expected;
    for (const auto& name : names) {
        expected.push_back(run.destination + L"\\" + name);
        EXPECT_EQ(ReadBytes(DataFile(sourceFolder + L"\\" + name)), ReadBytes(run.destination + L"\\" + name))
            << std::string(name.begin(), name.end());
    }
    EXPECT_EQ(expected, run.receiver.files);
    ASSERT_FALSE(run.receiver.bytesReported.empty());
    EXPECT_EQ(cabinetSize, run.receiver.bytesReported.back());
    EXPECT_EQ(100, run.receiver.percents.back());
}

uint32_t FileSize(const std::wstring& path) {
    return static_cast<uint32_t>(ReadBytes(path).size());
}

} // namespace

TEST(CabinetExtractorThreads, ExtractionsSideBySideKeepTheirFilesProgressAndOutcomes) {
    const std::string resource = ReadBytes(DataFile(L"sample.res"));
    const std::wstring fullDisk = ProgramFolder() + L"\\testdata\\fulldisk";
    ULARGE_INTEGER available = {}, total = {};
    const bool haveFullDisk = GetDiskFreeSpaceExW((fullDisk + L"\\").c_str(), &available, &total, nullptr) &&
                              total.QuadPart <= 1024 * 1024;
    struct Case {
        const char* name;
        std::function<CabinetExtractor(const std::wstring& destination)> make; // beside other.cab
        bool onFullDisk;
        ExtractionOutcome outcome;
    };
    const Case cases[] = {
        {"sample from memory",
         [&](const std::wstring& to) {
             return CabinetExtractor::FromMemory(resource.data(), resource.size(), to);
         },
         false, ExtractionOutcome::Extracted},
        {"garbled",
         [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"garbled.cab"), to); },
         false, ExtractionOutcome::Failed},
        {"full disk",
         [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"sample.cab"), to); }, true,
         ExtractionOutcome::DiskFull},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.onFullDisk && !haveFullDisk)
            continue; // no small volume mounted (needs root)
        ScratchFolder scratch(L"cabinet-threads");
        std::unique_ptr<ScratchFolder> onDisk;
        if (c.onFullDisk)
            onDisk = std::make_unique<ScratchFolder>(L"threads", fullDisk);
        Rendezvous rendezvous(2);
        MeetingReceiver otherReceiver(rendezvous), secondReceiver(rendezvous);
        ThreadedRun other{
            [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"other.cab"), to); },
            scratch / L"other", otherReceiver};
        ThreadedRun second{c.make, onDisk ? onDisk->Path() + L"\\out" : scratch / L"second", secondReceiver};
        RunTogether({&other, &second});

        for (const MeetingReceiver* receiver : {&otherReceiver, &secondReceiver}) {
            EXPECT_TRUE(receiver->overlapped) << "the extractions did not run at the same time";
            EXPECT_FALSE(receiver->wrongThread);
        }
        EXPECT_EQ(ExtractionOutcome::Extracted, other.outcome);
        ExpectExtracted(other, L"other", kOtherFiles, FileSize(DataFile(L"other.cab")));
        EXPECT_EQ(c.outcome, second.outcome);
        if (c.outcome == ExtractionOutcome::Extracted) {
            ExpectExtracted(second, L"source", kSampleFiles, static_cast<uint32_t>(resource.size() - 4));
        } else {
            // What the failed one started, it started in its own folder, reading its own cabinet.
            for (const auto& file : secondReceiver.files)
                EXPECT_EQ(0u, file.find(second.destination + L"\\"));
            for (uint32_t bytes : secondReceiver.bytesReported)
                EXPECT_LE(bytes, FileSize(DataFile(L"sample.cab")));
        }
    }
}
