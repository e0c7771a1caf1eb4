#include "wizard/WelcomeRules.h"

#include "StringIds.h"
#include "launcher/ProductCatalog.h"

namespace Welcome {

namespace {
// The main server line keeps its settings across major versions, so its quick install crosses them.
constexpr ProductCatalog::ProductId kMainServerLinePrefix{ProductCatalog::kMainServerCode};

} // namespace

unsigned IntroductionStringId(const SetupMode& mode, unsigned freshInstallStringId) {
    if (mode.IsRepair())
        return StringId::RepairIntroduction;
    if (mode.IsUninstall())
        return StringId::UninstallIntroduction;
    if (mode.IsModify())
        return StringId::ModifyIntroduction;
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
    return newMajorVersion && !mainProductId.starts_with(kMainServerLinePrefix)
               ? StringId::NewMajorVersion
               : StringId::ReplaceInstallation;
}

} // namespace Welcome
