#include "launcher/ManifestRules.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TEST(ManifestRules, PackageCount) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"2", 2},  {L"0", 0},   {L"", 0},   {L" 3 ", 3},        {L"3\r\n", 3},
        {L"-1", 0}, {L"two", 0}, {L"2x", 0}, {L"2147483648", 0}, {L"99999999999999999999", 0},
    };
    for (const auto& [text, count] : cases)
        EXPECT_EQ(count, ParsePackageCount(text)) << text;
}

TEST(ManifestRules, OnlyPlainFolderNamesNamePackageFolders) {
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"{8E0A5A1C-1F7B-4C59-9A53-3C0D2E7F1001}", true},
        {L"PackageCode", true},
        {L"a.b", true},
        {L"", false},
        {L".", false},
        {L"..", false},
        {L"...", false}, // Windows trims trailing dots: the base folder itself
        {L"{GUID} ", false},
        {L"{GUID}.", false},
        {L"..\\..", false},
        {L"a\\b", false},
        {L"a/b", false},
        {L"C:", false},
        {L"C:\\Windows", false},
        {L"\\\\server\\share", false},
        {L"name\t", false},
        {L"a*b", false},
        {L"a?b", false},
        {L"a\"b", false},
        {L"a|b", false},
        {L"a<b>", false},
    };
    for (const auto& [name, plain] : cases)
        EXPECT_EQ(plain, IsPlainFolderName(name)) << name;
}

TEST(ManifestRules, PackageDescriptionFromTexts) {
    std::map<std::wstring, std::wstring> texts = {
        {L"PRODUCT_NAME_1", L"Quenlis Kestrum 3.17 (x64)"},
        {L"PRODUCT_CODE_1", L"{P}"},
        {L"PACKAGE_CODE_1", L"{K}"},
        {L"PRODUCT_ID_1", L"KS::Z"},
        {L"PRODUCT_PLATFORM_1", L"x64"},
        {L"PRODUCT_VERSION_1", L"3.17"},
        {L"PRODUCT_PLATFORM_0", L"X64"},
        {L"INSTALLER_TYPE_0", L"taxonomy"},
        {L"PRODUCT_PLATFORM_2", L"x64 "},
        {L"INSTALLER_TYPE_2", L""},
    };
    const ManifestTextReader read = [&](const std::wstring& name) -> std::optional<std::wstring> {
        const auto found = texts.find(name);
        return found == texts.end() ? std::nullopt : std::optional(found->second);
    };
    const PackageDescription companion = ReadManifestPackage(read, 1);
    EXPECT_EQ(L"Quenlis Kestrum 3.17 (x64)", companion.productName);
    EXPECT_EQ(L"{P}", companion.productCode);
    EXPECT_EQ(L"{K}", companion.packageCode);
    EXPECT_EQ(L"KS::Z", companion.productId);
    EXPECT_EQ(L"3.17", companion.version);
    EXPECT_TRUE(companion.is64Bit);
    EXPECT_EQ(L"PACKAGE_1", companion.packageData);
    EXPECT_EQ(L"PACKAGE_1_%s", companion.languageDataPattern);
    EXPECT_FALSE(companion.main);
    EXPECT_EQ(L"msi", companion.installerType); // absent: a Windows Installer package

    const PackageDescription main = ReadManifestPackage(read, 0);
    EXPECT_TRUE(main.main);
    EXPECT_FALSE(main.is64Bit); // "X64" is not "x64"
    EXPECT_EQ(L"taxonomy", main.installerType);
    EXPECT_EQ(L"", main.productName);
    EXPECT_EQ(L"", main.packageCode);

    const PackageDescription third = ReadManifestPackage(read, 2);
    EXPECT_FALSE(third.is64Bit);
    EXPECT_EQ(L"", third.installerType); // present but empty stays empty

    const PackageInfo record(main);
    ASSERT_EQ(1u, record.Products().size());
    EXPECT_EQ(nullptr, record.Products()[0].Row());
    const PackageInfo companionRecord(companion);
    EXPECT_TRUE(companionRecord.IsCompanionServerPackage());
    EXPECT_FALSE(companionRecord.IsCompanionOfflinePackage());
    EXPECT_TRUE(companionRecord.IsServerProduct());
    EXPECT_TRUE(companionRecord.Products()[0].Is64Bit());
}

TEST(ManifestRules, DefaultSelection) {
    struct Case {
        const char* name;
        SelectionFacts facts;
        bool selected;
    };
    // extract, repair, uninstall, main, mainExists, mainInstalled, installed
    const Case cases[] = {
        {"extract selects all", {true, false, true, false, true, false, false}, true},
        {"repair: installed", {false, true, false, true, false, false, true}, true},
        {"repair: not installed", {false, true, false, true, false, false, false}, false},
        {"uninstall: installed sub-package", {false, false, true, false, true, false, true}, true},
        {"uninstall: main not installed", {false, false, true, true, false, false, false}, false},
        {"main always", {false, false, false, true, false, false, true}, true},
        {"main not installed", {false, false, false, true, false, false, false}, true},
        {"sub, main installed, sub installed", {false, false, false, false, true, true, true}, true},
        {"sub, main installed, sub not", {false, false, false, false, true, true, false}, false},
        {"sub, nothing installed", {false, false, false, false, true, false, false}, true},
        {"sub installed, main not", {false, false, false, false, true, false, true}, false},
        {"sub without main record", {false, false, false, false, false, true, false}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.selected, DefaultSelection(c.facts)) << c.name;
}

TEST(ManifestRules, ResourcesToValidate) {
    const auto single = ResourcesToValidate(1, false);
    std::wstring names;
    for (const auto& r : single)
        names += r.name + L"[" + r.languageCode + L"] ";
    EXPECT_EQ(L"OS[] PACKAGE_COUNT[] PRODUCT_NAME_0[] PRODUCT_CODE_0[] PRODUCT_ID_0[] PRODUCT_VERSION_0[] "
              L"PRODUCT_PLATFORM_0[] PACKAGE_CODE_0[] PACKAGE_0[] ",
              names);

    const auto multi = ResourcesToValidate(2, true);
    ASSERT_EQ(2u + 2 * 12, multi.size());
    EXPECT_EQ(L"PACKAGE_0_1031", multi[9].name);
    EXPECT_EQ(L"1031", multi[9].languageCode);
    EXPECT_EQ(L"PACKAGE_0_2052", multi[13].name);
    EXPECT_EQ(L"PACKAGE_1_2052", multi.back().name);
    EXPECT_EQ(2u, ResourcesToValidate(0, true).size());

    EXPECT_EQ(L"    Test for resource PACKAGE_0_2052 [2052] failed!", ValidationFailureLine(multi[13]));
    EXPECT_EQ(L"    Test for resource OS failed!", ValidationFailureLine(multi[0]));
}

} // namespace
