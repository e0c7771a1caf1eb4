// UnpackWizardPage: as soon as it becomes current, unpacks the selected packages on a worker thread while
// it shows a heading, a description, the status the worker reports and a progress bar; then moves on by
// itself, in every mode. The page owns its controls and the progress handler that drives the bar; the
// application owns the packages and the unpacker.
#pragma once

#include "wizard/ExtractionProgressHandler_win.h"
#include "wizard/PostedText.h"
#include "wizard/UnpackerIF.h"
#include "wizard/WizardPageBase_win.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class UnpackWizardPage : public WizardPageBase {
public:
    static constexpr int kHeadingId = 1002;
    static constexpr int kDescriptionId = 1003;
    static constexpr int kStatusId = 1004;
    static constexpr int kProgressBarId = 1005;

    explicit UnpackWizardPage(PageFrame& frame);

    // Unpacks, then answers Next in every mode (Stay only when the application is closing).
    PageStep Activate() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;

    // The thread result of the last unpacking pass (0, or 1603 after a failure or a cancellation).
    int LastResult() const { return lastResult_.load(); }
    bool BarMoved() const { return barMoved_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // On the worker's thread: keeps the newest status text and tells the page, which applies it on its
    // own thread, so that the worker never waits for the user interface nor touches a control.
    void PostStatus(const std::wstring& text);
    void ApplyStatus();

    HWND heading_ = nullptr;
    HWND description_ = nullptr;
    HWND status_ = nullptr;
    HWND bar_ = nullptr;
    std::unique_ptr<ExtractionProgressHandler> progress_;
    std::vector<UnpackEntry> unpackList_;
    std::atomic<int> lastResult_{0};
    // The bar moves down once, the first time a status text makes the status line taller.
    bool barMoved_ = false;
    PostedText statusText_;
};
