// The decisions of the welcome page that need no window: the greeting by mode, whether an upgrade found on
// the machine is offered as a quick install, and which notice tells the user what will be replaced.
#pragma once

#include "wizard/WizardRules.h"

#include <string>
#include <string_view>

namespace Welcome {

// The introduction for the mode; a fresh install greets with the launcher's own introduction text.
unsigned IntroductionStringId(const SetupMode& mode, unsigned freshInstallStringId);

// What the quick-install decision looks at, for an upgrade of the main package's product.
struct UpgradeCase {
    bool desktopProduct = false;
    bool serverProduct = false;
    bool hasActiveXControl = false; // the installed version's folder holds the ActiveX control
    bool sameMajor = false;
    bool candidatesEmpty = true;
    bool anyCustomFolder = false; // some candidate was installed to a folder of the user's choice
    std::wstring mainProductId;   // "HV::Z" and the like
};
bool OffersQuickInstall(const UpgradeCase& upgrade);

// The notice above the quick-install hint: a new major version of the product (not for the main server
// line, which replaces across majors), or a plain replacement.
unsigned ReplaceNoticeStringId(bool newMajorVersion, std::wstring_view mainProductId);

} // namespace Welcome
