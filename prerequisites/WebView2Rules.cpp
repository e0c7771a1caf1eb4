#include "prerequisites/WebView2Rules.h"

#include "server/ServerDataSettings.h"
#include "support/Format.h"

#include <algorithm>

namespace WebView2 {

namespace {

// 2 and 6 included: the worker passes through them, and a cancel agreed there would end the wizard
// under a running worker.
bool WorkerRuns(PageState state) {
    switch (state) {
    case PageState::Downloading32:
    case PageState::Downloaded32:
    case PageState::Unpacking32:
    case PageState::Downloading64:
    case PageState::Downloaded64:
    case PageState::Unpacking64:
        return true;
    default:
        return false;
    }
}

NextDecision ShowAndReset(unsigned messageId, bool deleteVersionFolder = false) {
    return {NextAction::ShowMessageAndReset, messageId, deleteVersionFolder};
}

} // namespace

std::wstring_view FixedRuntimeFolder(bool is64BitProcessor) {
    return is64BitProcessor ? kFixedRuntimeFolder64 : kFixedRuntimeFolder32;
}

std::wstring CabinetUrl(std::wstring_view server, bool is64BitProcessor) {
    while (!server.empty() && server.back() == L'/')
        server.remove_suffix(1);
    return std::wstring(server).append(is64BitProcessor ? kCabinetUrlPath64 : kCabinetUrlPath32);
}

std::wstring CabinetDownloadPath(std::wstring_view downloadsFolder) {
    return ServerData::InFolder(downloadsFolder, kCabinetFileName);
}

std::wstring_view MinimumSystemRuntime(uint32_t windowsMajor) {
    return windowsMajor < kWindows10Major ? kMinimumSystemRuntimeBefore10 : kMinimumSystemRuntime;
}

RuntimeFinding FindSystemRuntime(RuntimeLoaderIF& loader, uint32_t windowsMajor) {
    RuntimeFinding finding;
    std::wstring version;
    if (!loader.GetAvailableRuntimeVersion(version))
        return finding;
    finding.found = true;
    int order = 0;
    finding.recentEnough =
        loader.CompareVersions(version, std::wstring(MinimumSystemRuntime(windowsMajor)), order) &&
        order >= 0;
    return finding;
}

PrepareDecision DecideOnPrepare(const PrepareFacts& facts) {
    if (WorkerRuns(facts.state))
        return {PrepareAction::ShowProgress, facts.state, {}};
    if (facts.state != PageState::Choosing)
        return {PrepareAction::Nothing, facts.state, {}};
    // The 64-bit state on a 32-bit processor as well: Next only asks whether the folder exists.
    if (facts.fixedFolderExists)
        return {PrepareAction::PassWithFixedFolder, PageState::FixedInstalled64,
                FixedRuntimeFolder(facts.is64BitProcessor)};
    if (facts.runtime.recentEnough)
        return {PrepareAction::PassWithSystemRuntime, PageState::SystemRuntime, {}};
    if (facts.interactive || !facts.quickInstallListEmpty)
        return {PrepareAction::ShowChoices, PageState::Choosing, {}};
    return {PrepareAction::PassOn, PageState::Choosing, {}};
}

unsigned NewestChoiceTextId(const RuntimeFinding& runtime) {
    return runtime.found && !runtime.recentEnough ? StringId::WebViewUpdate : StringId::WebViewInstallNewest;
}

bool FixedChoiceOffered(uint32_t windowsMajor) {
    return windowsMajor >= kWindows10Major;
}

std::wstring RequirementText(uint32_t windowsMajor,
                             const std::function<std::wstring(unsigned id)>& loadString) {
    if (windowsMajor < kWindows10Major)
        return loadString(StringId::WebViewRequired);
    return Format(loadString(StringId::WebViewVersionRequired), kFixedRuntimeVersion);
}

std::optional<Choice> ChoiceOfCommand(int command) {
    switch (command) {
    case static_cast<int>(Choice::Fixed):
        return Choice::Fixed;
    case static_cast<int>(Choice::Newest):
        return Choice::Newest;
    case static_cast<int>(Choice::Later):
        return Choice::Later;
    default:
        return std::nullopt;
    }
}

ChoiceTexts TextsOf(Choice choice) {
    switch (choice) {
    case Choice::Newest:
        return {StringId::WebViewInstall, StringId::WebViewUpdateHint};
    case Choice::Fixed:
        return {StringId::WebViewInstall, StringId::WebViewFixedHint};
    case Choice::Later:
        break;
    }
    return {StringId::WebViewSkip, StringId::WebViewLaterHint};
}

NextDecision DecideOnNext(PageState state, Choice selected) {
    switch (state) {
    case PageState::Choosing:
        switch (selected) {
        case Choice::Newest:
            return {NextAction::LicenceThenBootstrapper};
        case Choice::Fixed:
            return {NextAction::LicenceThenDownload};
        case Choice::Later:
            return {NextAction::Proceed};
        }
        return {NextAction::Proceed};
    case PageState::FixedInstalled32:
    case PageState::FixedInstalled64:
        return {NextAction::ProceedTakingFixedFolder};
    case PageState::DownloadFailed:
        return ShowAndReset(StringId::WebViewDownloadFailed);
    // The worker has deleted the version folder already.
    case PageState::UnpackFailed:
        return ShowAndReset(StringId::WebViewFixedInstallFailed);
    case PageState::Cancelled:
        return ShowAndReset(StringId::WebViewFixedInstallCancelled, true);
    default:
        return {NextAction::Proceed};
    }
}

PageState StateAfterBootstrapper(bool fileWritten, std::optional<uint32_t> exitCode) {
    if (!fileWritten)
        return PageState::PreparingBootstrapper;
    return exitCode == 0u ? PageState::SystemRuntime : PageState::BootstrapperFailed;
}

NextDecision AfterBootstrapper(PageState state) {
    if (state == PageState::SystemRuntime)
        return {NextAction::Proceed};
    return ShowAndReset(StringId::WebViewEvergreenInstallFailed);
}

PageState DownloadingState(bool is64BitProcessor) {
    return is64BitProcessor ? PageState::Downloading64 : PageState::Downloading32;
}

PageState StateAfterDownload(PageState current, int downloadResult) {
    if (current != PageState::Downloading32 && current != PageState::Downloading64)
        return PageState::DownloadFailed;
    if (downloadResult == DownloadRules::kAbortedByCallback)
        return PageState::Cancelled;
    if (downloadResult != 0)
        return PageState::DownloadFailed;
    return current == PageState::Downloading64 ? PageState::Downloaded64 : PageState::Downloaded32;
}

WorkerStep AfterDownload(PageState current, int downloadResult, bool cancelRequested) {
    const PageState downloaded = StateAfterDownload(current, downloadResult);
    if (cancelRequested)
        return {PageState::Cancelled};
    if (downloaded == PageState::Downloaded32)
        return {PageState::Unpacking32, true};
    if (downloaded == PageState::Downloaded64)
        return {PageState::Unpacking64, true};
    return {downloaded};
}

WorkerStep AfterUnpack(PageState current, bool unpacked, bool cancelRequested) {
    if (cancelRequested)
        return {PageState::Cancelled};
    if (unpacked && current == PageState::Unpacking32)
        return {PageState::FixedInstalled32};
    if (unpacked && current == PageState::Unpacking64)
        return {PageState::FixedInstalled64};
    return {PageState::UnpackFailed, false, true};
}

bool StatusMovesOn(PageState posted) {
    return posted == PageState::Choosing || posted == PageState::FixedInstalled32 ||
           static_cast<int>(posted) >= static_cast<int>(PageState::FixedInstalled64);
}

CancelDecision DecideOnCancel(PageState state) {
    CancelDecision decision;
    decision.stopDownload = state == PageState::Downloading32 || state == PageState::Downloading64;
    decision.waitForWorker = WorkerRuns(state);
    return decision;
}

int DownloadProgress(int percent) {
    return std::clamp(percent, 0, 100) / 2;
}

int UnpackProgress(int percent) {
    return 50 + std::clamp(percent, 0, 100) / 2;
}

} // namespace WebView2
