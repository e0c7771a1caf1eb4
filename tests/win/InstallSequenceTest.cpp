// The install sequence carried out in this test program against the real test product line: packages whose
// data are the products' own cabinets, unpacked as the unpack page unpacks them, the log kept in memory
// (Windows Installer then has no file to write over), and what is installed afterwards read back from
// Windows Installer and the registry.
#include "FileTestSupport.h"
#include "MemoryLog.h"

#include "extraction/PackageUnpacker_win.h"
#include "installer/InstallSequence_win.h"
#include "launcher/SetupContext.h"
#include "launcher/SystemInfo_win.h"
#include "support/FilePath.h"
#include "support/Format.h"
#include "support/Registry_win.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

namespace {

using namespace TestProducts;

class NoProgress : public UnpackProgressIF {
public:
    void ReportPercent(int) override {}
    void ReportBytes(uint32_t) override {}
    int ProgressRange() override { return 0; }
    void FileStarted(const std::wstring&) override {}
    void SetTotalBytes(uint64_t) override {}
    void SetBytesDoneBefore(uint64_t) override {}
};

const std::wstring kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// One run of the sequence: a context over the given products (the first is the main package) in package
// folders of a scratch folder, the command line, then unpacking and the sequence as the wizard runs them.
class Sequence {
public:
    Sequence(std::vector<const Product*> products, const std::wstring& arguments, FileTest::Folder& folders)
        : products_(std::move(products)) {
        context_.ParseCommandLine(arguments);
        context_.system.is64Bit = true;
        context_.system.version = {6, 1, 1, 0, 7601};
        context_.languages.SelectByLanguageId(1033);
        context_.applicationName = L"Sequence test";
        for (size_t i = 0; i < products_.size(); ++i) {
            const Product& product = *products_[i];
            PackageDescription description;
            description.productName = product.productName;
            description.productCode = product.productCode;
            description.packageCode = product.packageCode;
            description.productId = product.productId;
            description.version = product.versionString;
            description.is64Bit = true;
            description.packageData = ProductsFolder() + L"\\" + product.stem + L".cab";
            description.main = i == 0;
            PackageInfo package(description);
            package.SetPackageFolder(folders / product.stem);
            package.SetInstalled(IsInstalled(product));
            context_.choices.Select(i, context_.mode.IsUninstall() ? package.Installed() : true);
            context_.packages.Add(std::move(package));
        }
        context_.mode.mainProductInstalled = context_.packages[0].Installed();
    }

    void Deselect(size_t index) { context_.choices.Select(index, false); }

    void Run() {
        NoProgress progress;
        const auto list = BuildUnpackList(context_.packages, context_.choices, context_.mode.IsRepair());
        const SetupResult unpacked =
            UnpackPackages(list, progress, UnpackSettings::ForRun(context_, true), context_.log);
        ASSERT_EQ(0, unpacked.code);
        RunInstallSequence(context_, {});
    }

