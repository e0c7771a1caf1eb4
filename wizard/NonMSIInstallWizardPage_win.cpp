#include "wizard/NonMSIInstallWizardPage_win.h"

#include "wizard/Widgets_win.h"

#include <algorithm>

namespace {

// The bar's own notification, and the page's "a new status text is waiting".
constexpr UINT kProgressNotification = 1026;
constexpr UINT kStatusMessage = WM_APP + 44;
constexpr int kProgressRange = 100;
constexpr DWORD kWorkerWaitSliceMs = 50;

} // namespace

NonMSIInstallWizardPage::NonMSIInstallWizardPage(PageFrame& frame, SetupAsyncInstallProcessIF* installer)
    : WizardPageBase(frame, L"NonMSIInstall"), installer_(installer) {}

void NonMSIInstallWizardPage::CreateControls(HWND parent, int, int) {
    status_ = root_.AddChild(MakeTextWidget(parent, L" ", false, kAlignLeft));
    progress_ = root_.AddChild(MakeProgressWidget(parent, kProgressNotification, kProgressRange));
}

void NonMSIInstallWizardPage::Relayout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    root_.SetGeometry({0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)});
}

PageStep NonMSIInstallWizardPage::Prepare() {
    Relayout();
    ShowWindow(Handle(), SW_SHOW);
    if (!installer_)
        return PageStep::Next;
    const SetupMode& mode = Frame().Mode();
    const AsyncInstallOperation operation =
        ChooseAsyncInstallOperation(mode.extract, mode.IsRepair(), mode.IsUninstall(), mode.IsModify());
    const auto work = [this, operation] {
        outcome_ =
            RunAsyncInstallOperation(*installer_, operation, Frame().Packages(), Frame().Choices(), *this);
    };
    WorkerOptions options;
    options.waitSliceMs = kWorkerWaitSliceMs;
    options.afterSlice = [this] { progress_->PumpProgress(); };
    options.progressMessage = kProgressNotification;
    options.onProgress = [this](WPARAM position) {
        progress_->ApplyNotification(static_cast<int>(position));
    };
    options.onEscape = [this] { installer_->Cancel(); };
    // The installer's result is the run's, Escape's cancellation included.
    options.drainAndRecordCancel = false;
    running_ = true;
    const WorkerOutcome outcome = RunWorker(work, options);
    running_ = false;
    switch (outcome) {
    case WorkerOutcome::Quit:
        return PageStep::Stay; // the application is closing
    case WorkerOutcome::NotStarted:
        work();
        break;
    case WorkerOutcome::Finished:
        break;
    }
    progress_->PumpProgress();
    Frame().Result() = outcome_;
    EnableAfterWorker();
    return PageStep::Next;
}

bool NonMSIInstallWizardPage::QueryCancel() {
    if (running_)
        installer_->Cancel();
    return WizardPageBase::QueryCancel();
}

void NonMSIInstallWizardPage::SetProgressRange(int total) {
    if (progress_)
        progress_->SetBarRange(total);
}

void NonMSIInstallWizardPage::SetStatusText(const std::wstring& text) {
    if (!status_)
        return;
    statusText_.Post(text);
    PostMessageW(Handle(), kStatusMessage, 0, 0);
}

void NonMSIInstallWizardPage::SetProgressPosition(int position) {
    if (progress_)
        progress_->SetPosition(position);
}

void NonMSIInstallWizardPage::AdvanceProgress(int step) {
    if (progress_)
        progress_->Advance(step);
}

LRESULT NonMSIInstallWizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStatusMessage) {
        if (const std::optional<std::wstring> text = statusText_.Take()) {
            status_->SetText(*text);
            Relayout();
        }
        return 0;
    }
    return WizardPageBase::HandleMessage(message, wParam, lParam);
}
