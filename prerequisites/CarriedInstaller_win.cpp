#include "prerequisites/CarriedInstaller_win.h"

#include "extraction/PayloadCheck_win.h"
#include "launcher/ManifestRules.h"
#include "support/FileUtilities_win.h"
#include "support/Handle_win.h"

#include <windows.h>

namespace {

std::optional<std::string_view> CarriedBytes(std::wstring_view name) {
    HMODULE module = GetModuleHandleW(nullptr);
    const std::wstring resourceName(name), type(kEmbeddedInstallerType);
    HRSRC resource = FindResourceW(module, resourceName.c_str(), type.c_str());
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    return std::string_view(static_cast<const char*>(bytes), SizeofResource(module, resource));
}

} // namespace

std::optional<std::string> CarriedResourceText(std::wstring_view name) {
    const std::optional<std::string_view> bytes = CarriedBytes(name);
    return bytes ? std::optional<std::string>(std::string(*bytes)) : std::nullopt;
}

bool WriteCarriedInstaller(std::wstring_view name, const std::wstring& path) {
    const std::optional<std::string_view> bytes = CarriedBytes(name);
    // A damaged installer is never written, let alone run: it counts as missing.
    if (!bytes || !LauncherResourceMatches(PayloadKind::Extra, std::wstring(name), 0))
        return false;
    ICBSFileUtilities::EnsureParentFolder(path);
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return WriteFile(file.Get(), bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr) &&
           written == bytes->size();
}
