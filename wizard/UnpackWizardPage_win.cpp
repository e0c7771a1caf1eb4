#include "wizard/UnpackWizardPage_win.h"

#include "StringIds.h"
#include "launcher/SetupLog.h"
#include "support/Format.h"
#include "wizard/UnpackPageRules.h"

#include <commctrl.h>

namespace {

constexpr int kHeadingTop = 20;
constexpr int kDescriptionTop = 39;

constexpr wchar_t kWorkerCreatedLine[] = L"VNT (c): Created SetupWorkerThread\r\n";
constexpr DWORD kWorkerWaitSliceMs = 50;

// Posted to the page when the worker has a new status text; the text waits in the page.
constexpr UINT kStatusMessage = WM_APP + 1;

HWND MakeStatic(HWND parent, int id, int top, int width, int bottom, HFONT font) {
    HWND control = CreateWindowExW(
        0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, top, width, bottom - top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

} // namespace

UnpackWizardPage::UnpackWizardPage(PageFrame& frame) : WizardPageBase(frame, L"UnpackMSIFromEXE") {}

void UnpackWizardPage::CreateControls(HWND parent, int width, int) {
    const PackageInfo* main = Frame().Packages().Main();
    const UnpackPage::Placement placement =
        UnpackPage::PlacementFor(main ? main->ProductName() : std::wstring());

    heading_ = MakeStatic(parent, kHeadingId, kHeadingTop, width, kDescriptionTop,
                          Frame().Font(PageFont::LargeBold));
    description_ = MakeStatic(parent, kDescriptionId, kDescriptionTop, width, placement.statusTop,
                              Frame().Font(PageFont::Medium));
    status_ = MakeStatic(parent, kStatusId, placement.statusTop, width, placement.statusBottom,
                         Frame().Font(PageFont::Medium));

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0,
                           placement.statusBottom, width, placement.barBottom - placement.statusBottom,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kProgressBarId)),
                           GetModuleHandleW(nullptr), nullptr);
    progress_ = std::make_unique<ExtractionProgressHandler>(bar_);
    SendMessageW(bar_, PBM_SETRANGE32, 0, ExtractionProgressRule::kRange);
}

void UnpackWizardPage::Relayout() {
    SetWindowTextW(heading_, LoadString(StringId::UnpackHeading).c_str());
    const std::wstring description = UnpackPage::DescriptionText(
        LoadString(UnpackPage::DescriptionStringId(Frame().Packages().size())), Frame().WizardTitle());
    SetWindowTextW(description_, description.c_str());
}

PageStep UnpackWizardPage::Activate() {
    PageFrame& frame = Frame();
    WriteLog(kLogLevelProgress, Format(L"VNT (c): Activating dialog %s\r\n", Name()));
    frame.ShowLanguageBox(false);
    // The wizard's captions too (a page before may have renamed the buttons); ends with Relayout.
    frame.RefreshTexts();
    frame.EnableButton(WizardButton::Back, false);
    frame.EnableButton(WizardButton::Next, false);
    frame.EnableButton(WizardButton::Cancel, true);
    ShowWindow(Handle(), SW_SHOW);
    // A quick install runs without questions: nothing of the wizard may be pressed meanwhile.
    if (!frame.Choices().quickInstallList.empty())
        frame.EnableWizard(false);

    if (!progress_) // the page's window could not be made: the packages are unpacked all the same
        progress_ = std::make_unique<ExtractionProgressHandler>(nullptr);
    UnpackerIF& unpacker = frame.Services().Unpacker();
    unpackList_ = unpacker.BuildUnpackList(frame.Mode().IsRepair());
    UnpackRequest request;
    request.installsOrModifies = frame.Mode().IsFreshInstall() || frame.Mode().IsModify();
    request.cancel = &CancelFlag();
    request.showStatus = [this](const std::wstring& text) { PostStatus(text); };
    // The outcome is recorded while the page waits, before the protocol records a cancellation.
    auto work = [this, &frame, &unpacker, request] {
        const SetupResult outcome = unpacker.UnpackPackages(unpackList_, *progress_, request);
        frame.Result() = outcome;
        lastResult_ = outcome.ThreadResult();
    };

    WorkerOptions options;
    options.createdLogLine = kWorkerCreatedLine;
    options.waitSliceMs = kWorkerWaitSliceMs;
    options.progressMessage = ExtractionProgressHandler::kProgressMessage;
    options.onProgress = [this](WPARAM position) { progress_->OnProgressMessage(position); };
    switch (RunWorker(work, options)) {
    case WorkerOutcome::Quit:
        return PageStep::Stay; // the application is closing: the wizard does not move on
    case WorkerOutcome::NotStarted:
        // Without a thread the packages are still needed: unpack them here, with the window frozen.
        work();
        break;
    case WorkerOutcome::Finished:
        break;
    }
    EnableAfterWorker();
    return PageStep::Next;
}

void UnpackWizardPage::PostStatus(const std::wstring& text) {
    statusText_.Post(text);
    PostMessageW(Handle(), kStatusMessage, 0, 0);
}

void UnpackWizardPage::ApplyStatus() {
    const std::optional<std::wstring> text = statusText_.Take();
    // A silent run, or a page already left, shows no status.
    if (!text || !IsWindowVisible(Handle()))
        return;
    SetWindowTextW(status_, text->c_str());
    if (barMoved_)
        return;
    const int shift = UnpackPage::BarShiftForStatusGrowth(FitHeightToText(status_));
    if (shift == 0)
        return;
    MoveControl(bar_, 0, shift);
    barMoved_ = true;
    Frame().Repaint();
}

LRESULT UnpackWizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStatusMessage) {
        ApplyStatus();
        return 0;
    }
    return WizardPageBase::HandleMessage(message, wParam, lParam);
}
