// Real launchers running the wizard: a silent run walks every page of its page list with the window
// hidden, logs each activation and ends with 0.
#include "LauncherRun.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

std::vector<std::wstring> ActivationLines(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> activations;
    for (const std::wstring& line : lines)
        if (line.starts_with(L"VNT (c): Activating dialog "))
            activations.push_back(line.substr(27, line.size() - 29));
    return activations;
}

} // namespace

TEST(WizardRun, SilentRunOfTwoServerPackagesWalksEveryPage) {
    ScratchFolder folder;
    const std::wstring log = folder.File(L"setup.log");
    LaunchOptions options;
    options.launcher = TestProgramFolder() + L"\\TestTwoPackages.exe";
    const RunResult run = RunLauncher({L"/qn", L"/L*v", log}, options);
    EXPECT_EQ(0u, run.exitCode);
    const auto lines = LogLines(ReadUtf16LeFile(log).value_or(L""));
    // Both are server products: backup and broker pages for the main line, the service configuration
    // (logged under the sub-packages name); two packages: no sub-packages page and no empty slot. The
    // install page logs no activation of its own.
    const std::vector<std::wstring> expected = {
        L"Welcome",          L"BackupSettings",      L"Mosquitto", L"SystemIntegrity",
        L"UnpackMSIFromEXE", L"IncludedSubPackages", L"Finish"};
    EXPECT_EQ(expected, ActivationLines(lines)) << WideToUtf8(ReadUtf16LeFile(log).value_or(L""));
    size_t deactivations = 0;
    for (const std::wstring& line : lines)
        deactivations += line.starts_with(L"VNT (c): Deactivating dialog ");
    // One at each page's creation and one when each page passes on, the install page's included.
    EXPECT_EQ((expected.size() + 1) * 2, deactivations);
}
