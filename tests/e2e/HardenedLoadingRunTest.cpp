// A launcher started from a folder that also holds DLLs named like the system's: the ones it uses come
// from the system folder all the same. Wine prefers its own built-in DLLs anyway, so the runs ask it to
// prefer DLLs found on disk, as Windows does; a program that imports the library the ordinary way shows
// that the planted DLL is then found and loaded.
#include "LauncherCopy.h"
#include "LauncherRun.h"
#include "support/FileUtilities_win.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// Wine's own user32 imports version.dll, so a planted version.dll says nothing about the launcher.
constexpr const wchar_t* kPlantedNames[] = {L"msi.dll", L"cabinet.dll"};

std::wstring FromTestFolder(const std::wstring& name) {
    return TestProgramFolder() + L"\\" + name;
}

} // namespace

TEST(HardenedLoadingRun, DllsPlantedBesideTheLauncherAreNeverLoaded) {
    ScratchFolder downloads;
    for (const wchar_t* name : kPlantedNames)
        ASSERT_TRUE(
            CopyFileW(FromTestFolder(L"PlantedDll.dll").c_str(), downloads.File(name).c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(FromTestFolder(TestProducts::kTwoPackagesLauncher).c_str(),
                          downloads.File(L"planted-setup.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(FromTestFolder(L"InstalledProducts.exe").c_str(),
                          downloads.File(L"planted-ordinary.exe").c_str(), FALSE));
    WineProgramSettings ordinarySettings(L"planted-ordinary.exe");
    WineProgramSettings launcherSettings(L"planted-setup.exe");
    for (WineProgramSettings* settings : {&ordinarySettings, &launcherSettings})
        for (const wchar_t* name : {L"msi", L"cabinet"})
            settings->PreferLibraryOnDisk(name);

    // The control: the ordinary import of msi.dll takes the planted one.
    LaunchOptions ordinary;
    ordinary.launcher = downloads.File(L"planted-ordinary.exe");
    ASSERT_TRUE(RunLauncher({}, ordinary).started);
    ASSERT_TRUE(ICBSFileUtilities::Exists(downloads.File(L"msi.dll.loaded")));
    ASSERT_TRUE(DeleteFileW(downloads.File(L"msi.dll.loaded").c_str()));

    // The launcher reads its packages with both libraries and unpacks them elsewhere.
    ScratchFolder output;
    LaunchOptions launcher;
    launcher.launcher = downloads.File(L"planted-setup.exe");
    launcher.workingFolder = output.Path();
    const RunResult run = RunLauncher({L"/u"}, launcher);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(ICBSFileUtilities::Exists(output.File(L"HalvoraServer101.msi")));
    EXPECT_TRUE(ICBSFileUtilities::Exists(output.File(L"Kestrum317.msi")));
    for (const wchar_t* name : kPlantedNames)
        EXPECT_FALSE(ICBSFileUtilities::Exists(downloads.File(std::wstring(name) + L".loaded")))
            << WideToUtf8(name);
}
