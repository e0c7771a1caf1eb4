#include "installer/NonMSIMachine_win.h"

#include "launcher/InstalledProducts_win.h"
#include "launcher/NonMSIRegistration.h"
#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"
#include "support/Registry_win.h"

bool NonMSIMachine::RegistrationExists(const PackageInfo& package) {
    return InstalledProducts::NonMSIRegisteredPackageCode(package).has_value();
}

NonMSIMachineIF::Creation NonMSIMachine::CreateRegistration(const PackageInfo& package) {
    const std::wstring path = NonMSIRegistration::KeyPath(package.ProductCode());
    if (path.empty())
        return Creation::Failed;
    bool createdNew = false;
    const RegistryKey key =
        RegistryKey::Create(HKEY_CURRENT_USER, path, InstalledProducts::NonMSIRegistrationView(package),
                            KEY_ALL_ACCESS, &createdNew);
    if (!key.IsOpen())
        return Creation::Failed;
    return createdNew ? Creation::Created : Creation::AlreadyThere;
}

bool NonMSIMachine::WriteRegistrationValue(const PackageInfo& package, const RegistrationValue& value) {
    const std::wstring path = NonMSIRegistration::KeyPath(package.ProductCode());
    if (path.empty())
        return false;
    RegistryKey key = RegistryKey::Open(HKEY_CURRENT_USER, path,
                                        InstalledProducts::NonMSIRegistrationView(package), KEY_SET_VALUE);
    if (!key.IsOpen())
        return false;
    if (const auto* text = std::get_if<std::wstring>(&value.value))
        return key.WriteString(value.name, *text);
    return key.WriteDword(value.name, std::get<uint32_t>(value.value));
}

bool NonMSIMachine::DeleteRegistration(const PackageInfo& package) {
    const std::wstring path = NonMSIRegistration::KeyPath(package.ProductCode());
    if (path.empty())
        return false;
    const RegistryView view = InstalledProducts::NonMSIRegistrationView(package);
    // Opened only to learn whether the list's key admits the deletion; a refusal fails the removal.
    if (!RegistryKey::Open(HKEY_CURRENT_USER, NonMSIRegistration::kUninstallKey, view, KEY_ALL_ACCESS)
             .IsOpen())
        return false;
    return RegistryKey::DeleteTree(HKEY_CURRENT_USER, path, view);
}

std::wstring NonMSIMachine::RunningLauncher() {
    return ThisModulePath();
}

bool NonMSIMachine::CopyReplacing(const std::wstring& source, const std::wstring& target) {
    return ICBSFileUtilities::CopyFile(source, target, false);
}
