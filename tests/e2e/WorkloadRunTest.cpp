// A launcher without a package manifest takes its packages from workload=: each bad workload ends the
// run with code 13 and its own log line; a good one builds the package list.
#include "LauncherRun.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

namespace {

constexpr DWORD kPackageInfoMissing = 13;

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

class WorkloadRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileBytes(folder_.File(L"main.cab"), "MSCF"));
        ASSERT_TRUE(WriteFileBytes(folder_.File(L"companion.cab"), "MSCF"));
    }

    // A package object; the data path is written verbatim (the workload's strings have no escapes).
    std::string Package(const std::string& name, const std::string& code, const std::wstring& data,
                        const std::string& version = "\"1.0\"") const {
        return "{\"productName\":\"" + name + "\",\"productCode\":\"\",\"packageCode\":\"" + code +
               "\",\"productId\":\"HV::Z\",\"productPlatform\":\"x64\",\"productVersion\":" + version +
               ",\"packageData\":\"" + Narrow(data) + "\"}";
    }

    // Runs a quiet launcher with a verbose log on the workload file; the log's lines.
    std::vector<std::wstring> Run(const std::wstring& workload, DWORD& exitCode) {
        const std::wstring log = folder_.File(L"setup.log");
        DeleteFileW(log.c_str());
        const RunResult run = RunLauncher({L"/qn", L"/L*v", log, L"workload=" + workload});
        exitCode = run.exitCode;
        const auto text = ReadUtf16LeFile(log);
        return text ? LogLines(*text) : std::vector<std::wstring>{};
    }

    ScratchFolder folder_;
};

bool Has(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST_F(WorkloadRun, EachBadWorkloadEndsWithCodeThirteenAndItsLine) {
    // A space and a placeholder in the path: the lines must carry it as written.
    const std::wstring path = folder_.File(L"work load %d.json");
    const std::wstring mainCab = folder_.File(L"main.cab");
    struct Case {
        const char* name;
        std::string content; // empty: no file at all
        std::wstring line;
        size_t initialized; // "Initialized state" lines before the failure
    };
    const Case cases[] = {
        {"no file", "", L"Workload file '" + path + L"' does not exist.\r\n", 0},
        {"root is an array", "[]", L"Workload is not a proper JSON package array object.\r\n", 0},
        {"packages is an object", "{\"packages\":{}}",
         L"Workload '" + path + L"' is not a proper JSON package array object.\r\n", 0},
        {"packages empty", "{\"packages\":[]}", L"Workload '" + path + L"' doesn't contain any pakages.\r\n",
         0},
        {"version is a number",
         "{\"packages\":[" + Package("First", "{E2E-A}", mainCab) + "," +
             Package("Second", "{E2E-B}", mainCab, "3.17") + "]}",
         L"Workload is not a proper JSON package array object.\r\n", 1},
        {"package code climbs out", "{\"packages\":[" + Package("First", "..", mainCab) + "]}",
         L"VNT (c): Package 0 has no usable package code '..'.\r\n", 0},
    };
    for (const auto& c : cases) {
        DeleteFileW(path.c_str());
        if (!c.content.empty())
            ASSERT_TRUE(WriteFileBytes(path, c.content));
        DWORD exitCode = 0;
        const auto lines = Run(path, exitCode);
        EXPECT_EQ(kPackageInfoMissing, exitCode) << c.name;
        EXPECT_TRUE(Has(lines, c.line)) << c.name;
        EXPECT_EQ(c.initialized, static_cast<size_t>(std::count_if(
                                     lines.begin(), lines.end(),
                                     [](const auto& l) {
                                         return l.starts_with(L"VNT (c): Initialized state for package ");
                                     })))
            << c.name;
        EXPECT_FALSE(Has(lines, L"VNT (c): All information collected. Start processing.\r\n")) << c.name;
    }
}

TEST_F(WorkloadRun, MissingPackageDataFailsAfterListingEveryPackage) {
    const std::wstring path = folder_.File(L"workload.json");
    ASSERT_TRUE(
        WriteFileBytes(path, "{\"packages\":[" + Package("First", "{E2E-A}", folder_.File(L"none.cab")) +
                                 "," + Package("Second", "{E2E-B}", folder_.File(L"companion.cab")) + "]}"));
    DWORD exitCode = 0;
    const auto lines = Run(path, exitCode);
    EXPECT_EQ(kPackageInfoMissing, exitCode);
    EXPECT_TRUE(Has(lines, L"VNT (c): Initialized state for package First.\r\n"));
    EXPECT_TRUE(Has(lines, L"VNT (c): Initialized state for package Second.\r\n"));
}

TEST_F(WorkloadRun, GoodWorkloadBuildsThePackageList) {
    // The run unpacks and installs its packages: they are the test products' own cabinets.
    const std::wstring products = TestProgramFolder() + L"\\products\\";
    ASSERT_TRUE(
        CopyFileW((products + L"HalvoraServer101.cab").c_str(), folder_.File(L"main.cab").c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileW((products + L"Kestrum317.cab").c_str(), folder_.File(L"companion.cab").c_str(), FALSE));
    const std::wstring path = folder_.File(L"workload.json");
    ASSERT_TRUE(WriteFileBytes(
        path, "{\"packages\":[\r\n" +
                  Package("Quenlis Halvora Server", "{E2E-A}", folder_.File(L"main.cab")) + ",\r\n" +
                  Package("Quenlis Kestrum", "{E2E-B}", folder_.File(L"companion.cab")) + ",\r\n]}\r\n"));
    DWORD exitCode = 1;
    const auto lines = Run(path, exitCode);
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(Has(lines, L"VNT (c): Initialized state for package Quenlis Halvora Server.\r\n"));
    EXPECT_TRUE(Has(lines, L"VNT (c): Initialized state for package Quenlis Kestrum.\r\n"));
    EXPECT_TRUE(Has(lines, L"VNT (c): All information collected. Start processing.\r\n"));
}
