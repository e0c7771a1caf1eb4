#include "installer/UninstallEntryPlan.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr wchar_t kWindowsInstaller[] = L"WindowsInstaller";
constexpr wchar_t kModifyPath[] = L"ModifyPath";
constexpr wchar_t kUninstallString[] = L"UninstallString";
constexpr wchar_t kDisplayIcon[] = L"DisplayIcon";
constexpr wchar_t kProductName[] = L"ProductName";
constexpr size_t kBracedCodeLength = 38;

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

std::wstring PackedProductCode(std::wstring_view code) {
    if (code.size() != kBracedCodeLength || code.front() != L'{' || code.back() != L'}')
        return {};
    for (size_t i : {9u, 14u, 19u, 24u}) {
        if (code[i] != L'-')
            return {};
    }
    const std::wstring_view inner = code.substr(1, kBracedCodeLength - 2);
    for (size_t i = 0; i < inner.size(); ++i) {
        if (i != 8 && i != 13 && i != 18 && i != 23 && !std::iswxdigit(inner[i]))
            return {};
    }
    std::wstring packed;
    // The first three groups are reversed as a whole.
    for (auto [start, length] : {std::pair<size_t, size_t>{0, 8}, {9, 4}, {14, 4}}) {
        std::wstring group(inner.substr(start, length));
        std::reverse(group.begin(), group.end());
        packed += group;
    }
    // The last two groups are read byte by byte, each byte's two characters swapped.
    for (auto [start, length] : {std::pair<size_t, size_t>{19, 4}, {24, 12}}) {
        for (size_t i = start; i < start + length; i += 2) {
            packed += inner[i + 1];
            packed += inner[i];
        }
    }
    return packed;
}
