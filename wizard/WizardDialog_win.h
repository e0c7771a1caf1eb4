// CWizardDialog: the modal wizard. It decides its page list once at construction, owns the pages (each a
// child window of the frame control), moves between them on Next, Back and Cancel, and holds the state
// pages share: the mode predicates, the present-flags, the white brush and the three property strings.
// The host (the application) owns the result, the log, the packages and the languages.
#pragma once

#include "wizard/DialogBase_win.h"
#include "wizard/WizardHostIF.h"
#include "wizard/WizardNavigator.h"
#include "wizard/WizardPageBase_win.h"
#include "wizard/WizardRules.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace WizardControl {
constexpr int Next = IDOK;
constexpr int Cancel = IDCANCEL;
constexpr int Back = 1000;
constexpr int LanguageBox = 1015;
constexpr int Frame = 1036;
constexpr int Page = 1037;
} // namespace WizardControl

constexpr unsigned kWizardDialogTemplateId = 154;

class CWizardDialog : public CDialogBase, private WizardNavigationHostIF {
public:
    // Makes the page of a slot kind; null leaves the slot empty. Later page classes plug in here.
    using PageFactory = std::function<std::unique_ptr<WizardPageBase>(WizardPageKind, CWizardDialog&)>;

    // Builds the page list from the host's packages; `factory` defaults to the launcher's page classes,
    // `resources` to the launcher's own module.
    CWizardDialog(WizardHostIF& host, std::wstring title, HWND parent = nullptr, PageFactory factory = {},
                  HMODULE resources = nullptr);
    ~CWizardDialog() override;

    // The modal run; the return value carries nothing the launcher needs (the setup result does).
    INT_PTR Run();

    void GoNext() { navigator_->GoNext(); }
    void GoBack() { navigator_->GoBack(); }
    void CancelWizard() { navigator_->CancelWizard(); }
    void RefreshTexts();
    void OnLanguageChanged();
    void SetInstallerResult(int32_t installerError);
    bool HasNextPage() const { return navigator_->HasNextPage(); }

    // The run's mode as the command line and the installed main product decide it.
    WizardMode Mode() const;
    bool IsUninstall() const { return Mode().IsUninstall(); }
    bool IsRepair() const { return Mode().IsRepair(); }
    bool IsModify() const { return Mode().IsModify(); }
    bool IsFreshInstall() const { return Mode().IsFreshInstall(); }
    bool IsInteractive() const;
    bool OffersLanguageChoice() const { return host_.OffersLanguageChoice(); }

    WizardHostIF& Host() const { return host_; }
    HBRUSH WhiteBrush() const { return static_cast<HBRUSH>(whiteBrush_.Get()); }
    const WizardFlags& Flags() const { return flags_; }
    bool MainProductInstalled() const { return mode_.mainProductInstalled; }
    std::wstring& BackupOptions() { return backupOptions_; }
    std::wstring& ServiceConfiguration() { return serviceConfiguration_; }
    std::wstring& WorkflowOptions() { return workflowOptions_; }

    const std::vector<WizardPageKind>& PageKinds() const { return kinds_; }
    int CurrentIndex() const { return navigator_->CurrentIndex(); }
    int FinishIndex() const { return navigator_->FinishIndex(); }
    int PageCount() const { return navigator_->PageCount(); }
    WizardPageBase* CurrentPage() const;
    WizardPageBase* PageAt(int index) const;

    std::wstring LoadString(unsigned id) const;
    void WriteLog(int level, const std::wstring& line) const { host_.WriteLogLine(level, line); }
    void EnableButton(int id, bool enable) const;

protected:
    BOOL OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // WizardNavigationHostIF
    bool HasUnreportedFailure() override { return host_.Result().NeedsReport(); }
    void ReportResult() override { host_.ReportResult(); }
    void ShowForFinish() override;
    void EnableBack(bool enable) override { EnableButton(WizardControl::Back, enable); }
    void EndWizard(bool ok) override { EndDialog(ok ? IDOK : IDCANCEL); }

    WizardHostIF& host_;
    std::wstring title_;
    HWND parent_;
    WizardMode mode_;
    WizardFlags flags_;
    bool fullUserInterface_;
    // While the user interface is not full the window must not appear, not even when the dialog manager
    // shows a modal dialog on its own.
    bool keepHidden_ = false;
    std::vector<WizardPageKind> kinds_;
    std::vector<std::unique_ptr<WizardPageBase>> pages_; // one per slot, null for an empty slot
    std::unique_ptr<WizardNavigator> navigator_;
    GdiObject whiteBrush_;
    IconHandle bigIcon_, smallIcon_;
    std::wstring backupOptions_, serviceConfiguration_, workflowOptions_;
};

// The launcher's page classes by slot kind; kinds without a page class yet get a page that passes on.
std::unique_ptr<WizardPageBase> MakeWizardPage(WizardPageKind kind, CWizardDialog& wizard);
