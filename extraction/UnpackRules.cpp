#include "extraction/UnpackRules.h"

#include "support/Format.h"
#include "support/StringUtil.h"

namespace {
constexpr uint16_t kEnglish = 1033;
}

bool IsTaxonomyPackage(std::wstring_view installerType) {
    return EqualsNoCase(installerType, L"taxonomy");
}

std::vector<size_t> PackagesToUnpack(const PackageList& packages, const SetupChoices& choices, bool repair) {
    std::vector<size_t> list;
    if (repair)
        return list;
    for (const PackageInfo& package : packages) {
        if (choices.Selected(package) && package.InstallerDatabase().empty())
            list.push_back(package.Index());
    }
    return list;
}

bool WantsLanguageTransform(bool multiLanguage, bool installsOrModifies, uint16_t languageId) {
    return multiLanguage && installsOrModifies && languageId != kEnglish;
}

std::wstring TransformResourceName(std::wstring_view pattern, std::wstring_view languageCode) {
    return Format(pattern, languageCode);
}

std::wstring TransformFileName(std::wstring_view languageSuffix) {
    return L"Transform" + std::wstring(languageSuffix) + L".mst";
}

std::wstring SingleInstallerDatabase(const std::vector<std::wstring>& msiFiles) {
    return msiFiles.size() == 1 ? msiFiles.front() : std::wstring();
}
