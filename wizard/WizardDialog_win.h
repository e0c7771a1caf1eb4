// CWizardDialog: the modal wizard. It decides its page list once at construction, owns the pages (each a
// child window of the frame control) and the navigator that moves between them on Next, Back and Cancel,
// and is the frame through which the pages reach its buttons and the run. The application owns the setup
// context and the services the wizard borrows.
#pragma once

#include "wizard/DialogBase_win.h"
#include "wizard/PageFrame_win.h"
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
constexpr int Page = kWizardPageControlId;
} // namespace WizardControl

constexpr unsigned kWizardDialogTemplateId = 154;

class CWizardDialog : public CDialogBase, private PageFrame, private WizardNavigationHostIF {
public:
    // Makes the page of a slot kind; null leaves the slot empty. Later page classes plug in here.
    using PageFactory = std::function<std::unique_ptr<WizardPageBase>(WizardPageKind, PageFrame&)>;

    // Builds the page list from the context's packages; `factory` defaults to the launcher's page classes,
    // `resources` to the launcher's own module.
    CWizardDialog(SetupContext& context, WizardServicesIF& services, HWND parent = nullptr,
                  PageFactory factory = {}, HMODULE resources = nullptr);
    ~CWizardDialog() override;

    // The modal run; the return value carries nothing the launcher needs (the setup result does).
    INT_PTR Run();

    const WizardFlags& Flags() const override { return flags_; }
    int CurrentIndex() const { return navigator_->CurrentIndex(); }
    WizardPageBase* CurrentPage() const;

protected:
    BOOL OnInitDialog() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    // PageFrame
    void EnableButton(WizardButton button, bool enable) override;
    void SetButtonText(WizardButton button, const std::wstring& text) override;
    void FocusButton(WizardButton button) override;
    void WidenButton(WizardButton button, int pixels) override;
    int ButtonShortfall(WizardButton button, const std::wstring& text) const override;
    void ShowLanguageBox(bool show) override;
    void EnableWizard(bool enable) override;
    void Repaint() override;
    void PostNext() override;
    bool IsVisible() const override;
    void SetVisible(bool visible) override;
    bool HasNextPage() const override { return navigator_->HasNextPage(); }
    void RefreshTexts() override;
    bool TranslateDialogMessage(MSG& message) override;
    HFONT Font(PageFont font) const override;
    HBRUSH WhiteBrush() const override { return static_cast<HBRUSH>(whiteBrush_.Get()); }
    HMODULE Resources() const override { return CDialogBase::Resources(); }

    // WizardNavigationHostIF
    bool HasUnreportedFailure() override { return Result().NeedsReport(); }
    void ReportResult() override { Services().ReportResult(); }
    void ShowForFinish() override;
    void EnableBack(bool enable) override { EnableButton(WizardButton::Back, enable); }
    void EndWizard(bool ok) override { EndDialog(ok ? IDOK : IDCANCEL); }

    void OnLanguageChanged();
    HWND Button(WizardButton button) const;

    HWND parent_;
    WizardFlags flags_;
    // While the user interface is not full the window must not appear, not even when the dialog manager
    // shows a modal dialog on its own.
    bool keepHidden_ = false;
    std::vector<WizardPageKind> kinds_;
    std::vector<std::unique_ptr<WizardPageBase>> pages_; // one per slot, null for an empty slot
    std::unique_ptr<WizardNavigator> navigator_;
    GdiObject whiteBrush_;
    IconHandle bigIcon_, smallIcon_;
};

// The launcher's page classes by slot kind; kinds without a page class yet get a page that passes on.
std::unique_ptr<WizardPageBase> MakeWizardPage(WizardPageKind kind, PageFrame& frame);
