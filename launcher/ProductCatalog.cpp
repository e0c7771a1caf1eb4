#include "launcher/ProductCatalog.h"

#include "support/StringUtil.h"

#include <algorithm>
#include <array>

namespace ProductCatalog {
namespace {

constexpr std::array kFamilies = {
    ProductFamily{14, L"GavrinServer", L"gavrinserver", L"Gavrin Server"},
    ProductFamily{15, L"TrelmoServer", L"trelmoserver", L"Trelmo Server"},
    ProductFamily{kMainServerFamily, L"HalvoraServer", L"halvoraserver", L"Halvora Server"},
    ProductFamily{17, L"ZorvexXMLServer", L"zorvexxmlserver", L"ZorvexXML Server"},
    ProductFamily{kCompanionServerFamily, L"Kestrum", L"kestrum", L"Kestrum"},
    ProductFamily{19, L"PennixServer", L"pennixserver", L"Pennix Server"},
    ProductFamily{20, L"MuntacServer", L"muntacserver", L"Muntac Server"},
};

// Every server brings the companion server's interface besides its own.
constexpr unsigned kCompanionOnly = kCompanionInterface;
constexpr unsigned kWithZorvexXml = kCompanionInterface | kZorvexXmlInterface;
constexpr unsigned kWithZorvexXbrl = kCompanionInterface | kZorvexXbrlInterface;
constexpr unsigned kWithHalvoraAdmin = kCompanionInterface | kHalvoraAdminInterface;
constexpr unsigned kWithMuntac = kCompanionInterface | kMuntacInterface;
constexpr unsigned kNoInterfaces = 0;
constexpr unsigned kNoTools = 0;

// The family's registry name with the major after it.
constexpr InstallFolder kFamilyFolder = {L"", true, 0};
// The lines that upgrade in place keep one folder across majors.
constexpr InstallFolder kFamilyFolderOfEveryMajor = {L"", false, 0};
constexpr InstallFolder kZorvexXbrlFolder = {L"ZorvexXMLXBRLServer", true, 0};
constexpr InstallFolder kZorvexXmlDevFolder = {L"ZorvexXMLServerDev", true, 0};
constexpr InstallFolder kKestrumOfflineFolder = {L"KestrumOffline", false, 0};
// The development editions of the mapping tool install where the desktop tool does.
constexpr InstallFolder kMappingToolEnterpriseFolder = {L"", true, 6};
constexpr InstallFolder kMappingToolProfessionalFolder = {L"", true, 7};

// In the order of the full table: the order decides which row a lookup by key or by code finds.
constexpr std::array kEditions = {
    ProductEdition{24, L"GV", L"Z", L"Quenlis Gavrin Server", L"", L"GavrinServer", 14, kWithZorvexXml,
                   kWorkflowSetupTool, kFamilyFolder},
    ProductEdition{25, L"TR", L"Z", L"Quenlis Trelmo Server", L"", L"TrelmoServer", 15, kCompanionOnly,
                   kTaxonomyTool, kFamilyFolder},
    ProductEdition{26, L"TQ", L"E", L"Quenlis Trelmo Server", L"Development Enterprise Edition",
                   L"TrelmoServerDev", 15, kCompanionOnly, kTaxonomyTool, kMappingToolEnterpriseFolder},
    ProductEdition{27, L"TQ", L"P", L"Quenlis Trelmo Server", L"Development Professional Edition",
                   L"TrelmoServerDev", 15, kCompanionOnly, kTaxonomyTool, kMappingToolProfessionalFolder},
    ProductEdition{28, kMainServerCode, L"Z", L"Quenlis Halvora Server", L"", L"HalvoraServer",
                   kMainServerFamily, kWithHalvoraAdmin, kNoTools, kFamilyFolderOfEveryMajor},
    ProductEdition{29, L"ZV", L"L", L"Quenlis ZorvexXML+XBRL Server", L"", L"ZorvexXML+XBRLServer", 17,
                   kWithZorvexXbrl, kTaxonomyTool | kSchemaTool, kZorvexXbrlFolder},
    ProductEdition{30, L"ZV", L"M", L"Quenlis ZorvexXML Server", L"", L"ZorvexXMLServer", 17, kWithZorvexXml,
                   kSchemaTool, kFamilyFolder},
    ProductEdition{31, L"ZQ", L"M", L"Quenlis ZorvexXML Server", L"Development Edition",
                   L"ZorvexXMLServerDev", 17, kWithZorvexXml, kSchemaTool, kZorvexXmlDevFolder},
    ProductEdition{32, kCompanionServerCode, L"Z", L"Quenlis Kestrum", L"", L"Kestrum",
                   kCompanionServerFamily, kCompanionOnly, kNoTools, kFamilyFolderOfEveryMajor},
    ProductEdition{33, kCompanionServerCode, kCompanionOfflineEdition, L"Quenlis Kestrum", L"Offline Edition",
                   L"KestrumOffline", kCompanionServerFamily, kCompanionOnly, kNoTools,
                   kKestrumOfflineFolder},
    ProductEdition{34, L"PN", L"Z", L"Quenlis Pennix Server", L"", L"PennixServer", 19, kCompanionOnly,
                   kTaxonomyTool | kSchemaTool, kFamilyFolder},
    ProductEdition{41, L"TR", L"A", L"Quenlis Trelmo Server", L"Advanced Edition", L"TrelmoServer", 15,
                   kCompanionOnly, kTaxonomyTool, kFamilyFolder},
    ProductEdition{kWorkflowServerAdvancedKey, L"GV", L"A", L"Quenlis Gavrin Server", L"Advanced Edition",
                   L"GavrinServer", 14, kWithZorvexXml, kWorkflowSetupTool, kFamilyFolder},
    ProductEdition{43, kMainServerCode, L"A", L"Quenlis Halvora Server", L"Advanced Edition",
                   L"HalvoraServer", kMainServerFamily, kWithHalvoraAdmin, kNoTools,
                   kFamilyFolderOfEveryMajor},
    ProductEdition{44, L"MU", L"Z", L"Quenlis Muntac Server", L"", L"MuntacServer", 20, kWithMuntac, kNoTools,
                   kFamilyFolder},
    ProductEdition{45, kCompanionServerCode, L"N", L"Quenlis Kestrum", L"Closed Network Edition", L"Kestrum",
                   kCompanionServerFamily, kCompanionOnly, kNoTools, kFamilyFolderOfEveryMajor},
    ProductEdition{29, L"TAX_XBRL", L"Z", L"XBRL Taxonomies", L"", L"", 17, kNoInterfaces, kNoTools,
                   kZorvexXbrlFolder},
};

// The dotted-version lines; the year-numbered ones have no row.
constexpr std::array kVersionLines = {
    VersionLine{kCompanionServerCode, 1, -1, -1},
    VersionLine{kMainServerCode, 3, -1, -1},
    // A desktop line registered per major and minor ("Installation_v<major>.<minor>").
    VersionLine{L"JN", 3, 9, 7},
};

} // namespace

std::span<const ProductFamily> Families() {
    return kFamilies;
}
std::span<const ProductEdition> Editions() {
    return kEditions;
}

const ProductFamily* FindFamily(int index) {
    for (const auto& family : kFamilies) {
        if (family.index == index)
            return &family;
    }
    return nullptr;
}

const ProductEdition* FindByKey(int key) {
    for (const auto& row : kEditions) {
        if (row.key == key)
            return &row;
    }
    return nullptr;
}

const ProductEdition* Find(std::wstring_view code, std::wstring_view edition) {
    const ProductEdition* found = nullptr;
    for (const auto& row : kEditions) {
        if (row.code == code && row.edition == edition)
            found = &row;
    }
    return found;
}

const VersionLine* FindVersionLine(std::wstring_view code) {
    for (const auto& line : kVersionLines) {
        if (EqualsNoCase(line.code, code))
            return &line;
    }
    return nullptr;
}

std::vector<std::wstring_view> FullNamesCarrying(ServerInterface serverInterface) {
    std::vector<std::wstring_view> names;
    for (const auto& row : kEditions) {
        if ((row.serverInterfaces & serverInterface) != 0 &&
            std::find(names.begin(), names.end(), row.fullName) == names.end())
            names.push_back(row.fullName);
    }
    return names;
}

std::vector<std::wstring_view> NamesOffering(FollowUpTool tool) {
    std::vector<std::wstring_view> names;
    for (const auto& row : kEditions) {
        std::wstring_view name = row.fullName;
        if (name.starts_with(kMakerPrefix))
            name.remove_prefix(kMakerPrefix.size());
        if ((row.followUpTools & tool) != 0 && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

} // namespace ProductCatalog

const ProductFamily* ProductEdition::Family() const {
    return ProductCatalog::FindFamily(familyIndex);
}
