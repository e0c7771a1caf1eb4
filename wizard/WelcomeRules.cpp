#include "wizard/WelcomeRules.h"

#include "launcher/ProductCatalog.h"

namespace Welcome {

namespace {

constexpr unsigned kStringUninstallIntroduction = 36;
constexpr unsigned kStringModifyIntroduction = 37;
constexpr unsigned kStringRepairIntroduction = 38;
constexpr unsigned kStringReplaceInstallation = 1343;
constexpr unsigned kStringNewMajorVersion = 1345;
// The main server line keeps its settings across major versions, so its quick install crosses them.
constexpr ProductCatalog::ProductId kMainServerLinePrefix{ProductCatalog::kMainServerCode};

} // namespace

unsigned IntroductionStringId(const SetupMode& mode, unsigned freshInstallStringId) {
    if (mode.IsRepair())
        return kStringRepairIntroduction;
    if (mode.IsUninstall())
        return kStringUninstallIntroduction;
    if (mode.IsModify())
        return kStringModifyIntroduction;
    return freshInstallStringId;
}

bool OffersQuickInstall(const UpgradeCase& upgrade) {
    if (!upgrade.desktopProduct && !upgrade.serverProduct)
        return false;
    if (upgrade.desktopProduct && upgrade.hasActiveXControl && upgrade.sameMajor)
        return false;
    if (!upgrade.sameMajor && !upgrade.candidatesEmpty && upgrade.anyCustomFolder)
        return upgrade.mainProductId.starts_with(kMainServerLinePrefix);
    return true;
}

unsigned ReplaceNoticeStringId(bool newMajorVersion, std::wstring_view mainProductId) {
    return newMajorVersion && !mainProductId.starts_with(kMainServerLinePrefix) ? kStringNewMajorVersion
                                                                                : kStringReplaceInstallation;
}

} // namespace Welcome