    const SetupResult& Result() const { return context_.result; }
    std::vector<std::wstring> Log() const { return log_.Lines(); }
    bool Logged(const std::wstring& line) const {
        const auto lines = Log();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    size_t IndexOf(const std::wstring& line) const {
        const auto lines = Log();
        return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    }
    const PackageInfo& Package(size_t index) const { return context_.packages[index]; }

private:
    std::vector<const Product*> products_;
    MemoryLog log_;
    SetupContext context_{log_, [](uint16_t, unsigned) { return std::wstring(); }};
};

// Removes what a test installed, whatever its outcome.
struct Leftovers {
    ~Leftovers() {
        for (const Product* product : {&kHalvora101, &kKestrum317, &kZorvex2024}) {
            if (IsInstalled(*product)) {
                WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
                WindowsInstaller::InstallProduct(DatabaseOf(*product), L"REMOVE=ALL");
            }
        }
    }
};

std::wstring Line(const wchar_t* format, const Product& product) {
    return Format(format, std::wstring(product.productName));
}

} // namespace

TEST(InstallSequence, InstallsEveryPackageWithItsTokensThenRemovesThemInReverse) {
    const Leftovers leftovers;
    FileTest::Folder folders(L"sequence-install");
    Sequence install({&kHalvora101, &kKestrum317, &kZorvex2024}, L"/qn QUENLIS_NOTE=\"two words\"", folders);
    install.Run();
    EXPECT_EQ(install.Result().code, 0);
    for (const Product* product : {&kHalvora101, &kKestrum317, &kZorvex2024}) {
        SCOPED_TRACE(product->stem);
        EXPECT_TRUE(IsInstalled(*product));
        EXPECT_EQ(LauncherProperty(*product, L"INSTALLEDFROMLAUNCHER"), L"Yes");
        EXPECT_EQ(LauncherProperty(*product, L"HAS_SUB_PACKAGES"), L"Yes");
        EXPECT_EQ(LauncherProperty(*product, L"UI_HIDE_FINISH_DLG"), L"Yes");
        // Only the sub-packages hide everything but their progress.
        EXPECT_EQ(LauncherProperty(*product, L"UI_HIDE_ALL_BUT_PROGRESS") == L"Yes", product != &kHalvora101);
        EXPECT_EQ(LauncherProperty(*product, L"QUENLIS_NOTE"), L"two words"); // quoted on the command line
    }
    EXPECT_LT(install.IndexOf(Line(L"VNT (c): Installing product %s\r\n", kHalvora101)),
              install.IndexOf(Line(L"VNT (c): Installing product %s\r\n", kKestrum317)));
    EXPECT_LT(install.IndexOf(Line(L"VNT (c): Installing product %s\r\n", kKestrum317)),
              install.IndexOf(Line(L"VNT (c): Installing product %s\r\n", kZorvex2024)));

    // The main product's entry now runs the launcher copy in the main package's folder.
    const RegistryKey entry =
        RegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstallKey + kHalvora101.productCode, RegistryView::Bits64);
    ASSERT_TRUE(entry.IsOpen());
    const std::wstring copy = install.Package(0).PackageFolder() + L"\\" + FileNamePart(ThisModulePath());
    EXPECT_EQ(entry.ReadDword(L"WindowsInstaller").value_or(7), 0u);
    EXPECT_EQ(entry.ReadString(L"ModifyPath").value_or(L""), copy);
    EXPECT_EQ(entry.ReadString(L"UninstallString").value_or(L""), copy + L" /x");
    EXPECT_TRUE(FileTest::Exists(copy));
    EXPECT_TRUE(install.Logged(L"VNT (c): perform custom installer registry\r\n"));

    Sequence removal({&kHalvora101, &kKestrum317, &kZorvex2024}, L"/qn /x", folders);
    removal.Run();
    EXPECT_EQ(removal.Result().code, 0);
    for (const Product* product : {&kHalvora101, &kKestrum317, &kZorvex2024})
        EXPECT_FALSE(IsInstalled(*product)) << product->stem;
    // Sub-packages first, the main package last.
    EXPECT_LT(removal.IndexOf(Line(L"VNT (c): Uninstalling product %s\r\n", kZorvex2024)),
              removal.IndexOf(Line(L"VNT (c): Uninstalling product %s\r\n", kKestrum317)));
    EXPECT_LT(removal.IndexOf(Line(L"VNT (c): Uninstalling product %s\r\n", kKestrum317)),
              removal.IndexOf(Line(L"VNT (c): Uninstalling product %s\r\n", kHalvora101)));
}

TEST(InstallSequence, AFailedPackageRemovesWhatTheRunInstalledBeforeIt) {
    const Leftovers leftovers;
    FileTest::Folder folders(L"sequence-rollback");
    Sequence run({&kHalvora101, &kKestrum317}, L"/qn FAIL_PACKAGE=Kestrum", folders);
    run.Run();
    EXPECT_FALSE(IsInstalled(kHalvora101));
    EXPECT_FALSE(IsInstalled(kKestrum317));
    EXPECT_EQ(run.Result().code, 2);
    EXPECT_EQ(run.Result().installerError, 1603);
    EXPECT_TRUE(run.Result().reported); // Windows Installer has said so itself
    const size_t failure = run.IndexOf(L"VNT (c): Failure: return code = 1603\r\n");
    EXPECT_LT(failure, run.IndexOf(Line(L"VNT (c): Rolling back product %s\r\n", kHalvora101)));

    EXPECT_FALSE(run.Logged(L"VNT (c): Rollback failed: return code = 1603\r\n"));

    // When the rollback fails as well, the run still reports the first failure and the log says what is left.
    Sequence stuck({&kHalvora101, &kKestrum317}, L"/qn FAIL_PACKAGE=Kestrum FAIL_REMOVAL=HalvoraServer",
                   folders);
    stuck.Run();
    EXPECT_TRUE(IsInstalled(kHalvora101));
    EXPECT_EQ(stuck.Result().installerError, 1603);
    EXPECT_LT(stuck.IndexOf(Line(L"VNT (c): Rolling back product %s\r\n", kHalvora101)),
              stuck.IndexOf(L"VNT (c): Rollback failed: return code = 1603\r\n"));
}

