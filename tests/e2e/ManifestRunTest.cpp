// Test launchers built from bundle descriptions, run for real: resource validation (/v), the package
// list in the log of a silent run, and package lists the launcher must refuse.
#include "LauncherRun.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace e2e;
using namespace TestProducts;

namespace {

LaunchOptions Launcher(const wchar_t* file) {
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\" + file;
    options.timeLimitMs = kDefaultTimeLimitMs; // a message box left open would run into it
    return options;
}

struct LoggedRun {
    RunResult run;
    std::wstring log;
};

LoggedRun RunWithLog(const wchar_t* launcher, std::vector<std::wstring> arguments) {
    ScratchFolder folder;
    arguments.insert(arguments.end(), {L"/L*v", folder.File(L"setup.log")});
    LoggedRun result;
    result.run = RunLauncher(arguments, Launcher(launcher));
    result.log = ReadUtf16LeFile(folder.File(L"setup.log")).value_or(L"");
    return result;
}

bool HasLine(const std::wstring& log, const std::wstring& line) {
    for (const auto& logged : LogLines(log)) {
        if (logged == line)
            return true;
    }
    return false;
}

constexpr wchar_t kValidationHeader[] =
    L"\r\nValidation if all necessary resources have been compiled into setup.\r\n";

TEST(ValidationRun, CompleteLaunchersHaveEveryResource) {
    for (const wchar_t* launcher : {kDemoLauncher, kTwoPackagesLauncher, kGermanOnlyLauncher}) {
        SCOPED_TRACE(launcher);
        const RunResult run = RunLauncher({L"/v"}, Launcher(launcher));
        ASSERT_TRUE(run.started);
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ(std::wstring(kValidationHeader) + L"All resources have been detected.\r\n", run.output);
    }
}

TEST(ValidationRun, MissingTransformIsReportedInItsLanguage) {
    const LoggedRun result = RunWithLog(kMissingTransformLauncher, {L"/v", L"/u"}); // /v wins over /u
    ASSERT_TRUE(result.run.started);
    EXPECT_FALSE(result.run.timedOut); // nothing was shown
    EXPECT_EQ(1u, result.run.exitCode);
    EXPECT_EQ(std::wstring(kValidationHeader) +
                  L"    Test for resource PACKAGE_0_2052 [2052] failed!Some resources are missing.\r\n",
              result.run.output);
    EXPECT_NE(std::wstring::npos, result.log.find(L"Validation failed!"));
    EXPECT_EQ(std::wstring::npos, result.log.find(L"VNT (c): ERROR:")); // reported already: not again
}

TEST(SetupRun, PackageListIsLogged) {
    const LoggedRun result = RunWithLog(kDemoLauncher, {L"/qn"});
    ASSERT_TRUE(result.run.started);
    EXPECT_EQ(0u, result.run.exitCode);
    const std::wstring expected =
        std::wstring(L"VNT (c): Reading package information.\r\n") +
        L"VNT (c): Installer contains 3 packages.\r\n" + L"VNT (c): Initialized state for package " +
        kHalvora101.productName + L".\r\n" + L"VNT (c): Initialized state for package " +
        kKestrum317.productName + L".\r\n" + L"VNT (c): Initialized state for package " +
        kZorvex2024.productName + L".\r\n";
    EXPECT_NE(std::wstring::npos, result.log.find(expected)) << WideToUtf8(result.log);
    EXPECT_TRUE(HasLine(result.log, L"VNT (c): All information collected. Start processing.\r\n"));
}

TEST(SetupRun, SubPackagesChosenOnTheCommandLine) {
    const LoggedRun result = RunWithLog(kDemoLauncher, {L"/qn", L"subPackages=Kestrum"});
    ASSERT_TRUE(result.run.started);
    EXPECT_EQ(0u, result.run.exitCode);
    const std::wstring kestrum = kKestrum317.productName;
    const std::wstring zorvex = kZorvex2024.productName;
    EXPECT_TRUE(HasLine(result.log, L"VNT (c): Avoid skipping of sub-package " + kestrum +
                                        L" due to pattern 'Kestrum'.\r\n"));
    EXPECT_TRUE(HasLine(result.log, L"VNT (c): set default handling of package " + kestrum +
                                        L" due to command line argument.\r\n"));
    EXPECT_TRUE(HasLine(result.log, L"VNT (c): skipped handling of package " + zorvex +
                                        L" due to command line argument.\r\n"));
    EXPECT_EQ(std::wstring::npos,
              result.log.find(L"handling of package " + std::wstring(kHalvora101.productName)));
}

TEST(SetupRun, MissingPackageCodeEndsWithCode13) {
    const LoggedRun result = RunWithLog(kMissingPackageCodeLauncher, {L"/qn"});
    ASSERT_TRUE(result.run.started);
    EXPECT_EQ(13u, result.run.exitCode);
    EXPECT_TRUE(HasLine(result.log, L"VNT (c): Package 1 has no usable package code ''.\r\n"))
        << WideToUtf8(result.log);
    EXPECT_NE(std::wstring::npos, result.log.find(L"VNT (c): ERROR: "));
    EXPECT_EQ(std::wstring::npos, result.log.find(L"Initialized state for package")); // no record was built
    EXPECT_EQ(std::wstring::npos, result.log.find(L"Start processing."));
}

TEST(SetupRun, PackageCodeOutsideTheBaseFolderDeletesNothing) {
    PWSTR common = nullptr;
    ASSERT_EQ(S_OK, SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &common));
    const std::wstring base = std::wstring(common) + L"\\Quenlis";
    CoTaskMemFree(common);
    CreateDirectoryW(base.c_str(), nullptr);
    const std::wstring sentinel = base + L"\\sentinel.txt";
    ASSERT_TRUE(WriteFileBytes(sentinel, "keep"));

    // Quiet and not: a failed run of a product that is not installed prunes package folders at exit.
    const LoggedRun result = RunWithLog(kUnsafePackageCodeLauncher, {L"/qn"});
    ASSERT_TRUE(result.run.started);
    EXPECT_EQ(13u, result.run.exitCode);
    EXPECT_TRUE(HasLine(result.log, L"VNT (c): Package 1 has no usable package code '..\\..'.\r\n"));
    EXPECT_EQ(std::wstring::npos, result.log.find(L"Deleting MSI folder"));
    EXPECT_TRUE(ReadFileBytes(sentinel).has_value());
    DeleteFileW(sentinel.c_str());
}

} // namespace
