// The conflict check's view of the running system: installed products from the registry and Windows
// Installer (read afresh on every call), rows from the built-in catalog, texts in the current language.
// Borrows the main package and the languages, which the setup context owns.
#pragma once

#include "launcher/ConflictCheck.h"
#include "launcher/LanguageTable.h"
#include "launcher/PackageInfo.h"

class SystemConflictSource : public ConflictSource {
public:
    // main: null for an empty package list.
    SystemConflictSource(const PackageInfo* main, const LanguageTable& languages)
        : main_(main), languages_(languages) {}

    std::vector<ProductRecord> InstallationsOfFamily(const ProductRecord& record) override;
    std::vector<ProductRecord> InstallationsOfBase(const ProductRecord& record) override;
    const ProductEdition* FindRow(std::wstring_view code, std::wstring_view edition) override;
    const ProductEdition* FindRowByKey(int key) override;
    bool MainPackageInstalled() override;
    std::wstring String(unsigned id) override;

private:
    const PackageInfo* main_;
    const LanguageTable& languages_;
};
