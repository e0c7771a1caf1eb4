#include "extraction/CabinetEntryPath.h"

#include "support/ICBSString.h"
#include "support/StringUtil.h"

#include <array>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Windows drops trailing dots and spaces from a path component, so "..", ". ." and "... " all climb or
// stay; none of them is a file name.
bool IsOnlyDotsAndSpaces(std::wstring_view component) {
    return component.find_first_not_of(L". ") == std::wstring_view::npos;
}

// "NUL", "nul.txt" and "COM1 .log" open devices in every folder, not files.
bool IsReservedDeviceName(std::wstring_view component) {
    std::wstring_view base = component.substr(0, component.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.remove_suffix(1);
    static constexpr std::array<std::wstring_view, 6> kDevices = {L"CON", L"PRN",    L"AUX",
                                                                  L"NUL", L"CONIN$", L"CONOUT$"};
    for (std::wstring_view device : kDevices) {
        if (EqualsNoCase(base, device))
            return true;
    }
    // COM1..COM9 and LPT1..LPT9.
    return base.size() == 4 &&
           (EqualsNoCase(base.substr(0, 3), L"COM") || EqualsNoCase(base.substr(0, 3), L"LPT")) &&
           base[3] >= L'1' && base[3] <= L'9';
}

bool IsSafeComponent(std::wstring_view component) {
    return !component.empty() && !IsOnlyDotsAndSpaces(component) && !IsReservedDeviceName(component);
}

} // namespace

std::wstring DecodeCabinetEntryName(std::string_view name, bool flaggedUtf8) {
    const unsigned codePage = flaggedUtf8 ? kCodePageUtf8 : kCodePageAnsi;
    return ICBSString::FromCodePage(name, codePage, InvalidBytes::Refuse).value_or(ICBSString());
}

bool IsSafeCabinetEntryName(std::wstring_view name) {
    // A leading separator is a root or a UNC path; a colon is a drive ("C:x") or a stream ("a:b").
    if (name.empty() || IsSeparator(name.front()) || name.find(L':') != std::wstring_view::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end]))
            ++end;
        if (!IsSafeComponent(name.substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

std::optional<std::wstring> ComposeExtractionPath(std::wstring_view destinationFolder,
                                                  std::wstring_view entryName, size_t maxLength) {
    // Without a destination folder the backslash below would make the path absolute.
    if (destinationFolder.empty() || !IsSafeCabinetEntryName(entryName))
        return std::nullopt;
    std::wstring path(destinationFolder);
    if (!IsSeparator(path.back()))
        path += L'\\';
    path += entryName;
    if (path.size() > maxLength)
        return std::nullopt;
    return path;
}
