// The WebView2 runtime page: its folders and address agreeing on one version, when it passes on and what it
// offers, Next in each state, the worker's steps (a partial download is never unpacked), Cancel and the
// status message in every state, and the progress bar.
#include "prerequisites/WebView2Rules.h"
#include "StringIds.h"

#include <gtest/gtest.h>

using namespace WebView2;
using S = PageState;

namespace {

// The loader's answers from a fixed installed version (none for nullptr) and the portable comparison.
struct FakeLoader final : RuntimeLoaderIF {
    explicit FakeLoader(const wchar_t* version) : installed(version) {}
    bool GetAvailableRuntimeVersion(std::wstring& version) override {
        version = installed ? installed : L"";
        return installed != nullptr;
    }
    bool CompareVersions(const std::wstring& a, const std::wstring& b, int& result) override {
        result = CompareVersionText(a, b).value_or(0);
        return CompareVersionText(a, b).has_value();
    }
    const wchar_t* installed;
};

constexpr uint32_t kWindows81 = 6;

} // namespace

TEST(WebView2Rules, FoldersAndAddressesCarryTheFixedVersion) {
    const std::wstring runtime = std::wstring(kVersionFolder) + L"\\Microsoft.WebView2.FixedVersionRuntime." +
                                 std::wstring(kFixedRuntimeVersion);
    EXPECT_EQ(runtime + L".x64", FixedRuntimeFolder(true));
    EXPECT_EQ(runtime + L".x86", FixedRuntimeFolder(false));
    const std::wstring file =
        L"/WebView2/115.0.1901.203/Microsoft.WebView2.FixedVersionRuntime.115.0.1901.203";
    EXPECT_EQ(L"http://127.0.0.1:8080" + file + L".x64.cab", CabinetUrl(L"http://127.0.0.1:8080/", true));
    EXPECT_EQ(std::wstring(kDownloadServer) + file + L".x86.cab", CabinetUrl(kDownloadServer, false));
    EXPECT_EQ(L"C:\\Users\\u\\Downloads\\QuenlisWebView2.cab",
              CabinetDownloadPath(L"C:\\Users\\u\\Downloads"));
    EXPECT_EQ(L"", CabinetDownloadPath(L""));
}

TEST(WebView2Rules, WhenThePagePassesOnAndWhatItOffers) {
    using A = PrepareAction;
    constexpr unsigned kNewest = StringId::WebViewInstallNewest, kUpdate = StringId::WebViewUpdate;
    struct Case {
        const char* what;
        S state;
        const wchar_t* installed;
        uint32_t windowsMajor;
        bool is64, fixedFolder, interactive;
        A action;
        S newState;
        unsigned newestText;
    };
    const Case cases[] = {
        {"116 on Windows 10", S::Choosing, L"116.0.1938.62", 10, 1, 0, 1, A::PassWithSystemRuntime, S(13),
         kNewest},
        {"110 on Windows 8.1", S::Choosing, L"110.0.1587.63", kWindows81, 1, 0, 1, A::PassWithSystemRuntime,
         S(13), kNewest},
        {"110 on Windows 11", S::Choosing, L"110.0.1587.63", 10, 1, 0, 1, A::ShowChoices, S(0), kUpdate},
        {"the minimum itself", S::Choosing, L"115.0.1901.203", 10, 1, 0, 1, A::PassWithSystemRuntime, S(13),
         kNewest},
        {"no runtime", S::Choosing, nullptr, 10, 1, 0, 1, A::ShowChoices, S(0), kNewest},
        {"fixed folder on 32-bit", S::Choosing, nullptr, 10, 0, 1, 1, A::PassWithFixedFolder, S(8), kNewest},
        {"fixed folder first", S::Choosing, L"116.0.1", 10, 1, 1, 1, A::PassWithFixedFolder, S(8), kNewest},
        {"silent run", S::Choosing, L"100.0", 10, 1, 0, 0, A::PassOn, S(0), kUpdate},
        {"the worker on its 64-bit state", S::Downloading64, nullptr, 10, 1, 0, 1, A::ShowProgress, S(5),
         kNewest},
        {"back after passing", S::SystemRuntime, nullptr, 10, 1, 1, 1, A::Nothing, S(13), kNewest},
    };
    for (const Case& c : cases) {
        FakeLoader loader(c.installed);
        PrepareFacts facts{c.state, c.is64, c.fixedFolder, FindSystemRuntime(loader, c.windowsMajor),
                           c.interactive};
        const PrepareDecision decision = DecideOnPrepare(facts);
        EXPECT_EQ(c.action, decision.action) << c.what;
        EXPECT_EQ(c.newState, decision.state) << c.what;
        EXPECT_EQ(c.action == A::PassWithFixedFolder ? FixedRuntimeFolder(c.is64) : L"",
                  decision.runtimeFolder)
            << c.what;
        EXPECT_EQ(c.newestText, NewestChoiceTextId(facts.runtime)) << c.what;
    }
    // A quick install shows the page without the wizard's window.
    EXPECT_EQ(A::ShowChoices, DecideOnPrepare({S::Choosing, true, false, {}, false, false}).action);
}

