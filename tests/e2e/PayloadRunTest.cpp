// A launcher whose package bytes were changed after it was built (one byte patched in the .exe, as a
// damaged download would have it): /v names the damaged resource and fails, and an installation refuses
// the package before writing any of it.
#include "LauncherRun.h"
#include "RunLeftovers.h"
#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"
#include "tests/products/InstalledTestProduct.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace TestProducts;

namespace {

constexpr wchar_t kDamagedLine[] = L"SHA-256 check of resource PACKAGE_0 failed!\r\n";

// A copy of the two-package launcher with one byte in the middle of its main package's cabinet turned
// over. The bytes are found by the resource's own content, read from the copy as data.
bool MakeDamagedCopy(const std::wstring& target) {
    const std::wstring source = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
    std::string bytes = ReadFileBytes(source).value_or("");
    ModuleHandle module(LoadLibraryExW(source.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC found = module ? FindResourceW(module.Get(), L"PACKAGE_0", MAKEINTRESOURCEW(40)) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module.Get(), found) : nullptr;
    if (!loaded || bytes.empty())
        return false;
    const std::string resource(static_cast<const char*>(LockResource(loaded)),
                               SizeofResource(module.Get(), found));
    const std::string window = resource.substr(resource.size() / 2, 64);
    const size_t at = bytes.find(window);
    if (at == std::string::npos || bytes.find(window, at + 1) != std::string::npos)
        return false;
    bytes[at + 32] = static_cast<char>(~bytes[at + 32]);
    return WriteFileBytes(target, bytes);
}

} // namespace

TEST(PayloadRun, ValidationNamesTheDamagedPackageAndFails) {
    ScratchFolder folder;
    ASSERT_TRUE(MakeDamagedCopy(folder.File(L"damaged.exe")));
    LaunchOptions options;
    options.launcher = folder.File(L"damaged.exe");
    const RunResult damaged = RunLauncher({L"/v"}, options);
    EXPECT_EQ(1u, damaged.exitCode);
    EXPECT_NE(std::wstring::npos,
              damaged.output.find(L"All resources have been detected.\r\n" + std::wstring(kDamagedLine)))
        << WideToUtf8(damaged.output);
    EXPECT_EQ(damaged.output.find(L"SHA-256"), damaged.output.rfind(L"SHA-256")); // only that one

    options.launcher = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
    const RunResult intact = RunLauncher({L"/v"}, options);
    EXPECT_EQ(0u, intact.exitCode);
    EXPECT_EQ(std::wstring::npos, intact.output.find(L"SHA-256")) << WideToUtf8(intact.output);
}

TEST(PayloadRun, AnInstallationRefusesTheDamagedPackageBeforeWritingIt) {
    const UndoInstalls undo;
    ScratchFolder folder;
    ASSERT_TRUE(MakeDamagedCopy(folder.File(L"damaged.exe")));
    const std::wstring packageFolder = LauncherBaseFolder() + L"\\" + kHalvora101.packageCode;
    ICBSFileUtilities::DeleteTree(packageFolder);
    const std::wstring log = folder.File(L"setup.log");
    LaunchOptions options;
    options.launcher = folder.File(L"damaged.exe");
    const RunResult run = RunLauncher({L"/qn", L"/L*v", log}, options);

    EXPECT_EQ(1u, run.exitCode); // the code of a package that cannot be read
    const std::wstring text = ReadUtf16LeFile(log).value_or(L"");
    EXPECT_NE(std::wstring::npos,
              text.find(L"VNT (c): Package resource PACKAGE_0 does not match its recorded SHA-256 hash.\r\n"))
        << WideToUtf8(text);
    EXPECT_TRUE(ICBSFileUtilities::ListFiles(packageFolder, L"*").empty());
    EXPECT_FALSE(IsInstalled(kHalvora101));
    EXPECT_FALSE(IsInstalled(kKestrum317));
}
