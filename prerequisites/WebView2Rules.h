// The decisions of the WebView2 runtime page that need no window: its folders, file names and address,
// its states, whether it passes on, what its radio buttons and captions say, what Next, Cancel and the
// worker's status messages do in each state, and the progress bar. The page owns its controls, the state,
// the runtime folder and the decided flag, and the worker; it hands the facts in and carries out the answer.
#pragma once

#include "launcher/ManifestRules.h"

#include "StringIds.h"
#include "prerequisites/WebView2Runtime.h"
#include "support/DownloadRules.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace WebView2 {

inline constexpr std::wstring_view kFixedRuntimeVersion = L"115.0.1901.203";
// The system's runtime must be at least this; the runtime's releases for Windows before 10 ended with 109.
inline constexpr std::wstring_view kMinimumSystemRuntime = L"115.0.1901.203";
inline constexpr std::wstring_view kMinimumSystemRuntimeBefore10 = L"109.0.1518.115";
inline constexpr uint32_t kWindows10Major = 10;

// Literal paths, drive included, whatever the machine's common application data folder is. The cabinet's
// top folder is the runtime folder, so it is unpacked into the version folder, which a failure deletes.
inline constexpr std::wstring_view kVersionFolder = L"C:\\ProgramData\\Quenlis\\WebView2\\115.0.1901.203";
inline constexpr std::wstring_view kFixedRuntimeFolder64 =
    L"C:\\ProgramData\\Quenlis\\WebView2\\115.0.1901.203"
    L"\\Microsoft.WebView2.FixedVersionRuntime.115.0.1901.203.x64";
inline constexpr std::wstring_view kFixedRuntimeFolder32 =
    L"C:\\ProgramData\\Quenlis\\WebView2\\115.0.1901.203"
    L"\\Microsoft.WebView2.FixedVersionRuntime.115.0.1901.203.x86";

inline constexpr std::wstring_view kDownloadServer = L"https://download.quenlis.com";
inline constexpr std::wstring_view kCabinetUrlPath64 =
    L"/WebView2/115.0.1901.203/Microsoft.WebView2.FixedVersionRuntime.115.0.1901.203.x64.cab";
inline constexpr std::wstring_view kCabinetUrlPath32 =
    L"/WebView2/115.0.1901.203/Microsoft.WebView2.FixedVersionRuntime.115.0.1901.203.x86.cab";
// Written into the user's Downloads folder and kept there afterwards.
inline constexpr std::wstring_view kCabinetFileName = L"QuenlisWebView2.cab";

// The evergreen bootstrapper is written to a new file in the temporary folder.
inline constexpr std::wstring_view kBootstrapperNamePattern = L"MicrosoftEdgeWebview2Setup_%x.exe";
inline constexpr int kBootstrapperNameTries = 1024;
// The bootstrapper's resource is named as the launcher's named value for a bootstrapper file
// (kEvergreenDownloaderName), under this named resource type.
inline constexpr std::wstring_view kBootstrapperResourceType = kEmbeddedInstallerType;

inline constexpr std::wstring_view kStatusMessageName = L"WebView2_StatusUpdate";

// The radio buttons' commands; the page shows newest, fixed, later from the top.
enum class Choice : int {
    Fixed = 1397,
    Newest = 1398,
    Later = 1399,
};

// The page's state, shared with the download worker and posted with the status message as an integer.
enum class PageState : int {
    Choosing = 0,
    Downloading32 = 1,
    Downloaded32 = 2,
    Unpacking32 = 3,
    FixedInstalled32 = 4,
    Downloading64 = 5,
    Downloaded64 = 6,
    Unpacking64 = 7,
    FixedInstalled64 = 8,
    DownloadFailed = 9,
    UnpackFailed = 10,
    Cancelled = 11,
    BootstrapperWritten = 12,
    SystemRuntime = 13,
    PreparingBootstrapper = 14,
    BootstrapperFailed = 15,
};

std::wstring_view FixedRuntimeFolder(bool is64BitProcessor);
// The cabinet's address on a download server ("https://host[:port]", a trailing "/" allowed). The
// launcher passes kDownloadServer.
std::wstring CabinetUrl(std::wstring_view server, bool is64BitProcessor);
// The cabinet's path in the given Downloads folder.
std::wstring CabinetDownloadPath(std::wstring_view downloadsFolder);

std::wstring_view MinimumSystemRuntime(uint32_t windowsMajor);

struct RuntimeFinding {
    bool found = false;        // the loader reported an installed runtime
    bool recentEnough = false; // and it is at least the minimum; a version it cannot compare is not
};
RuntimeFinding FindSystemRuntime(RuntimeLoaderIF& loader, uint32_t windowsMajor);

