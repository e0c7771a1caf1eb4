// The extract-all mode (/u) of real test launchers: every package's files in the current folder, one
// console line per file, failures that let the loop go on, and the taxonomy stop.
#include "LauncherRun.h"
#include "support/FileUtilities_win.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;
using namespace TestProducts;

namespace {

constexpr wchar_t kExtractFoldersLauncher[] = L"TestExtractFolders.exe"; // Halvora with sub-folders, Kestrum
constexpr wchar_t kTaxonomyLauncher[] = L"TestTaxonomy.exe";             // one taxonomy package
constexpr wchar_t kTaxonomyAfterMsiLauncher[] = L"TestTaxonomyAfterMsi.exe"; // Kestrum, then taxonomy

LaunchOptions In(const std::wstring& folder, const wchar_t* launcher) {
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\" + launcher;
    options.workingFolder = folder;
    options.timeLimitMs = 30'000; // a message box left open would run into it
    return options;
}

std::string ProductBytes(const Product& product) {
    return ReadFileBytes(TestProgramFolder() + L"\\" + kProductsFolder + L"\\" + product.stem + L".msi")
        .value_or("<no product>");
}

std::string SourceBytes(const std::wstring& name) {
    return ReadFileBytes(TestProgramFolder() + L"\\testdata\\cabinets\\source\\" + name)
        .value_or("<no source>");
}

std::wstring Line(const std::wstring& folder, const std::wstring& name) {
    return L"extracting " + folder + L"\\" + name + L"...\r\n";
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines = LogLines(text);
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

TEST(ExtractAllRun, TwoPackagesComeOutIntoTheCurrentFolderWithOneLinePerFile) {
    ScratchFolder folder;
    const RunResult run = RunLauncher({L"/u"}, In(folder.Path(), kTwoPackagesLauncher));
    ASSERT_TRUE(run.started);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(Line(folder.Path(), L"HalvoraServer101.msi") + Line(folder.Path(), L"Kestrum317.msi"),
              run.output);
    EXPECT_EQ(ProductBytes(kHalvora101), ReadFileBytes(folder.File(L"HalvoraServer101.msi")));
    EXPECT_EQ(ProductBytes(kKestrum317), ReadFileBytes(folder.File(L"Kestrum317.msi")));
}

TEST(ExtractAllRun, SubFoldersOfACabinetAreCreated) {
    ScratchFolder folder;
    const RunResult run = RunLauncher({L"/u"}, In(folder.Path(), kExtractFoldersLauncher));
    ASSERT_TRUE(run.started);
    EXPECT_EQ(0u, run.exitCode);
    std::vector<std::wstring> expected;
    for (const wchar_t* name : {L"HalvoraServer101.msi", L"readme.txt", L"docs\\guide.txt",
                                L"docs\\deep\\data.bin", L"Kestrum317.msi"})
        expected.push_back(Line(folder.Path(), name));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, Lines(run.output));
    for (const wchar_t* name : {L"readme.txt", L"docs\\guide.txt", L"docs\\deep\\data.bin"})
        EXPECT_EQ(SourceBytes(name), ReadFileBytes(folder.File(name))) << WideToUtf8(name);
}

TEST(ExtractAllRun, AFailedCabinetRecordsItsCodeAndTheNextPackageStillComesOut) {
    ScratchFolder folder;
    // A folder where the main package's database should go: that cabinet cannot be extracted.
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"HalvoraServer101.msi").c_str(), nullptr));
    const RunResult run = RunLauncher({L"/u", L"/qn"}, In(folder.Path(), kExtractFoldersLauncher));
    ASSERT_TRUE(run.started);
    EXPECT_EQ(2u, run.exitCode); // {2, 1620}: installation failed
    EXPECT_EQ(ProductBytes(kKestrum317), ReadFileBytes(folder.File(L"Kestrum317.msi")));
}

TEST(ExtractAllRun, AFullDiskGivesCodeEleven) {
    // The 128 KB tmpfs of the test fixture (tools/testdata/full_disk.sh); the main cabinet holds 400 KB.
    const std::wstring volume = TestProgramFolder() + L"\\testdata\\fulldisk";
    ULARGE_INTEGER available = {}, total = {};
    if (!GetDiskFreeSpaceExW((volume + L"\\").c_str(), &available, &total, nullptr) ||
        total.QuadPart > 1024 * 1024)
        GTEST_SKIP() << "no small volume mounted at testdata\\fulldisk (needs root)";
    const std::wstring folder = volume + L"\\extract-all";
    ICBSFileUtilities::DeleteTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const RunResult run = RunLauncher({L"/u", L"/qn"}, In(folder, kExtractFoldersLauncher));
    EXPECT_EQ(11u, run.exitCode);
    ICBSFileUtilities::DeleteTree(folder);
}

TEST(ExtractAllRun, TaxonomyDataFileIsWrittenAsItIs) {
    ScratchFolder folder;
    const RunResult run = RunLauncher({L"/u"}, In(folder.Path(), kTaxonomyLauncher));
    ASSERT_TRUE(run.started);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(L"", run.output);
    EXPECT_EQ(SourceBytes(L"readme.txt"), ReadFileBytes(folder.File(L"PACKAGE_0")));
}

TEST(ExtractAllRun, TaxonomyTargetThatCannotBeCreatedStopsAtOnceWithoutReport) {
    ScratchFolder folder;
    // The ordinary package fails first ({2, 1620} recorded), then the taxonomy target cannot be created.
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"Kestrum317.msi").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"PACKAGE_1").c_str(), nullptr));
    ScratchFolder logFolder;
    // Not quiet: a reported result would show a message box and run into the time limit.
    const RunResult run = RunLauncher({L"/u", L"/L*v", logFolder.File(L"setup.log")},
                                      In(folder.Path(), kTaxonomyAfterMsiLauncher));
    ASSERT_TRUE(run.started);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(2u, run.exitCode); // the code recorded so far
    const std::wstring log = ReadUtf16LeFile(logFolder.File(L"setup.log")).value_or(L"");
    EXPECT_EQ(std::wstring::npos, log.find(L"VNT (c): ERROR:")) << WideToUtf8(log);
    EXPECT_NE(std::wstring::npos, log.find(L"=== SetupLauncher stopped: ")); // ended through ExitInstance
}
