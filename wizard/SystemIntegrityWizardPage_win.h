// SystemIntegrityWizardPage: before anything is unpacked, checks the main package against the products
// installed on the machine. A blocking conflict is explained and leaves only Cancel (a silent run is
// cancelled); installations in the way are listed and removed on "Remove". The page owns its layout tree
// and its two icons; the removal list holds copies of the installation records until the next check.
#pragma once

#include "launcher/ConflictCheck.h"
#include "support/Handle_win.h"
#include "wizard/ICBSImageWidget.h"
#include "wizard/ICBSStackLayout.h"
#include "wizard/ICBSTextWidget.h"
#include "wizard/ICBSVerticalLayout.h"
#include "wizard/WizardPageBase_win.h"

#include <vector>

class SystemIntegrityWizardPage : public WizardPageBase {
public:
    explicit SystemIntegrityWizardPage(PageFrame& frame);

    PageStep Prepare() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;
    // Removes the listed installations; Cancel when one of them fails (its result stands).
    PageStep QueryNext() override;

    // What the last check showed, for whoever drives the page.
    bool ShowsBlockingConflict() const;
    const std::vector<ProductRecord>& RemovalList() const { return removalList_; }

private:
    PageStep ShowBlocking(const std::vector<ConflictRecord>& records);
    PageStep ShowRemovals(const std::vector<ConflictRecord>& records);
    void SetIcon(HICON icon);

    IconHandle warningIcon_, errorIcon_;
    ICBSVerticalLayout root_{10};
    ICBSImageWidget* icon_ = nullptr;
    ICBSTextWidget* title_ = nullptr;
    ICBSStackLayout* panels_ = nullptr;
    ICBSLayout* abortPanel_ = nullptr;
    ICBSLayout* removalPanel_ = nullptr;
    ICBSTextWidget* conflictText_ = nullptr;
    ICBSTextWidget* cannotContinueText_ = nullptr;
    ICBSTextWidget* introText_ = nullptr;
    ICBSTextWidget* listText_ = nullptr;
    ICBSTextWidget* hintText_ = nullptr;
    std::vector<ProductRecord> removalList_;
};
