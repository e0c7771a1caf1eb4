#include "launcher/PropertyCheck.h"

#include "support/Format.h"
#include "support/StringUtil.h"

namespace {
bool IsPortProperty(const std::wstring& name) {
    const size_t underscore = name.find(L'_');
    if (underscore == std::wstring::npos)
        return false;
    const std::wstring_view rest = std::wstring_view(name).substr(underscore + 1);
    return EqualsNoCase(rest, L"WebServer_Port") || EqualsNoCase(rest, L"SSLWebServer_Port");
}
} // namespace

PropertyCheckResult CheckProperties(const std::vector<std::wstring>& properties,
                                    const std::vector<std::wstring>& knownNames, const std::wstring& errorFormat,
                                    const std::function<void(const std::wstring& name)>& warn) {
    PropertyCheckResult result;
    for (const auto& property : properties) {
        const size_t equals = property.find(L'=');
        const std::wstring name = property.substr(0, equals);
        const std::wstring value = equals == std::wstring::npos ? std::wstring() : property.substr(equals + 1);
        if (EqualsNoCase(name, L"lang") || EqualsNoCase(name, L"SubPackages") || EqualsNoCase(name, L"TRANSFORMS"))
            continue;
        bool known = false;
        for (const auto& candidate : knownNames) {
            if (EqualsNoCase(candidate, name)) {
                known = true;
                break;
            }
        }
        if (!known) {
            warn(name);
            continue;
        }
        // The parser stores an empty value as "" and a value with spaces in quotes; the number is
        // what stands between them.
        std::wstring_view number = value;
        if (number.size() >= 2 && number.front() == L'"' && number.back() == L'"')
            number = number.substr(1, number.size() - 2);
        long long parsed = 0;
        if (IsPortProperty(name) && !ParseWholeDecimal(number, parsed)) {
            result.errorText += Format(errorFormat, name) + L"\n";
            result.allValid = false;
        }
    }
    return result;
}
