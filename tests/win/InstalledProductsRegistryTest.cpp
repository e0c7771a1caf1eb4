// Installed-product detection against registration keys the tests write themselves, in both registry
// views, with values of the wrong type and empty ones.
#include "FileTestSupport.h"
#include "launcher/InstalledProducts_win.h"
#include "support/Registry_win.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <utility>

namespace {

using namespace InstalledProducts;

const std::wstring kMaker = L"SOFTWARE\\Quenlis";
const std::wstring kHalvora = kMaker + L"\\HalvoraServer";

struct Value {
    std::wstring name;
    DWORD type;
    std::wstring text; // REG_SZ / REG_EXPAND_SZ / REG_BINARY (its bytes)
    DWORD number = 0;  // REG_DWORD
};

Value Text(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    return {name, type, text};
}
Value Number(const wchar_t* name, DWORD number) {
    return {name, REG_DWORD, L"", number};
}

// Writes registration keys below the Halvora family and removes every key it created when it ends.
class Registrations : public ::testing::Test {
protected:
    void SetUp() override {
        // Keys missing before the test were made by it and go with it, the maker's key included.
        for (const std::wstring& path : {kMaker, kHalvora}) {
            for (RegistryView view : {RegistryView::Bits32, RegistryView::Bits64}) {
                if (!RegistryKey::Open(HKEY_LOCAL_MACHINE, path, view).IsOpen())
                    created_.emplace_back(path, view);
            }
        }
    }
    void TearDown() override {
        for (const auto& [path, view] : written_)
            EXPECT_TRUE(RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, path, view)) << path;
        for (const auto& [path, view] : created_)
            RegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, path, view);
        written_.clear();
        created_.clear();
    }

    // installation: "Installation_v10_x64" and the like, below the family key.
    void Register(const std::wstring& installation, RegistryView view, const std::vector<Value>& values,
                  const std::wstring& family = kHalvora) {
        const std::wstring path = family + L"\\" + installation;
        ASSERT_TRUE(RegistryKey::Open(HKEY_LOCAL_MACHINE, path, view).IsOpen() == false) << path;
        written_.emplace_back(path, view);
        RegistryKey key = RegistryKey::Create(HKEY_LOCAL_MACHINE, path + L"\\Setup", view);
        ASSERT_TRUE(key.IsOpen()) << path;
        for (const Value& v : values) {
            if (v.type == REG_DWORD) {
                ASSERT_TRUE(key.WriteDword(v.name, v.number));
            } else if (v.type == REG_BINARY) {
                ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), v.name.c_str(), 0, REG_BINARY,
                                                        reinterpret_cast<const BYTE*>(v.text.data()),
                                                        static_cast<DWORD>(v.text.size() * sizeof(wchar_t))));
            } else {
                ASSERT_TRUE(key.WriteString(v.name, v.text, v.type));
            }
        }
    }
    void Register64(const std::wstring& installation, const std::wstring& version,
                    const std::wstring& id = L"HV::Z", std::vector<Value> more = {}) {
        more.push_back(Text(L"Version", version));
        more.push_back(Text(L"ProductId", id));
        Register(installation, RegistryView::Bits64, more);
    }

private:
    std::vector<std::pair<std::wstring, RegistryView>> written_;
    std::vector<std::pair<std::wstring, RegistryView>> created_;
};

PackageInfo HalvoraPackage(const wchar_t* version) {
    PackageDescription description;
    description.productName = L"Quenlis Halvora Server";
    description.productCode = L"{00000000-0000-4000-8000-00000000C0DE}"; // never installed
    description.packageCode = L"{00000000-0000-4000-8000-00000000C0DF}";
    description.productId = L"HV::Z";
    description.version = version;
    description.is64Bit = true;
    return PackageInfo(description);
}

