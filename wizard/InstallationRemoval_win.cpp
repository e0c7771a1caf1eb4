#include "wizard/InstallationRemoval_win.h"

#include "StringIds.h"
#include "launcher/SetupLog.h"
#include "support/Format.h"

namespace {

// The removal's result code when the installation's resources were not found.
constexpr int32_t kResultResourcesMissing = 9;

void EnableWizardAndButtons(PageFrame& frame, bool enable) {
    frame.EnableButton(WizardButton::Next, enable);
    frame.EnableButton(WizardButton::Cancel, enable);
    frame.EnableButton(WizardButton::Back, enable);
    frame.EnableWizard(enable);
}

} // namespace

bool RemoveInstallationsOnNext(PageFrame& frame, const std::vector<ProductRecord*>& installations) {
    if (installations.empty())
        return true;
    WizardServicesIF& services = frame.Services();
    const int32_t level = RemovalUiLevel(frame.Mode().uiLevel);
    EnableWizardAndButtons(frame, false);
    for (ProductRecord* installation : installations) {
        const std::wstring name = installation->DisplayName();
        frame.Log(kLogLevelProgress, Format(L"SIC - Automatic uninstallation of product %s.\r\n", name));
        const SetupResult removal = services.RemoveInstalledProduct(*installation, level);
        if (removal.code == 0)
            continue;
        // An unattended run must not wait for a button: there the failure is only logged.
        if (removal.code == kResultResourcesMissing && !frame.Mode().IsQuiet())
            services.ShowErrorMessage(Format(frame.String(StringId::ResourcesMissing), name));
        frame.Result() = removal;
        frame.Log(kLogLevelProgress, Format(L"SIC - Uninstall failed - (%d) %s\r\n", removal.code,
                                            services.ResultText(removal)));
        // The buttons stay as they are: the wizard goes on to the finish page.
        frame.EnableWizard(true);
        return false;
    }
    EnableWizardAndButtons(frame, true);
    return true;
}