TEST(WebView2Rules, TheTextsOfTheChoicesAndTheRequirement) {
    EXPECT_EQ(Choice::Fixed, ChoiceOfCommand(1397));
    EXPECT_EQ(Choice::Newest, ChoiceOfCommand(1398));
    EXPECT_EQ(Choice::Later, ChoiceOfCommand(1399));
    EXPECT_EQ(std::nullopt, ChoiceOfCommand(1400));
    EXPECT_EQ(StringId::WebViewSkip, TextsOf(Choice::Later).nextCaptionId);
    EXPECT_EQ(StringId::WebViewInstall, TextsOf(Choice::Fixed).nextCaptionId);
    const auto load = [](unsigned id) {
        return id == StringId::WebViewVersionRequired ? std::wstring(L"needs %s") : std::to_wstring(id);
    };
    EXPECT_EQ(L"needs 115.0.1901.203", RequirementText(10, load));
    EXPECT_EQ(L"1402", RequirementText(kWindows81, load));
}

TEST(WebView2Rules, NextByStateAndChoice) {
    using A = NextAction;
    struct Case {
        S state;
        Choice choice;
        A action;
        unsigned message;
        bool deleteVersionFolder;
    };
    const Case cases[] = {
        {S::Choosing, Choice::Newest, A::LicenceThenBootstrapper, 0, false},
        {S::Choosing, Choice::Fixed, A::LicenceThenDownload, 0, false},
        {S::Choosing, Choice::Later, A::Proceed, 0, false}, // no runtime folder, nothing decided
        {S::FixedInstalled32, Choice::Fixed, A::ProceedTakingFixedFolder, 0, false},
        {S::FixedInstalled64, Choice::Fixed, A::ProceedTakingFixedFolder, 0, false},
        {S::DownloadFailed, Choice::Fixed, A::ShowMessageAndReset, StringId::WebViewDownloadFailed, false},
        {S::UnpackFailed, Choice::Fixed, A::ShowMessageAndReset, StringId::WebViewFixedInstallFailed, false},
        {S::Cancelled, Choice::Fixed, A::ShowMessageAndReset, StringId::WebViewFixedInstallCancelled, true},
        {S::SystemRuntime, Choice::Newest, A::Proceed, 0, false},
    };
    for (const Case& c : cases) {
        const NextDecision next = DecideOnNext(c.state, c.choice);
        EXPECT_EQ(c.action, next.action) << int(c.state);
        EXPECT_EQ(c.message, next.messageId) << int(c.state);
        EXPECT_EQ(c.deleteVersionFolder, next.deleteVersionFolder) << int(c.state);
    }
    // The bootstrapper missing, not started, failing, done.
    EXPECT_EQ(S::PreparingBootstrapper, StateAfterBootstrapper(false, std::nullopt));
    EXPECT_EQ(S::BootstrapperFailed, StateAfterBootstrapper(true, 1u));
    EXPECT_EQ(S::SystemRuntime, StateAfterBootstrapper(true, 0u));
    EXPECT_EQ(A::Proceed, AfterBootstrapper(S::SystemRuntime).action);
    EXPECT_EQ(StringId::WebViewEvergreenInstallFailed, AfterBootstrapper(S::PreparingBootstrapper).messageId);
}