TEST_F(Registrations, DownwardSearchFindsTheNearestOlderInstallationOfItsView) {
    const ProductRecord package(L"HV::Z", L"10.1", true);
    Register64(L"Installation_v2_x64", L"2.5"); // below the line's lowest major
    Register(L"Installation_v9", RegistryView::Bits32, {Text(L"Version", L"9.0")}); // a 32-bit installation
    Register(L"Installation_v9_x64", RegistryView::Bits32, {Text(L"Version", L"9.0")}); // in the wrong view
    EXPECT_FALSE(FindInstalledRecord(package));

    Register64(L"Installation_v3_x64", L"3.4");
    auto found = FindInstalledRecord(package);
    ASSERT_TRUE(found);
    EXPECT_EQ(3, found->Major());

    // A newer release under the package's own major is passed over; the search goes on below it.
    Register64(L"Installation_v10_x64", L"10.2");
    found = FindInstalledRecord(package);
    ASSERT_TRUE(found);
    EXPECT_EQ(3, found->Major());

    // Expandable strings count as stored, unexpanded.
    Register(L"Installation_v8_x64", RegistryView::Bits64,
             {Text(L"Version", L"8.1", REG_EXPAND_SZ), Text(L"ProductId", L"HV::A", REG_EXPAND_SZ),
              Text(L"Language", L"%LANG%", REG_EXPAND_SZ)});
    found = FindInstalledRecord(package);
    ASSERT_TRUE(found);
    EXPECT_EQ(L"HV::A", found->IdentifierText());
    EXPECT_EQ(8, found->Major());
    EXPECT_EQ(1, found->Minor());
    EXPECT_EQ(L"%LANG%", found->Language());
    EXPECT_TRUE(found->Is64Bit());
    EXPECT_FALSE(found->HasActiveXControl());
}

TEST_F(Registrations, UpgradeRelationOfAOneProductPackage) {
    std::vector<ProductRecord> installed;
    UpgradeFacts facts;
    Register64(L"Installation_v10_x64", L"10.2"); // newer than the package: no relation
    EXPECT_FALSE(UpgradeRelation(HalvoraPackage(L"10.1"), facts, installed));
    EXPECT_TRUE(installed.empty());

    Register64(L"Installation_v9_x64", L"9.1");
    ASSERT_TRUE(UpgradeRelation(HalvoraPackage(L"10.1"), facts, installed));
    EXPECT_TRUE(facts.upgrade);
    EXPECT_TRUE(facts.willReplace);
    EXPECT_FALSE(facts.sameMajor);
    EXPECT_FALSE(facts.hasActiveXControl);
    EXPECT_EQ(L"Quenlis Halvora Server 9.1 (x64)", facts.installedDisplayName);
    ASSERT_EQ(1u, installed.size());
    EXPECT_EQ(9, installed[0].Major());

    // The newer installation is what the newer package relates to.
    ASSERT_TRUE(UpgradeRelation(HalvoraPackage(L"10.2.0.1"), facts, installed));
    EXPECT_TRUE(facts.sameMajor);
    EXPECT_EQ(L"Quenlis Halvora Server 10.2 (x64)", facts.installedDisplayName);
    EXPECT_EQ(2u, installed.size());
}

TEST_F(Registrations, WrongValueTypesReadAsEmptyOrZero) {
    const ProductRecord package(L"HV::Z", L"10.1", true);
    Register(L"Installation_v10_x64", RegistryView::Bits64, {Number(L"Version", 10)});
    Register(L"Installation_v9_x64", RegistryView::Bits64, {Text(L"Version", L"")});
    EXPECT_FALSE(FindInstalledRecord(package)); // a number or an empty text is no version

    Register(L"Installation_v8_x64", RegistryView::Bits64,
             {Text(L"Version", L"8.0"), Text(L"ProductId", L"HV::A", REG_BINARY),
              Text(L"InstalledFromPallodar", L"1"), Number(L"Language", 7)});
    const auto found = FindInstalledRecord(package);
    ASSERT_TRUE(found);
    EXPECT_EQ(8, found->Major());
    EXPECT_EQ(L"HV::Z", found->IdentifierText()); // the binary ProductId counts as missing
    EXPECT_FALSE(found->IsFromSuite());           // a text is no suite flag
    EXPECT_EQ(L"", found->Language());
}

TEST_F(Registrations, SuiteInstallationsAreSkippedButListed) {
    Register64(L"Installation_v9_x64", L"9.0", L"HV::Z", {Number(L"InstalledFromPallodar", 1)});
    EXPECT_FALSE(FindInstalledRecord(ProductRecord(L"HV::Z", L"10.1", true)));
    EXPECT_TRUE(FindInstalledRecord(ProductRecord(L"HV::Z", L"10.1", true, L"", true)));

    std::vector<ProductRecord> family{ProductRecord(L"KS::Z", L"1", false)}; // cleared first
    InstalledOfFamily(ProductRecord(L"HV::Z", L"10.1", true), family);
    ASSERT_EQ(1u, family.size());
    EXPECT_TRUE(family[0].IsFromSuite());
    EXPECT_TRUE(family[0].Is64Bit());
}

