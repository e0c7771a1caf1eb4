#include "launcher/ManifestRules.h"

#include "support/Format.h"
#include "support/StringUtil.h"

#include <cstdint>

namespace {

// Language codes of the transforms a multi-language launcher must carry for every package.
constexpr const wchar_t* kTransformLanguageCodes[] = {L"1031", L"1034", L"1036", L"1041", L"2052"};

} // namespace

int ParsePackageCount(std::wstring_view text) {
    long long count = 0;
    if (!ParseWholeDecimal(Trim(text, L" \t\r\n"), count) || count < 0 || count > INT32_MAX)
        return 0;
    return static_cast<int>(count);
}

bool IsPlainFolderName(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..")
        return false;
    // Windows drops trailing dots and blanks, so "..." or "x " would name another folder.
    if (name.back() == L'.' || name.back() == L' ')
        return false;
    for (wchar_t c : name) {
        if (c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos)
            return false;
    }
    return true;
}

PackageDescription ReadManifestPackage(const ManifestTextReader& read, int n) {
    const auto text = [&](const wchar_t* prefix) { return read(Format(L"%s%d", prefix, n)).value_or(L""); };
    PackageDescription d;
    d.productName = text(L"PRODUCT_NAME_");
    d.productCode = text(L"PRODUCT_CODE_");
    d.packageCode = text(L"PACKAGE_CODE_");
    d.productId = text(L"PRODUCT_ID_");
    d.is64Bit = text(L"PRODUCT_PLATFORM_") == L"x64";
    d.version = text(L"PRODUCT_VERSION_");
    if (auto type = read(Format(L"INSTALLER_TYPE_%d", n)))
        d.installerType = *type;
    d.packageData = Format(L"PACKAGE_%d", n);
    d.languageDataPattern = d.packageData + L"_%s";
    d.main = n == 0;
    return d;
}

bool DefaultSelection(const SelectionFacts& facts) {
    if (facts.extract)
        return true;
    if (facts.repair || facts.uninstall)
        return facts.installed;
    if (facts.main)
        return true;
    if (facts.mainExists && facts.mainInstalled)
        return facts.installed;
    return !facts.installed;
}

std::vector<WantedResource> ResourcesToValidate(int count, bool multiLanguage) {
    std::vector<WantedResource> wanted = {{L"OS", {}}, {L"PACKAGE_COUNT", {}}};
    for (int n = 0; n < count; ++n) {
        for (const wchar_t* text : {L"PRODUCT_NAME_", L"PRODUCT_CODE_", L"PRODUCT_ID_", L"PRODUCT_VERSION_",
                                    L"PRODUCT_PLATFORM_", L"PACKAGE_CODE_", L"PACKAGE_"})
            wanted.push_back({Format(L"%s%d", text, n), {}});
        if (multiLanguage) {
            for (const wchar_t* code : kTransformLanguageCodes)
                wanted.push_back({Format(L"PACKAGE_%d_%s", n, code), code});
        }
    }
    return wanted;
}

std::wstring ValidationFailureLine(const WantedResource& resource) {
    const std::wstring language = resource.languageCode.empty() ? L"" : L" [" + resource.languageCode + L"]";
    return Format(L"    Test for resource %s%s failed!", resource.name, language);
}
