// WizardPageBase: the base of every wizard page, a child window in the wizard's frame control. It fixes the
// operations the navigator calls and their defaults, the white painting of the page and its controls, and
// the worker-thread protocol of pages that do long work while the user-interface thread keeps pumping. A
// page reaches the wizard and the run only through its PageFrame. The wizard owns the pages; a page owns
// its window, its controls and, while busy, its worker.
#pragma once

#include "support/Handle_win.h"
#include "wizard/PageFrame_win.h"
#include "wizard/WizardPageIF.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

class WizardPageBase : public WizardPageIF {
public:
    WizardPageBase(PageFrame& frame, std::wstring name);
    ~WizardPageBase() override = default;

    // Creates the hidden page window inside `frame` at `rect`, builds the controls and deactivates the
    // page. False when the system refuses the window.
    bool CreatePageWindow(HWND frame, const RECT& rect);
    HWND Handle() const { return window_.Get(); }
    const std::wstring& Name() const { return name_; }

    // Logs, enables the buttons and runs Prepare; then, unless Prepare moved on, the wizard's texts and the
    // page's Relayout, and passes on when the wizard is not interactive.
    PageStep Activate() override;
    void Deactivate() override;
    PageStep QueryNext() override { return PageStep::Next; }
    // Records installer error 1602 (result code 3) and agrees; refuses while a worker runs (see below).
    bool QueryCancel() override;
    PageStep QueryBack() override { return PageStep::Back; }
    // The page's own part of the activation: Stay, or Next or Cancel to leave at once.
    virtual PageStep Prepare() { return PageStep::Stay; }
    virtual void CreateControls(HWND parent, int width, int height) = 0;
    // Reloads every text of the page and places the controls for the current client size.
    virtual void Relayout() = 0;

    bool CancelRequested() const { return cancelRequested_.load(); }
    // The flag itself, for work that polls it on the worker's thread; lives as long as the page.
    const std::atomic<bool>& CancelFlag() const { return cancelRequested_; }

protected:
    PageFrame& Frame() const { return frame_; }
    std::wstring LoadString(unsigned id) const { return frame_.String(id); }
    void WriteLog(int level, const std::wstring& line) const { frame_.Log(level, line); }

    // Moves a child control by (dx, dy) pixels in its parent's client coordinates, without resizing it.
    static void MoveControl(HWND control, int dx, int dy);
    // Sets the control's height to its text wrapped within its client width; returns the growth in pixels.
    int FitHeightToText(HWND control);

    // Messages of the page window; the default paints white and hands commands to OnCommand.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
    // A link of the link control `id` was clicked (or chosen with Enter): the link's index in the control
    // and its address. True when the page handled it.
    virtual bool OnLinkClicked(int /*id*/, int /*linkIndex*/, const std::wstring& /*url*/) { return false; }

    // The worker protocol. The work runs on a new thread; the caller's thread pumps messages meanwhile.
    struct WorkerOptions {
        std::wstring createdLogLine;      // logged when the thread starts; empty for none
        DWORD waitSliceMs = 50;           // wait on the thread handle when the queue is empty
        std::function<void()> afterSlice; // after every slice that timed out (e.g. a widget's pump)
        UINT progressMessage = 0;         // posted to the page by the worker; 0 for none
        std::function<void(WPARAM)> onProgress;
        // Escape: the default sets the cancel flag; a page may also tell its installer.
        std::function<void()> onEscape;
        // Logs the stop, drains for a while and records a cancellation; pages that set the result
        // themselves turn this off.
        bool drainAndRecordCancel = true;
    };
    enum class WorkerOutcome { Finished, Quit, NotStarted };
    // Runs `work` on a worker thread and pumps until it ends (steps: create suspended, resume, pump in
    // slices, quit handling, the stop line and the drain, the cancellation). The caller then moves on.
    WorkerOutcome RunWorker(std::function<void()> work, const WorkerOptions& options);
    // After a finished worker: enables Next and the wizard; the caller then answers Next (a recorded
    // failure or cancellation leads to the finish page).
    void EnableAfterWorker();

private:
    static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static bool RegisterPageClass();
    // One message out of the queue through the wizard's dialog handling; false on the quit message.
    bool PumpOneMessage(const WorkerOptions* options = nullptr);
    // The 1000 ms drain after the worker; false when a quit message ended it.
    bool Drain(const WorkerOptions& options);
    void LogQuitAndRepost();
    // Waits until the worker ends; false when the wait itself failed.
    bool WaitForWorkerServingSentMessages();

    PageFrame& frame_;
    std::wstring name_;
    WindowHandle window_;
    KernelHandle worker_;
    bool workerBusy_ = false;
    // Written by the user-interface thread, polled by the worker between its steps; never reset.
    std::atomic<bool> cancelRequested_{false};
};
