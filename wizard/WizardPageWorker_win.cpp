// The worker-thread protocol of WizardPageBase: the page's activation keeps the user-interface thread
// pumping while the work runs on its own thread, and takes the worker's progress messages out in order.
#include "launcher/SetupLog.h"
#include "wizard/WizardPageBase_win.h"

#include <memory>

namespace {

// After the worker has ended, queued progress and button messages are still served for this long.
constexpr ULONGLONG kDrainMs = 1000;
constexpr DWORD kDrainSleepMs = 50;

DWORD WINAPI WorkerEntry(void* parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

} // namespace

void WizardPageBase::LogQuitAndRepost() {
    WriteLog(kLogLevelProgress, L"VNT (c): Received 'quit' message\r\n");
    PostQuitMessage(0);
}

// Takes one message from the queue and handles it. Messages are classified after they are removed: a
// progress message posted between a look at the queue and its removal would otherwise be dispatched to the
// page's window procedure and lost. False when the message was the quit message.
bool WizardPageBase::PumpOneMessage(const WorkerOptions* options) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return true;
    if (msg.message == WM_QUIT)
        return false;
    if (options && options->progressMessage != 0 && msg.message == options->progressMessage &&
        msg.hwnd == window_.Get()) {
        if (options->onProgress)
            options->onProgress(msg.wParam);
        return true;
    }
    if (!frame_.TranslateDialogMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

bool WizardPageBase::Drain(const WorkerOptions& options) {
    const ULONGLONG start = GetTickCount64();
    while (GetTickCount64() - start < kDrainMs) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            Sleep(kDrainSleepMs);
            continue;
        }
        if (!PumpOneMessage(&options))
            return false;
    }
    return true;
}

WizardPageBase::WorkerOutcome WizardPageBase::RunWorker(std::function<void()> work,
                                                        const WorkerOptions& options) {
    auto parameter = std::make_unique<std::function<void()>>(std::move(work));
    worker_.Attach(CreateThread(nullptr, 0, &WorkerEntry, parameter.get(), CREATE_SUSPENDED, nullptr));
    if (!worker_)
        return WorkerOutcome::NotStarted;
    parameter.release(); // the thread owns it now
    workerBusy_ = true;
    // Logged while the thread still waits, so the line always stands before anything the work logs.
    if (!options.createdLogLine.empty())
        WriteLog(kLogLevelProgress, options.createdLogLine);
    ResumeThread(worker_.Get());

    struct BusyReset {
        WizardPageBase& page;
        ~BusyReset() {
            page.workerBusy_ = false;
            page.worker_.Close();
        }
    } busyReset{*this};

    for (;;) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                PeekMessageW(&msg, msg.hwnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
                cancelRequested_ = true;
                if (options.onEscape)
                    options.onEscape();
                continue;
            }
            if (!PumpOneMessage(&options)) {
                // The worker works on this page's data: it is told to stop and joined, so that it never
                // outlives the page when the application now closes.
                LogQuitAndRepost();
                cancelRequested_ = true;
                WaitForWorkerServingSentMessages();
                return WorkerOutcome::Quit;
            }
            continue;
        }
        if (WaitForSingleObject(worker_.Get(), options.waitSliceMs) == WAIT_OBJECT_0)
            break;
        if (options.afterSlice)
            options.afterSlice();
    }

    if (options.drainAndRecordCancel) {
        WriteLog(kLogLevelProgress, L"VNT (c): Worker-thread stopped\r\n");
        if (!Drain(options)) {
            LogQuitAndRepost();
            return WorkerOutcome::Quit;
        }
        if (cancelRequested_)
            frame_.Result().Set(ResultCode::UserCancelled, 0, false);
    }
    return WorkerOutcome::Finished;
}

void WizardPageBase::EnableAfterWorker() {
    frame_.EnableButton(WizardButton::Next, true);
    frame_.EnableWizard(true);
}
