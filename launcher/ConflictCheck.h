// The conflict check run before anything is unpacked: which installed products stand in the way of a
// package's products, sorted into blocking conflicts (the setup cannot go on) and removable ones (an
// installation to be replaced). The rules need no system: what the machine has installed and what the
// catalog holds come through ConflictSource, which the Windows layer fills and tests fake.
#pragma once

#include "launcher/ProductRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ConflictRecord {
    std::wstring message; // shown to the user
    bool removable = false;
    // The installation concerned; none for a conflict that no removal can resolve.
    std::optional<ProductRecord> installation;
};

class ConflictSource {
public:
    virtual ~ConflictSource() = default;
    // The installations of the record's product family found on the system, in the order found. Asked
    // afresh on every call.
    virtual std::vector<ProductRecord> InstallationsOfFamily(const ProductRecord& record) = 0;
    // For an integration package: the installations of the product it extends.
    virtual std::vector<ProductRecord> InstallationsOfBase(const ProductRecord& record) = 0;
    // The catalog row of a code and edition ("PL", "E"); null when the catalog has none.
    virtual const ProductEdition* FindRow(std::wstring_view code, std::wstring_view edition) = 0;
    // The first catalog row with the key: the base product of an integration package.
    virtual const ProductEdition* FindRowByKey(int key) = 0;
    // Whether the main package's product is installed.
    virtual bool MainPackageInstalled() = 0;
    // A string-table text in the current user-interface language.
    virtual std::wstring String(unsigned id) = 0;
};

// Clears `records`, fills them in the order the rules find them and returns whether the result blocks.
// `products` are the package's product records (two or more: a product suite); `packageProductId` is the
// package's product identifier ("PL::E" and the like), which names a suite.
bool CheckConflicts(const std::vector<ProductRecord>& products, std::wstring_view packageProductId,
                    ConflictSource& source, std::vector<ConflictRecord>& records);
