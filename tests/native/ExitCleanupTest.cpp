#include "launcher/ExitCleanup.h"

#include <gtest/gtest.h>

namespace {

using A = ExitAction;
constexpr auto Prune = ExitAction::PruneMsiFolders;

ExitFacts Facts(size_t packages, bool mainInstalled, int32_t result) {
    ExitFacts facts;
    facts.packageCount = packages;
    facts.mainInstalled = mainInstalled;
    facts.resultCode = result;
    return facts;
}

ExitFacts Uninstall(ExitFacts facts) {
    facts.uninstall = true;
    return facts;
}
ExitFacts Repair(ExitFacts facts) {
    facts.repair = true;
    return facts;
}
ExitFacts NotMsi(ExitFacts facts) {
    facts.mainIsMsi = false;
    return facts;
}
ExitFacts Oem(ExitFacts facts) {
    facts.oemMode = true;
    return facts;
}

} // namespace

// The four clean-up rules in their order; each may apply on its own.
TEST(ExitCleanup, FolderRulesInOrder) {
    const struct {
        const char* name;
        ExitFacts facts;
        std::vector<A> actions;
        bool selfDelete;
    } cases[] = {
        {"no packages", Facts(0, false, 2), {}, false},
        {"no packages, uninstall", Uninstall(NotMsi(Facts(0, false, 0))), {}, false},
        {"successful install", Facts(2, true, 0), {}, false},
        // Rule 3: a failed run of a product that is not installed leaves no package folders behind.
        {"failed fresh install", Facts(2, false, 2), {Prune}, false},
        {"cancelled fresh install", Facts(1, false, 3), {Prune}, false},
        {"failed install of an installed product", Facts(2, true, 2), {}, false},
        {"failed repair", Repair(Facts(2, false, 2)), {}, false},
        {"failed uninstall", Uninstall(Facts(2, false, 2)), {}, false},
        // Rule 1: uninstall of a main package that is not a Windows Installer package, whatever the result.
        {"uninstall, not msi", Uninstall(NotMsi(Facts(1, false, 0))), {Prune}, false},
        {"failed uninstall, not msi", Uninstall(NotMsi(Facts(1, true, 2))), {Prune}, false},
        {"install, not msi", NotMsi(Facts(1, true, 0)), {}, false},
        // Rule 2: a successful OEM install of an installed product.
        {"oem install", Oem(Facts(2, true, 0)), {Prune}, false},
        {"oem install, not installed", Oem(Facts(2, false, 0)), {}, false},
        {"failed oem install", Oem(Facts(2, false, 2)), {Prune}, false},
        // Rule 4 and the batch: a successful uninstall of a launcher with sub-packages removes the folders of
        // every package no longer installed, not only the main one's.
        {"uninstall of two", Uninstall(Facts(2, false, 0)), {Prune}, true},
        {"uninstall of three, main still installed", Uninstall(Facts(3, true, 0)), {Prune}, true},
        {"uninstall of one", Uninstall(Facts(1, false, 0)), {}, false},
        {"failed uninstall of two", Uninstall(Facts(2, false, 2)), {}, false},
        {"uninstall of two, not msi", Uninstall(NotMsi(Facts(2, false, 0))), {Prune, Prune}, true},
        {"oem uninstall", Oem(Uninstall(NotMsi(Facts(2, true, 0)))), {Prune, Prune, Prune}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actions, PlanFolderCleanup(c.facts)) << c.name;
        EXPECT_EQ(c.selfDelete, WantsSelfDelete(c.facts)) << c.name;
    }
}

// The folder is quoted, so that a path with spaces names the folder itself and not its first word; the batch
// tries again until the folder is gone, then deletes itself.
TEST(ExitCleanup, SelfDeleteBatchQuotesTheFolderAndRetries) {
    EXPECT_EQ(L"@ECHO OFF\n SET tries=0\n:again\n rmdir /S /Q \"C:\\ProgramData\\Quenlis\\{A1B2}\" 2>NUL\n"
              L" IF NOT EXIST \"C:\\ProgramData\\Quenlis\\{A1B2}\" GOTO done\n SET /A tries+=1\n"
              L" IF %tries% GEQ 60 GOTO done\n ping -n 2 127.0.0.1 >NUL\n GOTO again\n:done\n DEL \"%~f0\"",
              SelfDeleteBatchText(L"C:\\ProgramData\\Quenlis\\{A1B2}"));
    const std::wstring withSpaces = SelfDeleteBatchText(L"C:\\Program Data\\Quenlis\\My Product");
    EXPECT_NE(std::wstring::npos,
              withSpaces.find(L"rmdir /S /Q \"C:\\Program Data\\Quenlis\\My Product\" 2>NUL\n"));
}

// The batch deletes a whole tree, so it is written only for a folder strictly inside the base folder.
TEST(ExitCleanup, OnlyFoldersInsideTheBaseFolderAreDeleted) {
    const std::wstring base = L"C:\\ProgramData\\Quenlis";
    const struct {
        std::wstring path, folder;
        bool inside;
    } cases[] = {
        {L"C:\\ProgramData\\Quenlis\\{A1B2}", base, true},
        {L"C:\\ProgramData\\Quenlis\\{A1B2}\\sub", base, true},
        {L"c:\\programdata\\QUENLIS\\{A1B2}", base, true},
        {L"C:/ProgramData/Quenlis/{A1B2}", base, true},
        {L"C:\\ProgramData\\Quenlis\\{A1B2}\\", base, true},
        {L"C:\\ProgramData\\Quenlis\\{A1B2}", base + L"\\", true},
        {L"C:\\ProgramData\\Quenlis", base, false},
        {L"C:\\ProgramData\\Quenlis\\", base, false},
        {L"C:\\ProgramData", base, false},
        {L"C:\\ProgramData\\QuenlisOther\\x", base, false},
        {L"D:\\ProgramData\\Quenlis\\x", base, false},
        {L"C:\\ProgramData\\Quenlis\\..\\..\\Windows", base, false},
        {L"C:\\ProgramData\\Quenlis\\x\\..", base, false},
        {L"C:\\ProgramData\\Quenlis\\.", base, false},
        {L"\\\\C:\\ProgramData\\Quenlis\\x", base, false},
        {L"C:\\ProgramData\\Quenlis\\x\" & rd /s /q \"C:\\", base, false},
        // A percent sign would be expanded by the batch interpreter, even inside quotes.
        {L"C:\\ProgramData\\Quenlis\\%SystemRoot%", base, false},
        {L"C:\\ProgramData\\Quenlis\\x", L"", false},
        {L"", base, false},
        {L"C:\\ProgramData\\Quenlis\\x", L"\\", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.inside, IsStrictlyInsideFolder(c.path, c.folder))
            << std::string(c.path.begin(), c.path.end());
}
