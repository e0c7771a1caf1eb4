#include "launcher/StringTable_win.h"
#include "support/Handle_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The launcher built beside this test program, loaded as data: its string tables are the real ones.
class LauncherStrings : public testing::Test {
protected:
    void SetUp() override {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring launcher = path;
        launcher = launcher.substr(0, launcher.find_last_of(L'\\') + 1) + L"SetupLauncher.exe";
        module_.Attach(LoadLibraryExW(launcher.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module_.IsValid()) << "SetupLauncher.exe beside the test program";
    }
    HMODULE Module() const { return module_.Get(); }

private:
    ModuleHandle module_;
};

} // namespace

TEST_F(LauncherStrings, LoadsEachLanguageFromItsOwnTable) {
    const struct {
        uint16_t language;
        unsigned id;
        const wchar_t* expected;
    } cases[] = {
        {1033, 54, L"&Next >"},
        {1033, 150, L"Welcome to the installer for "},
        {1031, 54, L"&Weiter >"},
        {1031, 56, L"< &Zurück"},
        {1031, 1152, L"Größe der Sicherung:"},
        {1031, 1346,
         L"Wählen Sie „Schnellinstallation“, um diese Version mit denselben Optionen wie Ihr aktuelles "
         L"Produkt zu installieren. Wählen Sie „Weiter“, um mit dem Installations-Assistenten "
         L"fortzufahren und andere Optionen auszuwählen."},
        {1034, 56, L"< &Atrás"},
        {1034, 52, L"Español"},
        {1036, 55, L"&Terminer"},
        {1036, 50, L"Anglais"},
        // Japanese is stored under the neutral identifier 17 and found from 1041.
        {1041, 54, L"次へ(&N) >"},
        {1041, 57, L"キャンセル"},
        {17, 53, L"日本語"},
        {1033, 1302, L"Format: <machine_name>\\<user name>"},
        {1033, 24,
         L"Another version of this product is already installed.\nInstallation of this version cannot "
         L"continue. To\nconfigure or remove the existing version of this product,\nuse Add/Remove "
         L"Programs on the Control Panel."},
        {1033, 1243,
         L"Use \"127.0.0.1\" if you want to access the Web server only from this machine. Use "
         L"\"0.0.0.0\" to make the Web server globally accessible."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, LoadStringInLanguage(Module(), c.language, c.id)) << c.language << "/" << c.id;
}

TEST_F(LauncherStrings, MissingStringsAreEmptyAndNeverEnglish) {
    const struct {
        const char* what;
        uint16_t language;
        unsigned id;
    } cases[] = {
        {"no Chinese table", 2052, 54},
        {"no Italian table", 1040, 54},
        {"no Portuguese table", 2070, 30},
        {"Swiss German: only the neutral German table would be a fallback", 2055, 54},
        {"id missing in an existing block", 1033, 2},
        {"intentionally empty string", 1031, 1045},
        {"no block at all", 1033, 60000},
        {"largest id", 1036, 65535},
    };
    for (const auto& c : cases)
        EXPECT_EQ(L"", LoadStringInLanguage(Module(), c.language, c.id)) << c.what;
    EXPECT_NE(L"", LoadStringInLanguage(Module(), 1033, 30));
}

TEST_F(LauncherStrings, IgnoresTheThreadsUserInterfaceLanguage) {
    const LANGID before = GetThreadUILanguage();
    SetThreadUILanguage(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    EXPECT_EQ(L"Abbrechen", LoadStringInLanguage(Module(), 1031, 57));
    EXPECT_EQ(L"Cancel", LoadStringInLanguage(Module(), 1033, 57));
    SetThreadUILanguage(before);
}

TEST_F(LauncherStrings, FrenchTableNamesTheLanguagesInFrench) {
    LanguageTable table(ResourceStringSource(Module()));
    ASSERT_TRUE(table.SelectByName(L"French"));
    EXPECT_EQ((std::vector<std::wstring>{L"Anglais", L"Allemand", L"Espagnol", L"Français", L"Japonais"}),
              table.AvailableDisplayNames());
    EXPECT_EQ(L"Le programme d'installation a installé Halvora.", table.FormatString(30, L"Halvora"));
    table.SetAvailable(L"1034", false);
    ASSERT_TRUE(table.SelectByName(L"japonais"));
    EXPECT_EQ((std::vector<std::wstring>{L"英語", L"ドイツ語", L"フランス語", L"日本語"}),
              table.AvailableDisplayNames());
    EXPECT_EQ(L"Halvora - インストール ウィザード", table.FormatString(1, L"Halvora"));
    ASSERT_TRUE(table.SelectByName(L"ドイツ語"));
    EXPECT_EQ(L"Deutsch", table.CurrentDisplayName());
}

TEST_F(LauncherStrings, ProcessWideLoaderSpeaksTheRegisteredTablesLanguage) {
    LanguageTable table(ResourceStringSource(Module()));
    table.SelectByName(L"Spanish");
    SetProcessLanguageTable(&table);
    EXPECT_EQ(L"Cancelar", LoadResourceString(57));
    EXPECT_EQ(L"Halvora - Asistente para la instalación", FormatResourceString(1, L"Halvora"));
    table.SelectByName(L"German");
    EXPECT_EQ(L"Abbrechen", LoadResourceString(57));
    SetProcessLanguageTable(nullptr);
    // Without a table the program's own module is read in English; this test program carries no strings.
    EXPECT_EQ(L"", LoadResourceString(57));
}
