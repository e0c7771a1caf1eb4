// Whole runs of a real launcher carrying the full test line, driven through the wizard as a user drives
// it, in English and in Japanese: a fresh install that leaves one sub-package out, then "Change" from the
// installed-programs entry adding it, a repair and the removal of everything; an older release replaced
// by the quick install and, in another run, through the removal page; Cancel on every page that offers
// it; and the same operations silently. Every run is judged by what is installed afterwards.
#include "RunLeftovers.h"
#include "WholeRunSupport.h"

#include "launcher/SystemInfo_win.h"

#include <gtest/gtest.h>

#include <optional>

using namespace e2e;
using namespace TestProducts;

namespace {

// The sub-packages page's boxes, in manifest order without the main product and the companion.
constexpr int kZorvexBox = 1360;
constexpr int kPennixBox = 1361;
constexpr int kExampleSolutionsBox = 1352;

const std::vector<const Product*> kLine = {&kHalvora101, &kKestrum317, &kZorvex2024, &kPennix2024};
const std::vector<const Product*> kOldAndNew = {&kHalvora100, &kKestrum312, &kHalvora101,
                                                &kKestrum317, &kZorvex2024, &kPennix2024};
// The older main release and the new line. The older companion (Kestrum 3.12) is no conflict of the main
// package, the only one the wizard checks before it installs, and stays beside 3.17.
const std::vector<const Product*> kOldMainAndNew = {&kHalvora100, &kHalvora101, &kKestrum317, &kZorvex2024,
                                                    &kPennix2024};

std::vector<std::wstring> Stems(std::initializer_list<const Product*> products) {
    std::vector<std::wstring> stems;
    for (const Product* product : products)
        stems.push_back(product->stem);
    return stems;
}

LaunchOptions Launcher(const std::wstring& path) {
    LaunchOptions options;
    options.launcher = path;
    options.timeLimitMs = 180'000;
    return options;
}

// A launcher started, with its wizard found on screen.
struct WizardRun {
    WizardRun(const std::wstring& launcher, const std::wstring& arguments)
        : process(arguments, Launcher(launcher)),
          wizard(process.Started() ? WizardDriver::WaitForWizard(process.ProcessId()) : nullptr) {}
    LauncherProcess process;
    HWND wizard;
};

bool PackageFolderExists(const Product& product) {
    return GetFileAttributesW((LauncherBaseFolder() + L"\\" + product.packageCode).c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

std::string FlowName(const UiLanguage& language, const std::string& flow) {
    return flow + "-" + language.tag;
}

bool DamageRegistration(const Product& product) {
    return RegistryKey::Open(HKEY_LOCAL_MACHINE, product.registrationKey, RegistryView::Bits64,
                             KEY_READ | KEY_SET_VALUE)
        .DeleteValue(L"Version");
}

} // namespace

class WholeRun : public ::testing::TestWithParam<UiLanguage> {
protected:
    const UiLanguage& Language() const { return GetParam(); }
    template <class... Args> std::wstring T(unsigned id, const Args&... args) const {
        return UiText(GetParam(), id, args...);
    }

    // The welcome page with this title, switched to the run's language in the language box when it came
    // up in English (the system's language, or that of an installed release).
    void OpenWelcome(HWND wizard, unsigned title) const {
        ASSERT_TRUE(PollFor(30'000, [&] {
            return IsWindowVisible(wizard) &&
                   (PageShows(wizard, UiText(kEnglishRun, title)) || PageShows(wizard, T(title)));
        }));
        if (PageShows(wizard, T(title)))
            return;
        ASSERT_TRUE(WizardDriver::SelectLanguage(wizard, UiText(kEnglishRun, Language().nameId)));
        ASSERT_TRUE(WaitForPageText(wizard, T(title), 10'000)) << PageDump(wizard);
    }

    void ExpectFinishPage(HWND wizard, unsigned title, const std::wstring& outcome) const {
        ASSERT_TRUE(WaitForNextCaption(wizard, T(StringId::Finish))) << PageDump(wizard);
        EXPECT_TRUE(PageShows(wizard, T(title)));
        EXPECT_TRUE(PageShows(wizard, outcome)) << WideToUtf8(outcome);
    }

    // The service configuration page, shown after the unpack page while a selected package has a server
    // to configure: the user keeps the settings it proposes.
    void NextOnServiceConfiguration(HWND wizard, const char* screenshot = nullptr) const {
        ASSERT_TRUE(WaitForPageText(wizard, T(StringId::ServiceConfiguration))) << PageDump(wizard);
        if (screenshot)
            Screenshot(wizard, screenshot, Language());
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
    }

    // The backup options page of a fresh install on a machine without a server: the example solutions
    // alone, left out.
    void NextOnBackupPage(HWND wizard, const char* screenshot = nullptr) const {
        ASSERT_TRUE(WaitForPageText(wizard, T(StringId::InstallExamplesHint))) << PageDump(wizard);
        EXPECT_EQ(BST_UNCHECKED, WizardDriver::CheckBoxState(wizard, kExampleSolutionsBox));
        if (screenshot)
            Screenshot(wizard, screenshot, Language());
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
    }

    // The broker's page waits for Next; its installer is not run.
    void NextOnBrokerPage(HWND wizard, const char* screenshot = nullptr) const {
        ASSERT_TRUE(WaitForPageText(wizard, T(StringId::MqttSupport))) << PageDump(wizard);
        if (screenshot)
            Screenshot(wizard, screenshot, Language());
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
    }

    // Next on the sub-packages page, then on the broker's and the service configuration pages after it.
    void NextPastTheServerPages(HWND wizard) const {
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_NO_FATAL_FAILURE(NextOnBrokerPage(wizard));
        ASSERT_NO_FATAL_FAILURE(NextOnServiceConfiguration(wizard));
    }

    // Presses Finish; the run's exit code.
    static DWORD Finish(WizardRun& run) {
        EXPECT_TRUE(WizardDriver::PressNext(run.wizard));
        return run.process.Wait().exitCode;
    }

    // Next on a page that waits, then the sub-packages page with both boxes in these states.
    void NextToSubPackages(HWND wizard, unsigned description, int zorvex, int pennix) const {
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitForControl(wizard, kPennixBox)) << PageDump(wizard);
        EXPECT_TRUE(PageShows(wizard, T(StringId::SubPackagesTitle)));
        EXPECT_TRUE(PageShows(wizard, T(description)));
        EXPECT_EQ(kZorvex2024.productName, ControlText(wizard, kZorvexBox));
        EXPECT_EQ(kPennix2024.productName, ControlText(wizard, kPennixBox));
        EXPECT_EQ(zorvex, WizardDriver::CheckBoxState(wizard, kZorvexBox));
        EXPECT_EQ(pennix, WizardDriver::CheckBoxState(wizard, kPennixBox));
    }

    // Wine's maintenance installs (a modify or a repair of an installed product) do not apply the
    // transforms the product was installed with again, so its registration falls back to the database's
    // own language, English; Windows keeps the installed language. The next run's wizard starts in the
    // language the main product registered: put it back as Windows would have kept it.
    void KeepInstalledLanguage() const {
        for (const Product* product : kLine)
            if (IsInstalled(*product))
                ASSERT_TRUE(RegistryKey::Open(HKEY_LOCAL_MACHINE, product->registrationKey,
                                              RegistryView::Bits64, KEY_READ | KEY_SET_VALUE)
                                .WriteString(L"Language", Language().registered));
    }

    const std::wstring main_ = kHalvora101.productName;
};

INSTANTIATE_TEST_SUITE_P(, WholeRun, ::testing::Values(kEnglishRun, kJapaneseRun),
                         [](const ::testing::TestParamInfo<UiLanguage>& info) { return info.param.tag; });

TEST_P(WholeRun, InstallWithoutOneSubPackageThenChangeRepairAndRemoveThroughTheEntry) {
    {
        const FlowTimer timer(FlowName(Language(), "install"));
        WizardRun run(FullLineLauncher(), L"");
        ASSERT_TRUE(run.wizard);
        ASSERT_NO_FATAL_FAILURE(OpenWelcome(run.wizard, StringId::Welcome));
        EXPECT_TRUE(PageShows(run.wizard, main_));
        Screenshot(run.wizard, "welcome", Language());
        ASSERT_NO_FATAL_FAILURE(
            NextToSubPackages(run.wizard, StringId::SubPackagesInstall, BST_CHECKED, BST_CHECKED));
        ASSERT_TRUE(WizardDriver::SetCheckBox(run.wizard, kPennixBox, false));
        Screenshot(run.wizard, "subpackages", Language());
        ASSERT_TRUE(WizardDriver::PressNext(run.wizard));
        ASSERT_NO_FATAL_FAILURE(NextOnBackupPage(run.wizard, "backup-options"));
        ASSERT_NO_FATAL_FAILURE(NextOnBrokerPage(run.wizard, "mosquitto"));
        ASSERT_TRUE(WaitForPageText(run.wizard, T(StringId::UnpackHeading))) << PageDump(run.wizard);
        Screenshot(run.wizard, "unpack", Language());
        ASSERT_NO_FATAL_FAILURE(NextOnServiceConfiguration(run.wizard, "service-configuration"));
        ASSERT_NO_FATAL_FAILURE(
            ExpectFinishPage(run.wizard, StringId::Completed, T(StringId::Installed, main_)));
        Screenshot(run.wizard, "finish-success", Language());
        EXPECT_EQ(0u, Finish(run));
    }
    EXPECT_EQ(Stems({&kHalvora101, &kKestrum317, &kZorvex2024}), InstalledAmong(kLine));
    for (const Product* product : {&kHalvora101, &kKestrum317, &kZorvex2024})
        EXPECT_EQ(Language().registered, Registered(*product, L"Language")) << WideToUtf8(product->stem);
    // The backup options reached the main line's package.
    EXPECT_EQ(L"--nosamples", LauncherProperty(kHalvora101, L"UPGRADE_SAMPLES_PARAM"));
    EXPECT_EQ(L"", LauncherProperty(kHalvora101, L"SKIP_BACKUP"));

    // "Change" in the installed-programs list: the launcher copy, in the language of the install.
    const EntryCommand change = ReadEntryCommand(L"ModifyPath");
    EXPECT_EQ(Language().argument, change.arguments);
    {
        const FlowTimer timer(FlowName(Language(), "modify"));
        WizardRun run(change.program, change.arguments);
        ASSERT_TRUE(run.wizard);
        ASSERT_TRUE(WaitForPageText(run.wizard, T(StringId::ModifyIntroduction), 30'000))
            << PageDump(run.wizard);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(run.wizard, WizardDriver::kLanguageBoxId)));
        // What is installed is ticked; the sub-package left out is offered.
        ASSERT_NO_FATAL_FAILURE(
            NextToSubPackages(run.wizard, StringId::SubPackagesModify, BST_CHECKED, BST_UNCHECKED));
        ASSERT_TRUE(WizardDriver::SetCheckBox(run.wizard, kPennixBox, true));
        ASSERT_NO_FATAL_FAILURE(NextPastTheServerPages(run.wizard));
        ASSERT_NO_FATAL_FAILURE(
            ExpectFinishPage(run.wizard, StringId::Completed, T(StringId::Modified, main_)));
        EXPECT_EQ(0u, Finish(run));
    }
    EXPECT_EQ(Stems({&kHalvora101, &kKestrum317, &kZorvex2024, &kPennix2024}), InstalledAmong(kLine));
    EXPECT_EQ(Language().registered, Registered(kPennix2024, L"Language"));
    ASSERT_NO_FATAL_FAILURE(KeepInstalledLanguage());

    // A repair puts back what the products registered.
    ASSERT_TRUE(DamageRegistration(kZorvex2024));
    ASSERT_TRUE(DamageRegistration(kPennix2024));
    {
        const FlowTimer timer(FlowName(Language(), "repair"));
        WizardRun run(change.program, L"/f " + change.arguments);
        ASSERT_TRUE(run.wizard);
        ASSERT_TRUE(WaitForPageText(run.wizard, T(StringId::RepairIntroduction), 30'000))
            << PageDump(run.wizard);
        ASSERT_NO_FATAL_FAILURE(
            NextToSubPackages(run.wizard, StringId::SubPackagesRepair, BST_CHECKED, BST_CHECKED));
        ASSERT_NO_FATAL_FAILURE(NextPastTheServerPages(run.wizard));
        ASSERT_NO_FATAL_FAILURE(
            ExpectFinishPage(run.wizard, StringId::Completed, T(StringId::Repaired, main_)));
        EXPECT_EQ(0u, Finish(run));
    }
    EXPECT_EQ(4u, InstalledAmong(kLine).size());
    EXPECT_EQ(L"2024.1", Registered(kZorvex2024, L"Version"));
    EXPECT_EQ(L"2024.1", Registered(kPennix2024, L"Version"));
    ASSERT_NO_FATAL_FAILURE(KeepInstalledLanguage());

    // "Uninstall" in the list.
    const EntryCommand removal = ReadEntryCommand(L"UninstallString");
    EXPECT_EQ(std::wstring(L"/x ") + Language().argument, removal.arguments);
    {
        const FlowTimer timer(FlowName(Language(), "remove"));
        WizardRun run(removal.program, removal.arguments);
        ASSERT_TRUE(run.wizard);
        ASSERT_TRUE(WaitForPageText(run.wizard, T(StringId::UninstallIntroduction), 30'000))
            << PageDump(run.wizard);
        ASSERT_NO_FATAL_FAILURE(
            NextToSubPackages(run.wizard, StringId::SubPackagesUninstall, BST_CHECKED, BST_CHECKED));
        ASSERT_TRUE(WizardDriver::PressNext(run.wizard));
        ASSERT_NO_FATAL_FAILURE(
            ExpectFinishPage(run.wizard, StringId::Completed, T(StringId::Uninstalled, main_)));
        EXPECT_EQ(0u, Finish(run));
    }
    EXPECT_TRUE(InstalledAmong(kLine).empty());
    EXPECT_FALSE(MainEntry().IsOpen());
}

// The older release (Halvora 10.0 with Kestrum 3.12), installed in the run's language, so that the
// wizard starts in it.
TEST_P(WholeRun, AnOlderReleaseGoesByQuickInstallOrThroughTheRemovalPage) {
    const auto installOlderRelease = [&] {
        const RunResult run = RunLauncher({L"/qn", Language().argument},
                                          Launcher(TestProgramFolder() + L"\\" + kOldProductsLauncher));
        ASSERT_EQ(0u, run.exitCode);
        ASSERT_EQ(Stems({&kHalvora100, &kKestrum312}), InstalledAmong(kOldAndNew));
    };
    const std::wstring older = kHalvora100.productName;
    {
        const UndoInstalls undo;
        ASSERT_NO_FATAL_FAILURE(installOlderRelease());
        const FlowTimer timer(FlowName(Language(), "quick-install"));
        WizardRun run(FullLineLauncher(), L"");
        ASSERT_TRUE(run.wizard);
        ASSERT_TRUE(WaitForPageText(run.wizard, T(StringId::Upgrading), 30'000)) << PageDump(run.wizard);
        EXPECT_TRUE(PageShows(run.wizard, T(StringId::ReplaceInstallation, older)));
        EXPECT_TRUE(PageShows(run.wizard, T(StringId::QuickInstallHint)));
        EXPECT_EQ(T(StringId::QuickInstall), WizardDriver::ReadButtons(run.wizard).back);
        Screenshot(run.wizard, "welcome-quick-install", Language());
        ASSERT_TRUE(WizardDriver::PressBack(run.wizard));
        ASSERT_NO_FATAL_FAILURE(
            ExpectFinishPage(run.wizard, StringId::Completed, T(StringId::Installed, main_)));
        EXPECT_EQ(0u, Finish(run));
        EXPECT_EQ(Stems({&kHalvora101, &kKestrum317, &kZorvex2024, &kPennix2024}),
                  InstalledAmong(kOldMainAndNew));
        EXPECT_EQ(Language().registered, Registered(kHalvora101, L"Language"));
    }
    {
        const UndoInstalls undo;
        ASSERT_NO_FATAL_FAILURE(installOlderRelease());
        const FlowTimer timer(FlowName(Language(), "removal-page"));
        WizardRun run(FullLineLauncher(), L"");
        ASSERT_TRUE(run.wizard);
        ASSERT_TRUE(WaitForPageText(run.wizard, T(StringId::Upgrading), 30'000)) << PageDump(run.wizard);
        ASSERT_NO_FATAL_FAILURE(
            NextToSubPackages(run.wizard, StringId::SubPackagesInstall, BST_CHECKED, BST_CHECKED));
        ASSERT_TRUE(WizardDriver::PressNext(run.wizard));
        ASSERT_NO_FATAL_FAILURE(NextOnBackupPage(run.wizard));
        ASSERT_NO_FATAL_FAILURE(NextOnBrokerPage(run.wizard));
        ASSERT_TRUE(WaitForNextCaption(run.wizard, T(StringId::Remove), 30'000)) << PageDump(run.wizard);
        EXPECT_EQ(T(StringId::Retry), WizardDriver::ReadButtons(run.wizard).back);
        EXPECT_TRUE(PageShows(run.wizard, T(StringId::RemovalHint)));
        EXPECT_TRUE(PageShows(run.wizard, T(StringId::RemovalList, L"\n    " + older)))
            << PageDump(run.wizard);
        Screenshot(run.wizard, "removal", Language());
        ASSERT_TRUE(WizardDriver::PressNext(run.wizard));
        ASSERT_NO_FATAL_FAILURE(NextOnServiceConfiguration(run.wizard));
        ASSERT_NO_FATAL_FAILURE(
            ExpectFinishPage(run.wizard, StringId::Completed, T(StringId::Installed, main_)));
        EXPECT_EQ(0u, Finish(run));
        EXPECT_EQ(Stems({&kHalvora101, &kKestrum317, &kZorvex2024, &kPennix2024}),
                  InstalledAmong(kOldMainAndNew));
    }
}

// Cancel leads to the finish page's interrupted texts and ends with "User cancelled installation." (3);
// nothing is installed or removed and no unpacked package is left behind.
TEST_P(WholeRun, CancelOnEveryPageLeavesTheMachineAsItWas) {
    enum class Page { Welcome, SubPackages, Broker, Unpack, Removal };
    struct Case {
        Page page;
        const char* name;
    };
    const Case cases[] = {
        {Page::Welcome, "welcome"}, {Page::SubPackages, "subpackages"}, {Page::Broker, "broker"},
        {Page::Unpack, "unpack"},   {Page::Removal, "removal"}, // with an older release installed, which
                                                                // stays
    };
    ScratchFolder source;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<InstalledProduct> older;
        if (c.page == Page::Removal) {
            older.emplace(kHalvora100, DatabaseCopiedTo(kHalvora100, source.Path()));
            ASSERT_EQ(0u, older->Result());
        }
        const std::vector<std::wstring> before = InstalledTestProducts();
        const FlowTimer timer(FlowName(Language(), std::string("cancel-") + c.name));
        WizardRun run(FullLineLauncher(), L"");
        ASSERT_TRUE(run.wizard);
        ASSERT_NO_FATAL_FAILURE(
            OpenWelcome(run.wizard, c.page == Page::Removal ? StringId::Upgrading : StringId::Welcome));
        if (c.page != Page::Welcome)
            ASSERT_NO_FATAL_FAILURE(
                NextToSubPackages(run.wizard, StringId::SubPackagesInstall, BST_CHECKED, BST_CHECKED));
        if (c.page != Page::Welcome && c.page != Page::SubPackages) {
            ASSERT_TRUE(WizardDriver::PressNext(run.wizard));
            ASSERT_NO_FATAL_FAILURE(NextOnBackupPage(run.wizard));
            ASSERT_TRUE(WaitForPageText(run.wizard, T(StringId::MqttSupport))) << PageDump(run.wizard);
        }
        if (c.page == Page::Unpack) {
            ASSERT_TRUE(WizardDriver::PressNext(run.wizard));
            ASSERT_TRUE(WaitForPageText(run.wizard, T(StringId::UnpackHeading), 30'000))
                << PageDump(run.wizard);
        } else if (c.page == Page::Removal) {
            ASSERT_TRUE(WizardDriver::PressNext(run.wizard));
            ASSERT_TRUE(WaitForNextCaption(run.wizard, T(StringId::Remove), 30'000)) << PageDump(run.wizard);
        }
        ASSERT_TRUE(WizardDriver::PressCancel(run.wizard));
        ASSERT_NO_FATAL_FAILURE(
            ExpectFinishPage(run.wizard, StringId::Aborted, T(StringId::InstallInterrupted, main_)));
        EXPECT_TRUE(PageShows(run.wizard, T(StringId::RunAgain)));
        EXPECT_FALSE(WizardDriver::ReadButtons(run.wizard).cancelEnabled);
        if (c.page == Page::Welcome)
            Screenshot(run.wizard, "finish-cancel", Language());
        EXPECT_EQ(3u, Finish(run));
        EXPECT_EQ(before, InstalledTestProducts());
        for (const Product* product : kLine)
            EXPECT_FALSE(PackageFolderExists(*product)) << WideToUtf8(product->stem);
    }
}

// The same operations silently, as deployment tools run them: with no user interface in English and with
// Windows Installer's basic progress in Japanese. A package failing in a silent install undoes it all.
TEST(WholeRunSilent, EveryOperationEndsWithItsResultAndLeavesWhatItShould) {
    struct Level {
        const wchar_t* switchText;
        const UiLanguage& language;
    };
    const Level levels[] = {{L"/qn", kEnglishRun}, {L"/qb", kJapaneseRun}};
    enum class Program { Launcher, EntryCopy };
    struct Step {
        const char* name;
        Program program;
        std::vector<std::wstring> arguments;
        DWORD exitCode;
        std::vector<std::wstring> installed;
        const Product* damaged; // its registration loses "Version" before the step, and has it back after
        bool withoutInterface;  // basic user interface would show the package's error in a message box
    };
    const Step steps[] = {
        {"failed-install", Program::Launcher, {L"FAIL_PACKAGE=PennixServer"}, 2, {}, nullptr, true},
        {"install",
         Program::Launcher,
         {L"subPackages=ZorvexXML,Kestrum"},
         0,
         Stems({&kHalvora101, &kKestrum317, &kZorvex2024}),
         nullptr,
         false},
        {"modify",
         Program::EntryCopy,
         {L"subPackages=Pennix"},
         0,
         Stems({&kHalvora101, &kKestrum317, &kZorvex2024, &kPennix2024}),
         nullptr,
         false},
        {"repair",
         Program::Launcher,
         {L"/f"},
         0,
         Stems({&kHalvora101, &kKestrum317, &kZorvex2024, &kPennix2024}),
         &kPennix2024,
         false},
        {"remove", Program::EntryCopy, {L"/x"}, 0, {}, nullptr, false},
    };
    for (const Level& level : levels) {
        const UndoInstalls undo;
        for (const Step& step : steps) {
            if (step.withoutInterface && std::wstring(level.switchText) != L"/qn")
                continue;
            const std::string name = WideToUtf8(level.switchText + 1) + "-" + step.name;
            SCOPED_TRACE(name);
            if (step.damaged)
                ASSERT_TRUE(DamageRegistration(*step.damaged));
            std::wstring program = FullLineLauncher();
            if (step.program == Program::EntryCopy) {
                program = ReadEntryCommand(L"ModifyPath").program;
                ASSERT_FALSE(program.empty());
            }
            std::vector<std::wstring> arguments = {level.switchText, level.language.argument};
            arguments.insert(arguments.end(), step.arguments.begin(), step.arguments.end());
            const std::vector<std::wstring> before = InstalledAmong(kLine);
            RunResult run;
            {
                const FlowTimer timer("silent-" + name);
                run = RunLauncher(arguments, Launcher(program));
            }
            EXPECT_EQ(step.exitCode, run.exitCode);
            EXPECT_EQ(step.installed, InstalledAmong(kLine));
            // What the step installed speaks the run's language. (Wine's repair does not apply the
            // transforms an installation was made with again, so a repaired product falls back to the
            // database's own language: only new installations are checked.)
            for (const Product* product : kLine)
                if (IsInstalled(*product) &&
                    std::find(before.begin(), before.end(), product->stem) == before.end())
                    EXPECT_EQ(level.language.registered, Registered(*product, L"Language"))
                        << WideToUtf8(product->stem);
            if (step.damaged)
                EXPECT_EQ(L"2024.1", Registered(*step.damaged, L"Version"));
        }
    }
}