TEST_F(Registrations, FamilyScanCoversBothViewsAndOnlyInstallationKeys) {
    Register(L"Installation_v9", RegistryView::Bits32, {Text(L"Version", L"9.0"), Text(L"ProductId", L"")});
    Register(L"installation_v10_x64", RegistryView::Bits64,
             {Text(L"Version", L"10.2"), Text(L"ProductId", L"HV::A")});
    Register(L"Settings", RegistryView::Bits64, {Text(L"Version", L"1.0")});
    Register(L"Installation_v8_x64", RegistryView::Bits64, {Text(L"ProductId", L"HV::Z")}); // no version

    std::vector<ProductRecord> family;
    // The searching record's version and platform do not limit the scan.
    InstalledOfFamily(ProductRecord(L"HV::Z", L"3.0", false), family);
    ASSERT_EQ(2u, family.size());
    EXPECT_EQ(L"HV::Z", family[0].IdentifierText()); // empty ProductId: the searching identifier
    EXPECT_FALSE(family[0].Is64Bit());
    EXPECT_EQ(9, family[0].Major());
    EXPECT_EQ(L"HV::A", family[1].IdentifierText());
    EXPECT_TRUE(family[1].Is64Bit());
    EXPECT_EQ(10, family[1].Major());

    // Only integration packages and add-ons look at a base product.
    family.push_back(ProductRecord(L"HV::Z", L"1", false));
    InstalledOfBaseProduct(ProductRecord(L"HV::Z", L"10.1", true), family);
    EXPECT_TRUE(family.empty());
    InstalledOfFamily(ProductRecord(L"XX::Z", L"10.1", true), family);
    EXPECT_TRUE(family.empty());
}

TEST_F(Registrations, ExactVersionIgnoresTheFourthNumber) {
    struct Case {
        const wchar_t* version;
        const wchar_t* productId;
        bool installed;
    };
    const Case cases[] = {
        {L"10.1.0.0", L"HV::Z", true},
        {L"10.2.0.7", L"HV::Z", false},
        {L"10.1.0.7", L"", false}, // an empty ProductId matches nothing here
        {L"10.1.1.7", L"HV::Z", false},
    };
    const ProductRecord record(L"HV::Z", L"10.1.0.7", false);
    EXPECT_FALSE(IsVersionInstalled(record)); // no key
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        Register(L"Installation_v10", RegistryView::Bits32,
                 {Text(L"Version", c.version), Text(L"ProductId", c.productId)});
        EXPECT_EQ(c.installed, IsVersionInstalled(record));
        EXPECT_FALSE(IsVersionInstalled(ProductRecord(L"HV::Z", L"10.1.0.7", true))); // the other view
        TearDown();
        SetUp();
    }
}

TEST_F(Registrations, FoldersAndApplicationOfAnInstallation) {
    FileTest::Folder folder(L"installed-products");
    const std::wstring bin = folder / L"Halvora\\bin";
    ASSERT_TRUE(ICBSFileUtilities::EnsureParentFolder(bin + L"\\"));
    const std::wstring exe = bin + L"\\HalvoraServer.exe";
    ASSERT_TRUE(FileTest::WriteText(exe, "exe"));
    Register64(L"Installation_v10_x64", L"10.1", L"HV::Z", {Text(L"ApplicationPath", exe)});

    const PackageInfo package = HalvoraPackage(L"10.1");
    const ProductRecord& record = package.Products().front();
    EXPECT_EQ(exe, InstalledApplicationPath(package));
    EXPECT_EQ(folder / L"Halvora", InstalledFolder(record)); // a server's executable lies in "bin"
    EXPECT_EQ(folder / L"Halvora", CustomInstallFolder(record));
    ASSERT_TRUE(FindInstalledRecord(record));
    EXPECT_FALSE(FindInstalledRecord(record)->HasActiveXControl());
    ASSERT_TRUE(FileTest::WriteText(bin + L"\\HalvoraServer.ocx", "ocx"));
    ASSERT_TRUE(FindInstalledRecord(record));
    EXPECT_TRUE(FindInstalledRecord(record)->HasActiveXControl());

    // The 64-bit product's default lies in the 64-bit program files folder.
    PWSTR programFiles = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFilesX64, 0, nullptr, &programFiles)));
    const std::wstring expected = std::wstring(programFiles) + L"\\Quenlis\\HalvoraServer";
    CoTaskMemFree(programFiles);
    EXPECT_EQ(expected, DefaultInstallFolder(record));

    ASSERT_TRUE(ICBSFileUtilities::DeleteTree(folder / L"Halvora"));
    EXPECT_EQ(L"", CustomInstallFolder(record)); // gone from the disk
    EXPECT_EQ(folder / L"Halvora", InstalledFolder(record));
    EXPECT_EQ(L"", InstalledApplicationPath(HalvoraPackage(L"9.0")));
    EXPECT_EQ(L"", InstalledFolder(ProductRecord(L"HV::Z", L"10.1", false)));
}

} // namespace
