// A silent run of the two-package test launcher: the packages' default selection follows the products
// really installed on the machine.
#include "LauncherRun.h"
#include "RunLeftovers.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace TestProducts;

namespace {

// The run's log; what the run installs is removed again, what was installed before stays.
std::wstring SilentRunLog() {
    const UndoInstalls undo;
    ScratchFolder folder;
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
    options.timeLimitMs = 30'000;
    const RunResult run = RunLauncher({L"/qn", L"/L*v", folder.File(L"setup.log")}, options);
    EXPECT_TRUE(run.started);
    EXPECT_EQ(0u, run.exitCode);
    return ReadUtf16LeFile(folder.File(L"setup.log")).value_or(L"");
}

std::wstring StateLine(const Product& product, bool installed, bool selected) {
    return std::wstring(L"VNT (c): Package ") + product.productName + L": installed " +
           (installed ? L"yes" : L"no") + L", selected " + (selected ? L"yes" : L"no") + L".\r\n";
}

bool HasLine(const std::wstring& log, const std::wstring& line) {
    const auto lines = LogLines(log);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(InstalledSelectionRun, SubPackageFollowsTheInstalledMainProduct) {
    ASSERT_FALSE(IsInstalled(kHalvora101));
    ASSERT_FALSE(IsInstalled(kKestrum317));
    std::wstring log = SilentRunLog();
    EXPECT_TRUE(HasLine(log, StateLine(kHalvora101, false, true))) << WideToUtf8(log);
    EXPECT_TRUE(HasLine(log, StateLine(kKestrum317, false, true)));

    const InstalledProduct main(kHalvora101);
    ASSERT_EQ(0u, main.Result());
    log = SilentRunLog();
    // The main product is there, its companion is not: the companion is left alone.
    EXPECT_TRUE(HasLine(log, StateLine(kHalvora101, true, true))) << WideToUtf8(log);
    EXPECT_TRUE(HasLine(log, StateLine(kKestrum317, false, false)));

    const InstalledProduct companion(kKestrum317);
    ASSERT_EQ(0u, companion.Result());
    log = SilentRunLog();
    EXPECT_TRUE(HasLine(log, StateLine(kKestrum317, true, true))) << WideToUtf8(log);
}

} // namespace
