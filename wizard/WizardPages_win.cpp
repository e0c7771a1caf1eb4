// The launcher's page classes by slot kind.
#include "prerequisites/MosquittoWizardPage_win.h"
#include "prerequisites/WebView2WizardPage_win.h"
#include "server/HVOptionsWizardPage_win.h"
#include "server/ServiceConfigurationWizardPage_win.h"
#include "wizard/FinishWizardPage_win.h"
#include "wizard/InstallWizardPage_win.h"
#include "wizard/NonMSIInstallWizardPage_win.h"
#include "wizard/SubPackagesWizardPage_win.h"
#include "wizard/SystemIntegrityWizardPage_win.h"
#include "wizard/UnpackWizardPage_win.h"
#include "wizard/WelcomeWizardPage_win.h"
#include "wizard/WizardDialog_win.h"

std::unique_ptr<WizardPageBase> MakeWizardPage(WizardPageKind kind, PageFrame& frame) {
    switch (kind) {
    case WizardPageKind::Empty:
        return nullptr;
    case WizardPageKind::Welcome:
        return std::make_unique<WelcomeWizardPage>(frame);
    case WizardPageKind::SubPackages:
        return std::make_unique<SubPackagesWizardPage>(frame);
    case WizardPageKind::SystemIntegrity:
        return std::make_unique<SystemIntegrityWizardPage>(frame);
    case WizardPageKind::Unpack:
        return std::make_unique<UnpackWizardPage>(frame);
    case WizardPageKind::HVOptions:
        return std::make_unique<HVOptionsWizardPage>(frame);
    case WizardPageKind::WebView2: {
        // The launcher's stand-in for the vendor's loader reads the runtime's registry values; it keeps
        // nothing, so one serves every wizard.
        static WebView2::RegistryRuntimeLoader loader;
        return std::make_unique<WebView2WizardPage>(frame, loader);
    }
    case WizardPageKind::Mosquitto:
        return std::make_unique<MosquittoWizardPage>(frame);
    case WizardPageKind::ServiceConfiguration:
        return std::make_unique<ServiceConfigurationWizardPage>(frame);
    case WizardPageKind::Install:
        return std::make_unique<InstallWizardPage>(frame);
    case WizardPageKind::NonMSIInstall:
        return std::make_unique<NonMSIInstallWizardPage>(frame, frame.Services().NonMSIInstaller());
    case WizardPageKind::Finish:
        return std::make_unique<FinishWizardPage>(frame);
    }
    return nullptr;
}
