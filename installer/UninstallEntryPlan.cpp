#include "installer/UninstallEntryPlan.h"

namespace {

constexpr wchar_t kWindowsInstaller[] = L"WindowsInstaller";
constexpr wchar_t kModifyPath[] = L"ModifyPath";
constexpr wchar_t kUninstallString[] = L"UninstallString";
constexpr wchar_t kDisplayIcon[] = L"DisplayIcon";
constexpr wchar_t kProductName[] = L"ProductName";

EntryAction Log(const wchar_t* text) {
    return {EntryAction::Kind::Log, EntryAction::Key::Uninstall, {}, text, 0};
}
EntryAction Number(EntryAction::Key key, const wchar_t* name, uint32_t number) {
    return {EntryAction::Kind::SetNumber, key, name, {}, number};
}
EntryAction Text(EntryAction::Key key, const wchar_t* name, std::wstring text) {
    return {EntryAction::Kind::SetText, key, name, std::move(text), 0};
}
EntryAction Copy(EntryAction::Kind kind) {
    return {kind, EntryAction::Key::Uninstall, {}, {}, 0};
}

void Redo(const UninstallEntryFacts& f, std::vector<EntryAction>& actions) {
    using Key = EntryAction::Key;
    actions.push_back(Log(L"VNT (c): redo-after modify or re-install custom installer registry\r\n"));
    actions.push_back(Copy(EntryAction::Kind::CopyLauncherIfMissing));
    actions.push_back(Copy(EntryAction::Kind::ProtectCopyFolder));
    const std::wstring command = LauncherCommand(f.launcherCopy);
    actions.push_back(Number(Key::Uninstall, kWindowsInstaller, 0));
    actions.push_back(Text(Key::Uninstall, kModifyPath, command + f.languageArgument));
    actions.push_back(Text(Key::Uninstall, kUninstallString, command + L" /x" + f.languageArgument));
    actions.push_back(Text(Key::Uninstall, kDisplayIcon, f.icon));
    if (f.oldSystem)
        actions.push_back(Text(Key::Products, kProductName, L""));
}

} // namespace

std::vector<EntryAction> PlanUninstallEntry(EntryStep step, const UninstallEntryFacts& f) {
    using Key = EntryAction::Key;
    std::vector<EntryAction> actions;
    switch (step) {
    case EntryStep::Perform:
        actions.push_back(Log(L"VNT (c): perform custom installer registry\r\n"));
        actions.push_back(Copy(EntryAction::Kind::CopyLauncher));
        Redo(f, actions);
        break;
    case EntryStep::Redo:
        Redo(f, actions);
        break;
    case EntryStep::PrepareRemove:
        actions.push_back(Log(L"VNT (c): prepare-remove custom installer registry\r\n"));
        actions.push_back(Number(Key::Uninstall, kWindowsInstaller, 1));
        actions.push_back(Log(L"VNT (c): before delete value - custom installer registry\r\n"));
        actions.push_back({EntryAction::Kind::DeleteValue, Key::Uninstall, kDisplayIcon, {}, 0});
        actions.push_back(Log(L"VNT (c): after delete value - custom installer registry\r\n"));
        if (f.oldSystem) {
            actions.push_back(Log(L"VNT (c): before write product name - custom installer registry\r\n"));
            actions.push_back(Text(Key::Products, kProductName, f.productName));
            actions.push_back(Log(L"VNT (c): after write product name - custom installer registry\r\n"));
        }
        break;
    case EntryStep::RollBack:
        actions.push_back(Log(L"VNT (c): roll-back prepare-remove custom installer registry\r\n"));
        actions.push_back(Number(Key::Uninstall, kWindowsInstaller, 0));
        actions.push_back(Text(Key::Uninstall, kDisplayIcon, f.icon));
        if (f.oldSystem)
            actions.push_back(Text(Key::Products, kProductName, L""));
        break;
    }
    return actions;
}

std::wstring LauncherCommand(std::wstring_view launcherCopy) {
    const std::wstring copy(launcherCopy);
    return copy.find(L' ') == std::wstring::npos ? copy : L"\"" + copy + L"\"";
}
