// The package folders that silent runs unpack into outlive a run whose products end up not installed
// (the launcher prunes them only after a failure). A later run would find their databases again and skip
// its unpacking, and the Windows tests share the prefix: so before the first and after every end-to-end
// test, the test products' package folders go, unless their product is installed.
#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <msi.h>

namespace {

using namespace TestProducts;

struct PackageFolderOwner {
    const wchar_t* packageCode;
    const wchar_t* productCode; // null: no product stands behind it
};

// The package codes of tests/bundles and of the workloads the tests write.
constexpr PackageFolderOwner kTestPackageFolders[] = {
    {kHalvora101.packageCode, kHalvora101.productCode},
    {kHalvora100.packageCode, kHalvora100.productCode},
    {kKestrum317.packageCode, kKestrum317.productCode},
    {kKestrum312.packageCode, kKestrum312.productCode},
    {kZorvex2024.packageCode, kZorvex2024.productCode},
    {L"{7D1C0E2B-40A5-4F0C-9B52-0C3F1D2E6A11}", kHalvora101.productCode}, // the taxonomy bundles
    {L"{E2E-A}", nullptr},
    {L"{E2E-B}", nullptr},
};

void RemoveUnusedPackageFolders() {
    const std::wstring base = LauncherBaseFolder();
    for (const PackageFolderOwner& owner : kTestPackageFolders) {
        if (owner.productCode && MsiQueryProductStateW(owner.productCode) == INSTALLSTATE_DEFAULT)
            continue;
        ICBSFileUtilities::DeleteTree(base + L"\\" + owner.packageCode);
    }
}

class PackageFolderCleanup : public testing::EmptyTestEventListener {
    void OnTestProgramStart(const testing::UnitTest&) override { RemoveUnusedPackageFolders(); }
    void OnTestEnd(const testing::TestInfo&) override { RemoveUnusedPackageFolders(); }
};

const bool kRegistered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new PackageFolderCleanup);
    return true;
}();

} // namespace
