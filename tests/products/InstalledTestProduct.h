// Test products really installed through Windows Installer for the length of a test, for the Windows
// and the end-to-end tests alike: where the build leaves each database (beside the test program), whether
// a product is installed, and an owner that installs one and removes it again whatever the test's outcome.
#pragma once

#include "support/Registry_win.h"
#include "support/WindowsInstaller_win.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

namespace TestProducts {

// The products folder beside the running test program.
inline std::wstring ProductsFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program = path;
    return program.substr(0, program.find_last_of(L'\\')) + L"\\" + kProductsFolder;
}

inline std::wstring DatabaseOf(const Product& product) {
    return ProductsFolder() + L"\\" + product.stem + L".msi";
}

inline bool IsInstalled(const Product& product) {
    const auto products = WindowsInstaller::EnumProducts();
    return std::find(products.begin(), products.end(), product.productCode) != products.end();
}

// A property the product was given, as its installation recorded it under LauncherProperties beside its
// Setup key; "?" when it recorded none.
inline std::wstring LauncherProperty(const Product& product, const wchar_t* name) {
    std::wstring key = product.registrationKey;
    key.replace(key.rfind(L"\\Setup"), std::wstring::npos, L"\\LauncherProperties");
    return RegistryKey::Open(HKEY_LOCAL_MACHINE, key, RegistryView::Bits64).ReadString(name).value_or(L"?");
}

// A copy of the product's database in `folder`, so that the installation source holds it alone, as a
// launcher's package folder does; the products folder's own database when the copy fails.
inline std::wstring DatabaseCopiedTo(const Product& product, const std::wstring& folder) {
    const std::wstring copy = folder + L"\\" + product.stem + L".msi";
    return CopyFileW(DatabaseOf(product).c_str(), copy.c_str(), FALSE) ? copy : DatabaseOf(product);
}

// Installs a test product (from its database in the products folder unless another is named, with the
// given properties) and removes it again when the owner ends.
class InstalledProduct {
public:
    explicit InstalledProduct(const Product& product, std::wstring database = {},
                              const std::wstring& properties = {})
        : product_(product), database_(database.empty() ? DatabaseOf(product) : std::move(database)) {
        WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
        result_ = WindowsInstaller::InstallProduct(database_, properties);
    }
    ~InstalledProduct() {
        if (IsInstalled(product_)) {
            WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
            EXPECT_EQ(0u, WindowsInstaller::InstallProduct(database_, L"REMOVE=ALL"));
        }
    }
    InstalledProduct(const InstalledProduct&) = delete;
    InstalledProduct& operator=(const InstalledProduct&) = delete;
    UINT Result() const { return result_; }

private:
    const Product& product_;
    std::wstring database_;
    UINT result_ = 0;
};

} // namespace TestProducts
