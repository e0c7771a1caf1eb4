// The server's data folder and what its configuration file says: the installer section, the solutions
// folder, and when a backup is possible.
#include "server/ServerDataSettings.h"

#include <gtest/gtest.h>

using namespace ServerData;

namespace {
const std::wstring kData = L"C:\\ProgramData\\Quenlis\\HalvoraServer";
const std::wstring kDefaultSolutions = kData + L"\\SolutionFiles";
} // namespace

TEST(ServerDataSettings, PathsUnderTheDataFolder) {
    EXPECT_EQ(kData, DataFolder(L"C:\\ProgramData", true));
    EXPECT_EQ(kData, DataFolder(L"C:\\ProgramData\\", true));
    EXPECT_EQ(L"", DataFolder(L"C:\\ProgramData", false));
    EXPECT_EQ(kData + L"\\halvora.db", InFolder(kData, kDatabaseFileName));
    // No data folder must not become the root of the current drive.
    EXPECT_EQ(L"", InFolder(L"", kConfigurationFileName));
}

TEST(ServerDataSettings, TheConfigurationFileDecidesTheBackupAndTheSolutionsFolder) {
    struct Case {
        const char* what;
        std::optional<std::string> file;
        bool found;
        bool avoid;
        std::wstring solutions;
    };
    const Case cases[] = {
        {"no file", std::nullopt, false, false, kDefaultSolutions},
        {"empty file", "", true, false, kDefaultSolutions},
        {"avoid in the installer section", "[installer]\r\navoidbackuponupgrade=1\r\n", true, true,
         kDefaultSolutions},
        {"any letter case, spaces", "[Installer]\nAvoidBackupOnUpgrade = 1\n", true, true, kDefaultSolutions},
        {"value 0", "[installer]\navoidbackuponupgrade=0\n", true, false, kDefaultSolutions},
        {"a 1 anywhere in the line counts", "[installer]\navoidbackuponupgrade=true ; 1\n", true, true,
         kDefaultSolutions},
        {"no 1: true is not enough", "[installer]\navoidbackuponupgrade=true\n", true, false,
         kDefaultSolutions},
        {"outside the section", "[server]\navoidbackuponupgrade=1\n", true, false, kDefaultSolutions},
        {"before any section", "avoidbackuponupgrade=1\n[installer]\n", true, false, kDefaultSolutions},
        {"another section closes it", "[installer]\n[other]\navoidbackuponupgrade=1\n", true, false,
         kDefaultSolutions},
        {"doubled brackets are another section", "[[installer]]\navoidbackuponupgrade=1\n", true, false,
         kDefaultSolutions},
        {"a header with trailing blanks is another section", "[installer] \navoidbackuponupgrade=1\n", true,
         false, kDefaultSolutions},
        {"solutions folder in any section", "[server]\nsolutionsworkingdir = \tD:\\Solutions \t\n", true,
         false, L"D:\\Solutions"},
        {"keeps the folder's letter case", "SolutionsWorkingDir=D:\\My Solutions\n", true, false,
         L"D:\\My Solutions"},
        {"text after the first equals sign", "solutionsworkingdir=D:\\a=b\n", true, false, L"D:\\a=b"},
        {"the last line wins", "solutionsworkingdir=D:\\a\n[x]\nsolutionsworkingdir=E:\\b\n", true, false,
         L"E:\\b"},
        {"no equals sign keeps the default", "solutionsworkingdir D:\\a\n", true, false, kDefaultSolutions},
        {"an equals sign only in front keeps the default", "=solutionsworkingdir\n", true, false,
         kDefaultSolutions},
        {"empty value empties the folder", "solutionsworkingdir=\n", true, false, L""},
        {"both keys, carriage returns",
         "[installer]\r\nsolutionsworkingdir=F:\\s\r\navoidbackuponupgrade=1\r\n", true, true, L"F:\\s"},
    };
    for (const Case& c : cases) {
        const Settings settings = ReadSettings(kData, c.file);
        EXPECT_EQ(c.found, settings.configurationFound) << c.what;
        EXPECT_EQ(c.avoid, settings.avoidBackup) << c.what;
        EXPECT_EQ(c.solutions, settings.solutionsFolder) << c.what;
    }
}

TEST(ServerDataSettings, WithoutADataFolderNothingIsReadOrOffered) {
    const Settings settings = ReadSettings(L"", std::string("[installer]\navoidbackuponupgrade=1\n"));
    EXPECT_FALSE(settings.configurationFound);
    EXPECT_FALSE(settings.avoidBackup);
    EXPECT_EQ(L"", settings.solutionsFolder);
    EXPECT_FALSE(LoadSettings(L"").configurationFound);

    Settings found;
    found.configurationFound = true;
    EXPECT_TRUE(BackupPossible(found, true));
    EXPECT_FALSE(BackupPossible(found, false));
    EXPECT_FALSE(BackupPossible(Settings{}, true));
}
