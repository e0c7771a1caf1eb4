// WelcomeWizardPage: the first page. Greets the user by the run's mode and, on a fresh install that
// replaces an installed release, offers a quick install through the Back button ("Quick Install"), which
// runs the rest of the wizard without questions. Switches the user interface to the installed product's
// language. Owns its layout tree, its icons and the records a quick install would replace.
#pragma once

#include "launcher/ProductRecord.h"
#include "support/Handle_win.h"
#include "wizard/ICBSBoxLayout.h"
#include "wizard/ICBSStackLayout.h"
#include "wizard/ICBSTextWidget.h"
#include "wizard/ICBSVerticalLayout.h"
#include "wizard/WizardPageBase_win.h"

#include <string>
#include <vector>

class WelcomeWizardPage : public WizardPageBase {
public:
    explicit WelcomeWizardPage(PageFrame& frame);

    PageStep Prepare() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;
    PageStep QueryNext() override;
    // With a quick install offered: takes it and moves forward.
    PageStep QueryBack() override;

    // The installed product a quick install would replace; empty when none is offered.
    const std::wstring& InstalledName() const { return installedName_; }
    const std::vector<ProductRecord>& Candidates() const { return candidates_; }

private:
    void DetectQuickInstall();
    // Sub-packages follow the installed main product: those installed at its version join the candidates.
    void SelectSubPackagesLike(const ProductRecord& installedMain);
    void WidenBackButton();
    void FitQuickInstallCaption(const std::wstring& caption);
    void RestoreBackButton();
    void SwitchLanguage(const std::wstring& code);

    IconHandle productIcon_, informationIcon_;
    ICBSVerticalLayout root_{10};
    ICBSBoxLayout* noticeBox_ = nullptr;
    ICBSStackLayout* texts_ = nullptr;
    ICBSLayout* upgradeColumn_ = nullptr;
    ICBSTextWidget* title_ = nullptr;
    ICBSTextWidget* productName_ = nullptr;
    ICBSTextWidget* introduction_ = nullptr;
    ICBSTextWidget* replaceNotice_ = nullptr;
    ICBSTextWidget* quickInstallHint_ = nullptr;
    ICBSTextWidget* legalNotice_ = nullptr;

    std::wstring installedName_;
    bool newMajorVersion_ = false;
    std::vector<ProductRecord> candidates_;
    int backWidened_ = 0; // pixels the Back button is wider than its own
};
