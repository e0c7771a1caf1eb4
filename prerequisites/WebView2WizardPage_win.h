// WebView2WizardPage: makes sure a desktop product finds the WebView2 runtime: the system's runtime when
// it is recent enough or a fixed runtime already in place; otherwise the user installs the newest runtime
// through the vendor's bootstrapper, has the fixed runtime downloaded and unpacked, or goes on without.
// The page owns its layout tree, its state (shared with the download worker) and the worker, which it
// ends before it goes.
#pragma once

#include "prerequisites/WebView2Rules.h"
#include "prerequisites/WebView2Runtime_win.h"
#include "support/Download_win.h"
#include "wizard/ICBSVerticalLayout.h"
#include "wizard/WizardPageBase_win.h"

#include <atomic>
#include <thread>

class ICBSTextWidget;
class ICBSTextWithHyperlinksWidget;
class ICBSRadioButtonWidget;
class ICBSProgressWidget;
class ICBSStackLayout;

class WebView2WizardPage : public WizardPageBase {
public:
    // The download server is the maker's unless the launcher carries a test bundle's replacement or the
    // caller (a test) names another.
    WebView2WizardPage(PageFrame& frame, WebView2::RuntimeLoaderIF& loader, std::wstring downloadServer = {});
    ~WebView2WizardPage() override;

    PageStep Prepare() override;
    PageStep QueryNext() override;
    bool QueryCancel() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;

    WebView2::PageState State() const { return static_cast<WebView2::PageState>(state_.load()); }
    const std::wstring& RuntimeFolder() const { return runtimeFolder_; }
    bool Decided() const { return decided_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code) override;
    bool OnLinkClicked(int id, int linkIndex, const std::wstring& url) override;

private:
    void SetState(WebView2::PageState state) { state_ = static_cast<int>(state); }
    void ShowChoices();
    void ShowProgress();
    WebView2::Choice Selected() const;
    void ShowMessage(unsigned id);
    bool LicenceAccepted();
    // Writes the bootstrapper (or takes the workload's file) and runs it, waiting; the state tells how.
    void RunBootstrapper();
    void StartDownload();
    // The worker: the download, then the cabinet unpacked; posts the state each step ends in.
    void DownloadAndUnpack();
    void Post(WebView2::PageState state);
    std::wstring DownloadServer() const;

    WebView2::RuntimeLoaderIF& loader_;
    const std::wstring downloadServer_;
    const UINT statusMessage_;
    std::atomic<int> state_{0};
    std::atomic<bool> cancel_{false};
    DownloadState download_;
    std::thread worker_;
    std::wstring runtimeFolder_;
    bool decided_ = false;
    bool shownBefore_ = false;
    WebView2::RuntimeFinding runtime_;

    ICBSVerticalLayout root_{5};
    ICBSTextWidget* heading_ = nullptr;
    ICBSTextWidget* requirement_ = nullptr;
    ICBSRadioButtonWidget* newest_ = nullptr;
    ICBSRadioButtonWidget* fixed_ = nullptr;
    ICBSRadioButtonWidget* later_ = nullptr;
    ICBSStackLayout* panels_ = nullptr;
    ICBSTextWithHyperlinksWidget* description_ = nullptr;
    ICBSProgressWidget* progress_ = nullptr;
};