TEST(WebView2Rules, TheWorkerUnpacksOnlyACompleteUncancelledDownload) {
    struct Case {
        const char* what;
        S current;
        int result;
        bool cancel;
        S downloaded, step;
    };
    const Case cases[] = {
        {"64-bit done", S::Downloading64, 0, false, S::Downloaded64, S::Unpacking64},
        {"32-bit done", S::Downloading32, 0, false, S::Downloaded32, S::Unpacking32},
        {"aborted by Cancel", S::Downloading64, DownloadRules::kAbortedByCallback, true, S::Cancelled,
         S::Cancelled},
        {"done, but Cancel came last", S::Downloading64, 0, true, S::Downloaded64, S::Cancelled},
        {"no connection", S::Downloading64, 7, false, S::DownloadFailed, S::DownloadFailed},
        {"error status from the server", S::Downloading32, 22, false, S::DownloadFailed, S::DownloadFailed},
        {"no file to write", S::Downloading64, -1, false, S::DownloadFailed, S::DownloadFailed},
        {"not downloading", S::Choosing, 0, false, S::DownloadFailed, S::DownloadFailed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.downloaded, StateAfterDownload(c.current, c.result)) << c.what;
        const WorkerStep step = AfterDownload(c.current, c.result, c.cancel);
        EXPECT_EQ(c.step, step.state) << c.what;
        EXPECT_EQ(c.step == S::Unpacking32 || c.step == S::Unpacking64, step.unpack) << c.what;
        EXPECT_FALSE(step.deleteVersionFolder) << c.what;
    }
    // Unpacked, failed (the worker deletes the folder), cancelled (Next deletes it with its message).
    EXPECT_EQ(S::FixedInstalled64, AfterUnpack(S::Unpacking64, true, false).state);
    EXPECT_EQ(S::FixedInstalled32, AfterUnpack(S::Unpacking32, true, false).state);
    EXPECT_TRUE(AfterUnpack(S::Unpacking64, false, false).deleteVersionFolder);
    EXPECT_EQ(S::UnpackFailed, AfterUnpack(S::Unpacking64, false, false).state);
    EXPECT_EQ(S::Cancelled, AfterUnpack(S::Unpacking64, true, true).state);
    EXPECT_FALSE(AfterUnpack(S::Unpacking64, true, true).deleteVersionFolder);
}

TEST(WebView2Rules, CancelAndTheStatusMessageInEveryState) {
    // Per state 0..15: sets the download's cancel flag, waits for the worker, the status message moves on.
    const bool byState[16][3] = {{0, 0, 1}, {1, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0},
                                 {0, 1, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1},
                                 {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    for (int state = 0; state < 16; ++state) {
        const CancelDecision cancel = DecideOnCancel(S(state));
        EXPECT_EQ(byState[state][0], cancel.stopDownload) << state;
        EXPECT_EQ(byState[state][1], cancel.waitForWorker) << state;
        EXPECT_EQ(byState[state][2], StatusMovesOn(S(state))) << state;
    }
    // Cancel during the download: message 1395 and the version folder deleted.
    const WorkerStep step = AfterDownload(DownloadingState(true), DownloadRules::kAbortedByCallback, true);
    ASSERT_TRUE(StatusMovesOn(step.state));
    const NextDecision next = DecideOnNext(step.state, Choice::Fixed);
    EXPECT_EQ(StringId::WebViewFixedInstallCancelled, next.messageId);
    EXPECT_TRUE(next.deleteVersionFolder);
}

TEST(WebView2Rules, TheProgressBarOverBothHalves) {
    const int cases[][3] = {{-5, 0, 50},  {0, 0, 50},     {1, 0, 50},
                            {99, 49, 99}, {100, 50, 100}, {250, 50, 100}};
    for (const auto& c : cases) {
        EXPECT_EQ(c[1], DownloadProgress(c[0])) << c[0];
        EXPECT_EQ(c[2], UnpackProgress(c[0])) << c[0];
    }
}
