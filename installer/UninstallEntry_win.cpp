#include "installer/UninstallEntry_win.h"

#include "launcher/SetupLog.h"
#include "launcher/SystemInfo_win.h"
#include "support/FilePath.h"
#include "support/FileUtilities_win.h"
#include "support/Registry_win.h"
#include "support/WindowsInstaller_win.h"

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr wchar_t kProductsKey[] = L"Software\\Classes\\Installer\\Products\\";

} // namespace

UninstallEntry::UninstallEntry(LogSinkIF& log, const PackageInfo& package, std::wstring languageArgument,
                               bool oldSystem)
    : log_(log), package_(package), languageArgument_(std::move(languageArgument)), oldSystem_(oldSystem) {}

void UninstallEntry::Run(EntryStep step) {
    const std::wstring launcher = ThisModulePath();
    if (launcher.empty()) {
        log_.Write(kLogLevelProgress, L"VNT (c): Failed to retrieve module file name\r\n");
        return;
    }
    UninstallEntryFacts facts;
    facts.launcherCopy = package_.PackageFolder() + L"\\" + FileNamePart(launcher);
    facts.languageArgument = languageArgument_;
    facts.icon = WindowsInstaller::GetProductInfo(package_.ProductCode(), L"ProductIcon").value_or(L"");
    facts.productName = package_.ProductName();
    facts.oldSystem = oldSystem_;
    for (const EntryAction& action : PlanUninstallEntry(step, facts))
        Carry(action, facts, launcher);
}

void UninstallEntry::Carry(const EntryAction& action, const UninstallEntryFacts& facts,
                           const std::wstring& launcher) {
    using Kind = EntryAction::Kind;
    switch (action.kind) {
    case Kind::Log:
        log_.WriteLine(kLogLevelProgress, action.text);
        return;
    case Kind::CopyLauncher:
        ICBSFileUtilities::CopyFile(launcher, facts.launcherCopy, false);
        return;
    case Kind::CopyLauncherIfMissing:
        if (!ICBSFileUtilities::Exists(facts.launcherCopy))
            ICBSFileUtilities::CopyFile(launcher, facts.launcherCopy, false);
        return;
    case Kind::ProtectCopyFolder:
        ICBSFileUtilities::RestrictFolderToAdministrators(package_.PackageFolder());
        return;
    default:
        break;
    }
    // Registry values: the entry lives in the view of the package's platform, the products key in 64 bits.
    const bool products = action.key == EntryAction::Key::Products;
    const std::wstring path = products ? kProductsKey + PackedProductCode(package_.ProductCode())
                                       : kUninstallKey + package_.ProductCode();
    const RegistryView view = products || package_.Is64Bit() ? RegistryView::Bits64 : RegistryView::Bits32;
    RegistryKey key = RegistryKey::Open(HKEY_LOCAL_MACHINE, path, view, KEY_ALL_ACCESS);
    if (!key.IsOpen())
        return;
    if (action.kind == Kind::SetNumber)
        key.WriteDword(action.name, action.number);
    else if (action.kind == Kind::SetText)
        key.WriteString(action.name, action.text);
    else if (action.kind == Kind::DeleteValue)
        key.DeleteValue(action.name);
}
