#include "LauncherCopy.h"

#include "LauncherRun.h"

#include <gtest/gtest.h>

#include <utility>

namespace e2e {

namespace {

constexpr WORD kManifestResourceType = 40;

// Ends an update that was not committed without writing anything.
class ResourceUpdate {
public:
    explicit ResourceUpdate(const std::wstring& path) : handle_(BeginUpdateResourceW(path.c_str(), FALSE)) {}
    ~ResourceUpdate() {
        if (handle_)
            EndUpdateResourceW(handle_, TRUE);
    }
    ResourceUpdate(const ResourceUpdate&) = delete;
    ResourceUpdate& operator=(const ResourceUpdate&) = delete;
    HANDLE Get() const { return handle_; }
    bool Commit() { return EndUpdateResourceW(std::exchange(handle_, nullptr), FALSE) != FALSE; }

private:
    HANDLE handle_;
};

} // namespace

bool MakeLauncherCopy(const std::wstring& target, const std::vector<ManifestText>& texts) {
    if (!CopyFileW(DefaultLauncherPath().c_str(), target.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy the launcher to " << WideToUtf8(target);
        return false;
    }
    ResourceUpdate update(target);
    if (!update.Get()) {
        ADD_FAILURE() << "cannot update the resources of " << WideToUtf8(target);
        return false;
    }
    for (const auto& text : texts) {
        // Little-endian UTF-16 with its zero, whatever the size of wchar_t.
        std::vector<unsigned char> bytes;
        for (wchar_t c : text.text + L'\0') {
            bytes.push_back(static_cast<unsigned char>(c & 0xFF));
            bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
        }
        if (!UpdateResourceW(update.Get(), MAKEINTRESOURCEW(kManifestResourceType), text.name.c_str(),
                             text.language, bytes.data(), static_cast<DWORD>(bytes.size()))) {
            ADD_FAILURE() << "cannot add " << WideToUtf8(text.name);
            return false;
        }
    }
    if (!update.Commit()) {
        ADD_FAILURE() << "cannot write the resources of " << WideToUtf8(target);
        return false;
    }
    return true;
}

WineProgramSettings::WineProgramSettings(const std::wstring& programFileName)
    : key_(L"Software\\Wine\\AppDefaults\\" + programFileName) {}

WineProgramSettings::~WineProgramSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str());
}

void WineProgramSettings::SetWindowsVersion(const std::wstring& version) {
    SetValue(L"", L"Version", version);
}

// An empty load order disables the library.
void WineProgramSettings::DisableLibrary(const std::wstring& name) {
    SetValue(L"\\DllOverrides", name, L"");
}

// Wine's own built-in library otherwise wins over a DLL found on disk, wherever that is.
void WineProgramSettings::PreferLibraryOnDisk(const std::wstring& name) {
    SetValue(L"\\DllOverrides", name, L"native,builtin");
}

void WineProgramSettings::SetValue(const std::wstring& subKey, const std::wstring& name,
                                   const std::wstring& value) {
    const std::wstring path = key_ + subKey;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKCU\\" << WideToUtf8(path);
        return;
    }
    if (RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        ADD_FAILURE() << "cannot set " << WideToUtf8(name);
    RegCloseKey(key);
}

} // namespace e2e
