// Test products really installed through Windows Installer for the length of a test, and the question
// whether one is installed.
#pragma once

#include "LauncherRun.h"
#include "support/WindowsInstaller_win.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace e2e {

inline std::wstring Database(const TestProducts::Product& product) {
    return TestProgramFolder() + L"\\" + TestProducts::kProductsFolder + L"\\" + product.stem + L".msi";
}

inline bool Installed(const TestProducts::Product& product) {
    const auto products = WindowsInstaller::EnumProducts();
    return std::find(products.begin(), products.end(), product.productCode) != products.end();
}

// Installs a test product and removes it again whatever the test's outcome. Given a folder, the database
// is copied there first, so that the product's installation source holds it alone, as a launcher's
// package folder does.
class InstalledProduct {
public:
    explicit InstalledProduct(const TestProducts::Product& product, const std::wstring& sourceFolder = {})
        : product_(product), database_(Database(product)) {
        if (!sourceFolder.empty()) {
            const std::wstring copy = sourceFolder + L"\\" + product.stem + L".msi";
            if (CopyFileW(database_.c_str(), copy.c_str(), FALSE))
                database_ = copy;
        }
        WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
        result_ = WindowsInstaller::InstallProduct(database_, L"");
    }
    ~InstalledProduct() {
        if (Installed(product_)) {
            WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
            EXPECT_EQ(0u, WindowsInstaller::InstallProduct(database_, L"REMOVE=ALL"));
        }
    }
    UINT Result() const { return result_; }

private:
    const TestProducts::Product& product_;
    std::wstring database_;
    UINT result_ = 0;
};

} // namespace e2e