// Prepare, by state.
enum class PrepareAction {
    ShowProgress,          // the worker runs: the progress panel, Next and Back off, Cancel on
    PassWithFixedFolder,   // take runtimeFolder, set decided and state, move on
    PassWithSystemRuntime, // clear the runtime folder, set decided and state, move on
    ShowChoices,           // show the radio buttons
    PassOn,                // move on, deciding nothing
    Nothing,               // leave the page as it is
};

struct PrepareFacts {
    PageState state = PageState::Choosing;
    bool is64BitProcessor = false;
    bool fixedFolderExists = false; // the folder of FixedRuntimeFolder(is64BitProcessor)
    RuntimeFinding runtime;
    bool interactive = false;
    bool quickInstallListEmpty = true;
};

struct PrepareDecision {
    PrepareAction action = PrepareAction::Nothing;
    PageState state = PageState::Choosing; // the state to set; unchanged unless the page passes on
    std::wstring_view runtimeFolder;       // for PassWithFixedFolder
};
// In state 0 the page clears its cancel flag first, whatever follows.
PrepareDecision DecideOnPrepare(const PrepareFacts& facts);

// The newest-runtime radio button offers an update when a runtime was found too old to use.
unsigned NewestChoiceTextId(const RuntimeFinding& runtime);
// The fixed runtime is offered from Windows 10 on; before, its radio button is disabled and cleared.
bool FixedChoiceOffered(uint32_t windowsMajor);
// The requirement line: the fixed runtime's version from Windows 10 on, no version before.
std::wstring RequirementText(uint32_t windowsMajor,
                             const std::function<std::wstring(unsigned id)>& loadString);

struct ChoiceTexts {
    unsigned nextCaptionId = 0;
    unsigned descriptionId = 0;
};
std::optional<Choice> ChoiceOfCommand(int command);
// A radio command and Relayout show the selected choice's Next caption; Relayout also renames Back.
ChoiceTexts TextsOf(Choice choice);
inline constexpr unsigned kBackCaptionId = StringId::WebViewCheckAgain;

enum class NextAction {
    Proceed,                  // return true
    ProceedTakingFixedFolder, // if the fixed folder exists, take it and set decided; return true
    LicenceThenBootstrapper,  // licence, then prepare and run the bootstrapper; AfterBootstrapper decides
    LicenceThenDownload,      // licence, then state 1, the cancel flag cleared, the worker; return false
    ShowMessageAndReset,      // (delete the version folder,) show messageId, set state 0, return false
};

struct NextDecision {
    NextAction action = NextAction::Proceed;
    unsigned messageId = 0;
    bool deleteVersionFolder = false;
};
NextDecision DecideOnNext(PageState state, Choice selected);

// The state after preparing and running the bootstrapper: still preparing when no file was written,
// failed when it could not be started (no exit code) or exited with anything but 0.
PageState StateAfterBootstrapper(bool fileWritten, std::optional<uint32_t> exitCode);
// Next once the bootstrapper has run: on, or its failure message and back to choosing.
NextDecision AfterBootstrapper(PageState state);

// The download worker. It posts only the state each step ends in, one move-on per run.
PageState DownloadingState(bool is64BitProcessor);
// The download's own outcome: done, cancelled (DownloadRules::kAbortedByCallback) or failed.
PageState StateAfterDownload(PageState current, int downloadResult);

struct WorkerStep {
    PageState state = PageState::Choosing; // set and posted
    bool unpack = false;                   // go on to unpack the cabinet
    bool deleteVersionFolder = false;
};
// After the download: only a complete download that nobody cancelled is unpacked; a partial file left
// by a cancelled or failed one is not.
WorkerStep AfterDownload(PageState current, int downloadResult, bool cancelRequested);
// After the unpacking: a cancel wins over a finished unpacking, and a failure deletes the version folder.
WorkerStep AfterUnpack(PageState current, bool unpacked, bool cancelRequested);

// Whether a posted state makes the page move on (Next runs DecideOnNext for the page's state).
bool StatusMovesOn(PageState posted);

struct CancelDecision {
    bool stopDownload = false; // set the download's cancel flag
    // Disable Cancel, set the page's cancel flag and refuse: the worker ends in state 11. Otherwise the
    // user's cancel is recorded (1602) and the wizard may end.
    bool waitForWorker = false;
};
CancelDecision DecideOnCancel(PageState state);

// The progress bar over both halves of the work, from percentages (kept within 0 to 100).
int DownloadProgress(int percent);
int UnpackProgress(int percent);

} // namespace WebView2
