// What a launcher run leaves on the machine outlives the test that started it: the test products it
// installed, and the package folders it unpacked into (the launcher prunes them only after a failure). A
// later run would find the products installed and the databases unpacked, and the Windows tests share the
// prefix: so before the first and after every end-to-end test, the test products that no test's own
// fixture installed are removed (fixtures end before the test does), then their package folders go.
#include "RunLeftovers.h"

#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <msi.h>

#include <algorithm>
#include <cstdio>

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
    {kPennix2024.packageCode, kPennix2024.productCode},
    {L"{7D1C0E2B-40A5-4F0C-9B52-0C3F1D2E6A11}", kHalvora101.productCode}, // the taxonomy bundles
    {L"{E2E-A}", nullptr},
    {L"{E2E-B}", nullptr},
};

constexpr const Product* kTestProducts[] = {&kHalvora101, &kHalvora100, &kKestrum317,
                                            &kKestrum312, &kZorvex2024, &kPennix2024};

bool IsInstalledNow(const wchar_t* productCode) {
    return MsiQueryProductStateW(productCode) == INSTALLSTATE_DEFAULT;
}

class LeftoverCleanup : public testing::EmptyTestEventListener {
    void OnTestProgramStart(const testing::UnitTest&) override { e2e::RemoveLeftovers(); }
    // Fixtures that installed a product have removed it by now: whatever is still there, a run left.
    void OnTestEnd(const testing::TestInfo&) override { e2e::RemoveLeftovers(); }
};

const bool kRegistered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new LeftoverCleanup);
    return true;
}();

} // namespace

namespace e2e {

std::vector<std::wstring> InstalledTestProducts() {
    std::vector<std::wstring> codes;
    for (const Product* product : kTestProducts) {
        if (IsInstalledNow(product->productCode))
            codes.push_back(product->productCode);
    }
    return codes;
}

void RemoveLeftovers(const std::vector<std::wstring>& keep) {
    for (const Product* product : kTestProducts) {
        if (!IsInstalledNow(product->productCode) ||
            std::find(keep.begin(), keep.end(), product->productCode) != keep.end())
            continue;
        MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
        const UINT error =
            MsiConfigureProductW(product->productCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
        if (error != ERROR_SUCCESS)
            fwprintf(stderr, L"cannot remove the test product %ls a run left installed: %u\n", product->stem,
                     error);
    }
    const std::wstring base = LauncherBaseFolder();
    for (const PackageFolderOwner& owner : kTestPackageFolders) {
        if (owner.productCode && IsInstalledNow(owner.productCode))
            continue;
        ICBSFileUtilities::DeleteTree(base + L"\\" + owner.packageCode);
    }
}

} // namespace e2e
