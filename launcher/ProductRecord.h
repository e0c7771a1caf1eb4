// A product resolved against the built-in catalog: its catalog row, its four-number version and the
// flags of one package product or one installed product. The texts other parts show or match
// (identifier, version texts, display name) are computed from these.
#pragma once

#include "launcher/ProductCatalog.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ProductRecord {
public:
    ProductRecord() = default;
    // identifier: "HV::Z" and the like; version: up to four dot-separated numbers, empty for none.
    ProductRecord(std::wstring_view identifier, std::wstring_view version, bool is64Bit,
                  std::wstring language = {}, bool fromSuite = false);
    // A record on a row the caller already holds (null for none), with the four version numbers taken
    // as they are: records derived from another record's version, and rows the built-in catalog lacks.
    ProductRecord(const ProductEdition* row, const std::array<int32_t, 4>& version, bool is64Bit,
                  std::wstring language = {}, bool fromSuite = false);

    const ProductEdition* Row() const { return row_; }
    const ProductFamily* Family() const { return row_ ? row_->Family() : nullptr; }
    const std::array<int32_t, 4>& Version() const { return version_; }
    int32_t Major() const { return version_[0]; }
    int32_t Minor() const { return version_[1]; }
    bool HasVersion() const { return version_[0] >= 0; }
    bool Is64Bit() const { return is64Bit_; }
    bool IsFromSuite() const { return fromSuite_; }
    const std::wstring& Language() const { return language_; }
    bool HasActiveXControl() const { return hasActiveX_; }
    void SetHasActiveXControl(bool value) { hasActiveX_ = value; }
    // The Windows Installer product code of the installed product, cached once looked up.
    const std::wstring& ProductCode() const { return productCode_; }
    void SetProductCode(std::wstring code) { productCode_ = std::move(code); }

    // Code "::" edition of the row; empty without a row.
    std::wstring IdentifierText() const;
    // The "ProductID" an installed product's installer database carries for this record.
    std::wstring InstallerIdentifierText() const;
    std::wstring ShortVersionText() const;
    std::wstring FullVersionText() const;
    // The "VersionString" an installed product's installer database carries for this record.
    std::wstring InstallerVersionText() const;
    // "Quenlis Halvora Server 10.1 (x64)"; empty without a row or full name.
    std::wstring DisplayName() const;

    // -1, 0 or 1 by major, minor, third and fourth number; -1 when either record has no version.
    int CompareVersion(const ProductRecord& other) const;
    bool SameFamilyKey(const ProductRecord& other) const;
    bool SameMajor(const ProductRecord& other) const;
    bool IsServerProduct() const;
    bool IsDesktopProduct() const;
    // Products whose versions read as "major.minor" rather than as a year with releases.
    bool UsesDottedVersion() const;

private:
    // Up to four dot-separated numbers; major -1 for an empty text.
    static std::array<int32_t, 4> ParseVersion(std::wstring_view version);
    bool IsIntegrationOrAddOn() const;
    bool IsOldClosedNetworkVersion() const;

    const ProductEdition* row_ = nullptr;
    std::array<int32_t, 4> version_ = {-1, 0, 0, 0};
    std::wstring language_;
    std::wstring productCode_;
    bool is64Bit_ = false;
    bool hasActiveX_ = false;
    bool fromSuite_ = false;
};

// The records of one package's product identifier, at most room of them. True when every record found
// its catalog row and family.
bool BuildProductRecords(std::wstring_view identifier, std::wstring_view version, bool is64Bit,
                         std::vector<ProductRecord>& records, size_t room);
