// Downloads over the real libcurl from a server of the test's own on the loopback interface: a reply with
// a length, one without, a cancel during a slow transfer, a target another handle holds, an error page and
// a connection closed mid-body.
#include "LoopbackHttpServer.h"

#include "CabinetTestSupport.h"
#include "support/ByteFile.h"
#include "support/Download_win.h"
#include "support/Handle_win.h"
#include "support/ICBSString.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace {

constexpr int kPartialFile = 18; // libcurl's result for a body shorter than its length

struct Transfer {
    std::vector<int> percents;
    int completions = 0;
    std::wstring path;
    int result = -100;
};

Transfer DownloadInto(DownloadState& state, const std::wstring& url, const std::wstring& target,
                      const std::function<void(int)>& onProgress = {}) {
    Transfer run;
    Download(
        state, url, target,
        [&](int percent, int) {
            run.percents.push_back(percent);
            if (onProgress)
                onProgress(percent);
        },
        [&](const std::wstring& path, int result) {
            ++run.completions;
            run.path = path;
            run.result = result;
        });
    return run;
}

class DownloadTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.Ready()); }
    std::wstring Target(const std::wstring& name) const { return folder_.Path() + L"\\" + name; }
    std::string Read(const std::wstring& path) const { return ByteFile::ReadAll(path).value_or("<missing>"); }

    LoopbackHttpServer server_;
    CabinetTest::ScratchFolder folder_{L"downloads"};
    DownloadState state_;
};

} // namespace

TEST_F(DownloadTest, AReplyWithALengthReportsItsProgressAndWritesTheFile) {
    const Transfer run = DownloadInto(state_, server_.Url(L"/file"), Target(L"setup.cab"));
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(1, run.completions);
    EXPECT_EQ(Target(L"setup.cab"), run.path);
    EXPECT_TRUE(state_.done);
    ASSERT_FALSE(run.percents.empty());
    EXPECT_TRUE(std::is_sorted(run.percents.begin(), run.percents.end()));
    EXPECT_EQ(100, run.percents.back());
    EXPECT_TRUE(Read(run.path) == server_.Body()) << "the file differs from the body sent";
}

TEST_F(DownloadTest, AChunkedReplyWithoutALengthIsWrittenWithoutProgress) {
    const Transfer run = DownloadInto(state_, server_.Url(L"/chunked"), Target(L"chunked.bin"));
    EXPECT_EQ(0, run.result);
    EXPECT_TRUE(run.percents.empty());
    EXPECT_TRUE(Read(run.path) == server_.Body());
}

TEST_F(DownloadTest, CancelStopsTheTransferAndLeavesThePartialFile) {
    const Transfer run = DownloadInto(state_, server_.Url(L"/slow"), Target(L"slow.bin"), [&](int) {
        if (server_.SlowBytesSent() > 100000)
            state_.cancel = true; // as the user-interface thread would, between two reports
    });
    EXPECT_EQ(DownloadRules::kAbortedByCallback, run.result);
    EXPECT_EQ(1, run.completions);
    EXPECT_TRUE(state_.done);
    const std::string partial = Read(run.path);
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), server_.Body().size());
}

TEST_F(DownloadTest, ATargetHeldByAnotherHandleGetsTheFirstNumberedName) {
    const std::wstring target = Target(L"setup.cab");
    FileHandle held(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(held);
    const Transfer run = DownloadInto(state_, server_.Url(L"/file"), target);
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(Target(L"setup(1).cab"), run.path);
    EXPECT_TRUE(Read(run.path) == server_.Body());
}

// An error page or a body cut short is a failed download, whatever was written.
TEST_F(DownloadTest, AnErrorStatusOrAConnectionClosedMidBodyFails) {
    const Transfer missing = DownloadInto(state_, server_.Url(L"/missing"), Target(L"missing.cab"));
    EXPECT_EQ(DownloadRules::kHttpError, missing.result);
    EXPECT_EQ(1, missing.completions);
    EXPECT_EQ(std::string::npos, Read(missing.path).find("Not Found")) << "the error page became the file";
    const Transfer cut = DownloadInto(state_, server_.Url(L"/cut"), Target(L"cut.cab"));
    EXPECT_EQ(kPartialFile, cut.result);
}

TEST(DownloadLibrary, TheLauncherLinksLibcurlWithTheWindowsTlsBackend) {
    const std::string version = DownloadLibraryVersion();
    EXPECT_EQ(0u, version.rfind("libcurl/7.", 0)) << version;
    EXPECT_NE(std::string::npos, version.find("Schannel")) << version;
}

// Benchmark, not a test (scripts/bench-download.sh): the file at BENCH_DOWNLOAD_URL into a scratch folder.
TEST(DownloadSpeed, DISABLED_TheBenchServersFile) {
    const char* url = getenv("BENCH_DOWNLOAD_URL");
    if (!url)
        GTEST_SKIP() << "BENCH_DOWNLOAD_URL is not set";
    CabinetTest::ScratchFolder folder(L"download-bench");
    DownloadState state;
    int result = -100;
    const ULONGLONG start = GetTickCount64();
    Download(state, ICBSString::FromUtf8(url), folder / L"bench.bin", {},
             [&](const std::wstring&, int outcome) { result = outcome; });
    const double seconds = static_cast<double>(GetTickCount64() - start) / 1000.0;
    const uint64_t bytes = ByteFile::ReadAll(folder / L"bench.bin").value_or("").size();
    ASSERT_EQ(0, result);
    printf("== launcher download: %llu bytes in %.2f s, %.1f MB/s\n", static_cast<unsigned long long>(bytes),
           seconds, static_cast<double>(bytes) / 1048576.0 / seconds);
}