TEST(InstallSequence, AFailedRemovalOfTheMainPackageInstallsTheCompanionAgain) {
    const Leftovers leftovers;
    FileTest::Folder folders(L"sequence-removal-rollback");
    Sequence install({&kHalvora101, &kKestrum317}, L"/qn", folders);
    install.Run();
    ASSERT_TRUE(IsInstalled(kHalvora101) && IsInstalled(kKestrum317));

    Sequence removal({&kHalvora101, &kKestrum317}, L"/qn /x FAIL_REMOVAL=HalvoraServer", folders);
    removal.Run();
    EXPECT_TRUE(IsInstalled(kHalvora101));
    EXPECT_TRUE(IsInstalled(kKestrum317)); // removed, unpacked again and installed again
    EXPECT_EQ(removal.Result().code, 2);
    EXPECT_LT(removal.IndexOf(Line(L"VNT (c): Uninstalling product %s\r\n", kKestrum317)),
              removal.IndexOf(L"VNT (c): Failure: return code = 1603\r\n"));
    EXPECT_LT(removal.IndexOf(L"VNT (c): Failure: return code = 1603\r\n"),
              removal.IndexOf(Line(L"VNT (c): Rolling back product %s\r\n", kKestrum317)));
    EXPECT_TRUE(removal.Logged(L"VNT (c): roll-back prepare-remove custom installer registry\r\n"));
    const RegistryKey entry =
        RegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstallKey + kHalvora101.productCode, RegistryView::Bits64);
    EXPECT_EQ(entry.ReadDword(L"WindowsInstaller").value_or(7), 0u);
}

TEST(InstallSequence, ModifyAddsASubPackageAndRepairRestoresAFile) {
    const Leftovers leftovers;
    FileTest::Folder folders(L"sequence-modify");
    Sequence install({&kHalvora101, &kKestrum317}, L"/qn", folders);
    install.Deselect(1);
    install.Run();
    ASSERT_TRUE(IsInstalled(kHalvora101));
    ASSERT_FALSE(IsInstalled(kKestrum317));

    Sequence modify({&kHalvora101, &kKestrum317}, L"/qn", folders);
    modify.Run();
    EXPECT_EQ(modify.Result().code, 0);
    EXPECT_TRUE(IsInstalled(kKestrum317));
    EXPECT_TRUE(modify.Logged(Line(L"VNT (c): Modifying product %s\r\n", kKestrum317)));
    EXPECT_TRUE(modify.Logged(L"VNT (c): redo-after modify or re-install custom installer registry\r\n"));

    const std::wstring application =
        RegistryKey::Open(HKEY_LOCAL_MACHINE, kHalvora101.registrationKey, RegistryView::Bits64)
            .ReadString(L"ApplicationPath")
            .value_or(L"");
    ASSERT_TRUE(DeleteFileW(application.c_str()));
    Sequence repair({&kHalvora101, &kKestrum317}, L"/qn /fa", folders);
    repair.Run();
    EXPECT_EQ(repair.Result().code, 0);
    EXPECT_TRUE(FileTest::Exists(application));
    EXPECT_TRUE(repair.Logged(Line(L"VNT (c): Reinstalling product %s\r\n", kHalvora101)));
}

TEST(InstallSequence, ARestartIsARemarkAndTransformsReachEachDatabaseOnce) {
    const Leftovers leftovers;
    FileTest::Folder folders(L"sequence-restart");
    const std::wstring german = ProductsFolder() + L"\\HalvoraServer101_1031.mst";
    // A status file leads the property string ("/m <file> ..."); the installer must take it and go on.
    Sequence run({&kHalvora101, &kKestrum317},
                 L"/qn /m " + folders.Path() + L"\\status.mif ASK_RESTART=HalvoraServer TRANSFORMS=\"" +
                     german + L"\"",
                 folders);
    run.Run();
    EXPECT_EQ(run.Result().code, 0);
    EXPECT_TRUE(run.Logged(L"VNT (c): Remark: ignoring specific success code = 3010\r\n"));
    EXPECT_TRUE(IsInstalled(kHalvora101));
    EXPECT_TRUE(IsInstalled(kKestrum317));
    // The transform made the main product German.
    EXPECT_EQ(RegistryKey::Open(HKEY_LOCAL_MACHINE, kHalvora101.registrationKey, RegistryView::Bits64)
                  .ReadString(L"Language")
                  .value_or(L""),
              L"de");
    // Each database got the command line's list once, as it was given (not the list grown by each package).
    const auto lines = run.Log();
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(), L"VNT (c): Applying transformations: " + german + L"\r\n"), 2);
}
