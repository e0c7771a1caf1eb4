// The conflict check's view of the running system: installed products from the registry and Windows
// Installer (read afresh on every call), rows from the built-in catalog, texts in the current language.
// Borrows the application, which owns the packages and the languages.
#pragma once

#include "launcher/ConflictCheck.h"

class CSetupApp;

class SystemConflictSource : public ConflictSource {
public:
    explicit SystemConflictSource(CSetupApp& application) : application_(application) {}

    std::vector<ProductRecord> InstallationsOfFamily(const ProductRecord& record) override;
    std::vector<ProductRecord> InstallationsOfBase(const ProductRecord& record) override;
    const ProductEdition* FindRow(std::wstring_view code, std::wstring_view edition) override;
    const ProductEdition* FindRowByKey(int key) override;
    bool MainPackageInstalled() override;
    std::wstring String(unsigned id) override;

private:
    CSetupApp& application_;
};
