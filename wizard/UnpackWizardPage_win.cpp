#include "wizard/UnpackWizardPage_win.h"

#include "launcher/SetupLog.h"
#include "support/Format.h"
#include "wizard/UnpackPageRules.h"
#include "wizard/WizardDialog_win.h"

#include <commctrl.h>

namespace {

constexpr unsigned kStringHeading = 4;

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

UnpackWizardPage::UnpackWizardPage(CWizardDialog& wizard) : WizardPageBase(wizard, L"UnpackMSIFromEXE") {}

void UnpackWizardPage::CreateControls(HWND parent, int width, int) {
    const auto& packages = Wizard().Host().Packages();
    const UnpackPage::Placement placement =
        UnpackPage::PlacementFor(packages.empty() ? std::wstring() : packages.front()->ProductName());

    heading_ = MakeStatic(parent, kHeadingId, kHeadingTop, width, kDescriptionTop, Wizard().LargeBoldFont());
    description_ = MakeStatic(parent, kDescriptionId, kDescriptionTop, width, placement.statusTop,
                              Wizard().MediumFont());
    status_ = MakeStatic(parent, kStatusId, placement.statusTop, width, placement.statusBottom,
                         Wizard().MediumFont());

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
    WizardHostIF& host = Wizard().Host();
    SetWindowTextW(heading_, LoadString(kStringHeading).c_str());
    const std::wstring description = UnpackPage::DescriptionText(
        LoadString(UnpackPage::DescriptionStringId(host.Packages().size())), host.WizardTitle());
    SetWindowTextW(description_, description.c_str());
}

void UnpackWizardPage::Activate() {
    WriteLog(kLogLevelProgress, Format(L"VNT (c): Activating dialog %s\r\n", Name()));
    HWND wizard = Wizard().Handle();
    if (HWND box = GetDlgItem(wizard, WizardControl::LanguageBox))
        ShowWindow(box, SW_HIDE);
    // The wizard's captions too (a page before may have renamed the buttons); ends with Relayout.
    Wizard().RefreshTexts();
    Wizard().EnableButton(WizardControl::Back, false);
    Wizard().EnableButton(WizardControl::Next, false);
    Wizard().EnableButton(WizardControl::Cancel, true);
    ShowWindow(Handle(), SW_SHOW);
    WizardHostIF& host = Wizard().Host();
    // A quick install runs without questions: nothing of the wizard may be pressed meanwhile.
    if (!host.QuickInstallList().empty())
        EnableWindow(wizard, FALSE);

    if (!progress_) // the page's window could not be made: the packages are unpacked all the same
        progress_ = std::make_unique<ExtractionProgressHandler>(nullptr);
    UnpackerIF& unpacker = host.Unpacker();
    unpackList_ = unpacker.BuildUnpackList(Wizard().IsRepair());
    UnpackRequest request;
    request.installsOrModifies = Wizard().IsFreshInstall() || Wizard().IsModify();
    request.cancel = &CancelFlag();
    request.showStatus = [this](const std::wstring& text) { PostStatus(text); };
    auto work = [this, &unpacker, request] {
        lastResult_ = unpacker.UnpackPackages(unpackList_, *progress_, request);
    };

    WorkerOptions options;
    options.createdLogLine = kWorkerCreatedLine;
    options.waitSliceMs = kWorkerWaitSliceMs;
    options.progressMessage = ExtractionProgressHandler::kProgressMessage;
    options.onProgress = [this](WPARAM position) { progress_->OnProgressMessage(position); };
    switch (RunWorker(work, options)) {
    case WorkerOutcome::Quit:
        return; // the application is closing: the wizard does not move on
    case WorkerOutcome::NotStarted:
        // Without a thread the packages are still needed: unpack them here, with the window frozen.
        work();
        break;
    case WorkerOutcome::Finished:
        break;
    }
    MoveOnAfterWorker();
}

void UnpackWizardPage::PostStatus(const std::wstring& text) {
    {
        std::lock_guard lock(statusMutex_);
        pendingStatus_ = text;
    }
    PostMessageW(Handle(), kStatusMessage, 0, 0);
}

void UnpackWizardPage::ApplyStatus() {
    std::optional<std::wstring> text;
    {
        std::lock_guard lock(statusMutex_);
        text.swap(pendingStatus_);
    }
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
    RedrawWindow(Wizard().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT UnpackWizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStatusMessage) {
        ApplyStatus();
        return 0;
    }
    return WizardPageBase::HandleMessage(message, wParam, lParam);
}
