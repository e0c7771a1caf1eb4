#include "extraction/UnpackRules.h"

#include <gtest/gtest.h>

namespace {

void Add(PackageList& packages, SetupChoices& choices, const wchar_t* code, bool selected,
         const wchar_t* database) {
    PackageDescription description;
    description.packageCode = code;
    PackageInfo package(description);
    package.SetInstallerDatabase(database);
    choices.Select(packages.size(), selected);
    packages.Add(std::move(package));
}

} // namespace

TEST(UnpackRules, ListHoldsSelectedPackagesWithoutDatabaseInOrder) {
    PackageList packages;
    SetupChoices choices;
    Add(packages, choices, L"main", true, L"");
    Add(packages, choices, L"unselected", false, L"");
    Add(packages, choices, L"unpacked", true, L"C:\\x\\a.msi");
    Add(packages, choices, L"companion", true, L"");

    std::vector<std::wstring> codes;
    for (size_t index : PackagesToUnpack(packages, choices, false))
        codes.push_back(packages[index].PackageCode());
    EXPECT_EQ((std::vector<std::wstring>{L"main", L"companion"}), codes);
    EXPECT_TRUE(PackagesToUnpack(packages, choices, true).empty()); // a repair unpacks nothing
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
