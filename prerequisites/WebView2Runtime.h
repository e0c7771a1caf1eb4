// Finding the system's WebView2 runtime without the vendor's loader: version texts compared as the loader
// compares them, and which of the keys the runtime's own installer writes gives the installed version.
// Portable: WebView2Runtime_win reads the registry and hands the values in. RuntimeLoaderIF is the seam
// where the vendor's loader can take over; the page only ever asks through it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace WebView2 {

// The two functions of the vendor's loader that the page needs, in the loader's own shape.
class RuntimeLoaderIF {
public:
    virtual ~RuntimeLoaderIF() = default;
    // The version of the runtime installed on the system (no fixed runtime's folder); false when none is.
    virtual bool GetAvailableRuntimeVersion(std::wstring& version) = 0;
    // result < 0, 0 or > 0 as a is older than, the same as or newer than b; false when either is no version.
    virtual bool CompareVersions(const std::wstring& a, const std::wstring& b, int& result) = 0;
};

// -1, 0 or 1 as a is older than, the same as or newer than b; nothing when either is no version.
// A version is decimal numbers (each below 2^32, leading zeros allowed) joined by single dots, optionally
// followed by a space and a channel name, which is ignored as the loader ignores it. Missing trailing
// numbers count as 0: "115.0" equals "115.0.0.0". An empty text, an empty number ("110..1", ".1", "1."),
// a sign, a letter or a space inside a number make the text no version, so that a damaged value is never
// read as an old or a new runtime by accident.
std::optional<int> CompareVersionText(std::wstring_view a, std::wstring_view b);

enum class RegistryHive { LocalMachine, CurrentUser };

struct RuntimeKey {
    RegistryHive hive;
    // The 32-bit view: on 64-bit Windows this is the WOW6432Node key, on 32-bit Windows the plain one,
    // which is where the runtime's (32-bit) updater writes on each.
    bool view32;
};

inline constexpr std::wstring_view kRuntimeClientKey =
    L"SOFTWARE\\Microsoft\\EdgeUpdate\\Clients\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
inline constexpr std::wstring_view kRuntimeVersionValue = L"pv";
// A machine-wide runtime first; a runtime installed without elevation is registered for the user alone.
inline constexpr RuntimeKey kRuntimeKeys[] = {{RegistryHive::LocalMachine, true},
                                              {RegistryHive::CurrentUser, false}};

// A version value that stands for an installed runtime: present, not empty and not "0.0.0.0", which the
// updater keeps for a runtime that is gone.
bool CountsAsInstalled(const std::optional<std::wstring>& versionValue);

// The installed runtime's version: the value of the first key in kRuntimeKeys order that counts as
// installed; nothing when none does. readVersion gives a key's version value (nothing for a missing key or
// value) and is not asked again once a key has given the answer.
std::optional<std::wstring>
InstalledRuntimeVersion(const std::function<std::optional<std::wstring>(const RuntimeKey&)>& readVersion);

} // namespace WebView2
