#include "launcher/SystemConflictSource_win.h"

#include "launcher/InstalledProducts_win.h"

std::vector<ProductRecord> SystemConflictSource::InstallationsOfFamily(const ProductRecord& record) {
    std::vector<ProductRecord> installed;
    InstalledProducts::InstalledOfFamily(record, installed);
    return installed;
}

std::vector<ProductRecord> SystemConflictSource::InstallationsOfBase(const ProductRecord& record) {
    std::vector<ProductRecord> installed;
    InstalledProducts::InstalledOfBaseProduct(record, installed);
    return installed;
}

const ProductEdition* SystemConflictSource::FindRow(std::wstring_view code, std::wstring_view edition) {
    return ProductCatalog::Find(code, edition);
}

const ProductEdition* SystemConflictSource::FindRowByKey(int key) {
    return ProductCatalog::FindByKey(key);
}

bool SystemConflictSource::MainPackageInstalled() {
    return main_ && InstalledProducts::IsInstalled(*main_);
}

std::wstring SystemConflictSource::String(unsigned id) {
    return languages_.LoadString(id);
}
