// The built-in product catalog: the server product families and their editions, read-only tables
// compiled into the program. Rows of the maker's desktop products are not carried, so lookups of their
// keys find nothing.
#pragma once

#include <span>
#include <string_view>

struct ProductFamily {
    int index;
    std::wstring_view registryName;
    std::wstring_view lowerCaseName;
    std::wstring_view displayName;
};

struct ProductEdition {
    int key;
    std::wstring_view code;
    std::wstring_view edition;
    std::wstring_view fullName;
    std::wstring_view editionName;
    std::wstring_view registryName;
    int familyIndex;

    // The family this edition belongs to; none when the family table has no such row.
    const ProductFamily* Family() const;
};

namespace ProductCatalog {

std::span<const ProductFamily> Families();
std::span<const ProductEdition> Editions();

const ProductFamily* FindFamily(int index);
// The first row with the key (keys repeat: the taxonomy row shares one).
const ProductEdition* FindByKey(int key);
// The last row, in table order, whose code and edition equal the given ones (letter case counts).
const ProductEdition* Find(std::wstring_view code, std::wstring_view edition);

} // namespace ProductCatalog
