#include "launcher/ProductCatalog.h"

#include <array>

namespace {

constexpr std::array kFamilies = {
    ProductFamily{14, L"GavrinServer", L"gavrinserver", L"Gavrin Server"},
    ProductFamily{15, L"TrelmoServer", L"trelmoserver", L"Trelmo Server"},
    ProductFamily{16, L"HalvoraServer", L"halvoraserver", L"Halvora Server"},
    ProductFamily{17, L"ZorvexXMLServer", L"zorvexxmlserver", L"ZorvexXML Server"},
    ProductFamily{18, L"Kestrum", L"kestrum", L"Kestrum"},
    ProductFamily{19, L"PennixServer", L"pennixserver", L"Pennix Server"},
    ProductFamily{20, L"MuntacServer", L"muntacserver", L"Muntac Server"},
};

// In the order of the full table: the order decides which row a lookup by key or by code finds.
constexpr std::array kEditions = {
    ProductEdition{24, L"GV", L"Z", L"Quenlis Gavrin Server", L"", L"GavrinServer", 14},
    ProductEdition{25, L"TR", L"Z", L"Quenlis Trelmo Server", L"", L"TrelmoServer", 15},
    ProductEdition{26, L"TQ", L"E", L"Quenlis Trelmo Server", L"Development Enterprise Edition",
                   L"TrelmoServerDev", 15},
    ProductEdition{27, L"TQ", L"P", L"Quenlis Trelmo Server", L"Development Professional Edition",
                   L"TrelmoServerDev", 15},
    ProductEdition{28, L"HV", L"Z", L"Quenlis Halvora Server", L"", L"HalvoraServer", 16},
    ProductEdition{29, L"ZV", L"L", L"Quenlis ZorvexXML+XBRL Server", L"", L"ZorvexXML+XBRLServer", 17},
    ProductEdition{30, L"ZV", L"M", L"Quenlis ZorvexXML Server", L"", L"ZorvexXMLServer", 17},
    ProductEdition{31, L"ZQ", L"M", L"Quenlis ZorvexXML Server", L"Development Edition",
                   L"ZorvexXMLServerDev", 17},
    ProductEdition{32, L"KS", L"Z", L"Quenlis Kestrum", L"", L"Kestrum", 18},
    ProductEdition{33, L"KS", L"F", L"Quenlis Kestrum", L"Offline Edition", L"KestrumOffline", 18},
    ProductEdition{34, L"PN", L"Z", L"Quenlis Pennix Server", L"", L"PennixServer", 19},
    ProductEdition{41, L"TR", L"A", L"Quenlis Trelmo Server", L"Advanced Edition", L"TrelmoServer", 15},
    ProductEdition{42, L"GV", L"A", L"Quenlis Gavrin Server", L"Advanced Edition", L"GavrinServer", 14},
    ProductEdition{43, L"HV", L"A", L"Quenlis Halvora Server", L"Advanced Edition", L"HalvoraServer", 16},
    ProductEdition{44, L"MU", L"Z", L"Quenlis Muntac Server", L"", L"MuntacServer", 20},
    ProductEdition{45, L"KS", L"N", L"Quenlis Kestrum", L"Closed Network Edition", L"Kestrum", 18},
    ProductEdition{29, L"TAX_XBRL", L"Z", L"XBRL Taxonomies", L"", L"", 17},
};

} // namespace

const ProductFamily* ProductEdition::Family() const {
    return ProductCatalog::FindFamily(familyIndex);
}

namespace ProductCatalog {

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

} // namespace ProductCatalog
