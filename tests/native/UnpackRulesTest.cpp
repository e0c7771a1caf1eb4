#include "extraction/UnpackRules.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<PackageInfo> Package(const wchar_t* code, bool selected, const wchar_t* database) {
    PackageDescription description;
    description.packageCode = code;
    auto package = std::make_unique<PackageInfo>(description);
    package->SetSelected(selected);
    package->SetInstallerDatabase(database);
    return package;
}

} // namespace

TEST(UnpackRules, ListHoldsSelectedPackagesWithoutDatabaseInOrder) {
    std::vector<std::unique_ptr<PackageInfo>> packages;
    packages.push_back(Package(L"main", true, L""));
    packages.push_back(Package(L"unselected", false, L""));
    packages.push_back(Package(L"unpacked", true, L"C:\\x\\a.msi"));
    packages.push_back(Package(L"companion", true, L""));

    std::vector<std::wstring> codes;
    for (const PackageInfo* package : PackagesToUnpack(packages, false))
        codes.push_back(package->PackageCode());
    EXPECT_EQ((std::vector<std::wstring>{L"main", L"companion"}), codes);
    EXPECT_TRUE(PackagesToUnpack(packages, true).empty()); // a repair unpacks nothing
}

TEST(UnpackRules, TransformOnlyForANonEnglishChoiceWhenInstallingOrModifying) {
    struct Case {
        bool multiLanguage, installsOrModifies;
        uint16_t language;
        bool wanted;
    };
    const Case cases[] = {
        {true, true, 1031, true},   {true, true, 1041, true},   {true, true, 1033, false},
        {false, true, 1031, false}, {true, false, 1031, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.wanted, WantsLanguageTransform(c.multiLanguage, c.installsOrModifies, c.language))
            << c.language;
    EXPECT_EQ(L"PACKAGE_12_1041", TransformResourceName(L"PACKAGE_12_%s", L"1041"));
}
