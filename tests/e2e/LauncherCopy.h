// Launchers for end-to-end tests that need manifest texts: a copy of SetupLauncher.exe with type-40
// text resources added through the system's resource updater, and per-program Wine settings (the
// Windows version Wine reports, libraries it refuses to load or takes from disk) that a test sets and removes
// again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct ManifestText {
    std::wstring name;
    LANGID language;
    std::wstring text; // stored as UTF-16LE with a terminating zero
};

// Copies the default launcher to target and adds the texts. False (with a test failure) when that fails.
bool MakeLauncherCopy(const std::wstring& target, const std::vector<ManifestText>& texts);

// Wine settings for every program of one file name (other programs and later tests are not
// affected), removed again when the owner ends.
class WineProgramSettings {
public:
    explicit WineProgramSettings(const std::wstring& programFileName);
    ~WineProgramSettings();
    WineProgramSettings(const WineProgramSettings&) = delete;
    WineProgramSettings& operator=(const WineProgramSettings&) = delete;

    // The Windows version Wine reports: "win7", "vista", "winxp64"...
    void SetWindowsVersion(const std::wstring& version);
    // The program cannot load this system library ("d2d1"), as on a machine without it.
    void DisableLibrary(const std::wstring& name);
    // The program loads a DLL of this name found on its search path, as Windows does ("msi").
    void PreferLibraryOnDisk(const std::wstring& name);

private:
    void SetValue(const std::wstring& subKey, const std::wstring& name, const std::wstring& value);

    std::wstring key_;
};

} // namespace e2e
