// The backup and database options page: when it passes on, what it shows, the size texts and the skip
// tick near their boundaries and past 32 bits, the warning before Next and the options string.
#include "server/BackupOptionsRules.h"
#include "StringIds.h"
#include "launcher/SetupMode.h"

#include <gtest/gtest.h>

using namespace Backup;

namespace {
constexpr uint64_t kMiB = 1024 * 1024;
constexpr uint64_t kGiB = 1024 * kMiB;
} // namespace

TEST(BackupOptionsRules, OnlyAnInteractiveFreshInstallAsks) {
    SetupMode fresh;
    SetupMode upgradeOfSameProduct;
    upgradeOfSameProduct.mainProductInstalled = true;
    SetupMode uninstall;
    uninstall.uninstallRequested = true;
    SetupMode repair;
    repair.repairRequested = true;
    EXPECT_FALSE(PassesOn(fresh, true));
    EXPECT_TRUE(PassesOn(fresh, false));
    EXPECT_TRUE(PassesOn(upgradeOfSameProduct, true));
    EXPECT_TRUE(PassesOn(uninstall, true));
    EXPECT_TRUE(PassesOn(repair, true));
}

TEST(BackupOptionsRules, WhatThePageShowsAfterMeasuring) {
    struct Case {
        const char* what;
        bool backupPossible, databaseExists, reset;
        unsigned description;
        Panel panel;
        bool examples, shown;
    };
    const Case cases[] = {
        {"fresh machine", false, false, false, StringId::InstallExamplesHint, Panel::None, true, true},
        {"server with its database", true, true, false, StringId::BackupIntro, Panel::Results, false, true},
        {"reset ticked offers the examples", true, true, true, StringId::BackupIntro, Panel::Results, true,
         true},
        {"server data without a database", true, false, false, StringId::BackupIntro, Panel::Results, true,
         true},
        {"database but no configuration file", false, true, false, StringId::BackupIntro, Panel::None, false,
         false},
    };
    for (const Case& c : cases) {
        const PageView view = ViewAfterMeasuring(c.backupPossible, c.databaseExists, c.reset);
        EXPECT_EQ(c.description, view.descriptionId) << c.what;
        EXPECT_EQ(c.panel, view.panel) << c.what;
        EXPECT_EQ(c.examples, view.exampleSolutionsShown) << c.what;
        EXPECT_EQ(c.shown, view.showPage) << c.what;
    }
    // Ticking and clearing "Reset Database" on an upgrade shows and hides the box again.
    EXPECT_TRUE(ExampleSolutionsShown(true, true));
    EXPECT_FALSE(ExampleSolutionsShown(true, false));
    EXPECT_EQ(StringId::CalculatingDiskSpace, StatusStringId(false));
    EXPECT_EQ(StringId::CalculationFinished, StatusStringId(true));
}

TEST(BackupOptionsRules, SizesAndTheSkipTickPastFourGiB) {
    struct Case {
        uint64_t backupBytes, freeMiB;
        const wchar_t* backupText;
        const wchar_t* freeText;
        bool skip;
    };
    const Case cases[] = {
        {0, 0, L"0 MB", L"0 MB", true},
        {kMiB - 1, 4096, L"0 MB", L"4 GB", false},
        {1024 * kMiB, 5120, L"1024 MB", L"5 GB", false},
        {1025 * kMiB, 1024, L"1 GB", L"1024 MB", true},
        {2047 * kMiB, 1025, L"1 GB", L"1 GB", true},
        {3 * kGiB, 5120, L"3 GB", L"5 GB", true}, // 5120 is less than 3072 plus 4096
        {3 * kGiB, 7168, L"3 GB", L"7 GB", false},
        {3 * kGiB, 7167, L"3 GB", L"6 GB", true},
        {4 * kGiB, 8192, L"4 GB", L"8 GB", false},
        {4 * kGiB + kMiB, 8192, L"4 GB", L"8 GB", true},
        {5 * kGiB, 9216, L"5 GB", L"9 GB", false},
        {10000 * kGiB, 3ull << 31, L"10000 GB", L"6291456 GB", false},
        {(1ull << 52), 0xFFFFFFFFull, L"4194304 GB", L"4194303 GB", true},
    };
    for (const Case& c : cases) {
        const ShownValues shown = ValuesShown(c.backupBytes, c.freeMiB);
        EXPECT_EQ(c.backupText, shown.backupSize) << c.backupBytes;
        EXPECT_EQ(c.freeText, shown.freeSpace) << c.freeMiB;
        EXPECT_EQ(c.skip, shown.skipBackup) << c.backupBytes << " " << c.freeMiB;
    }
}

TEST(BackupOptionsRules, WarningAndOptionsStringOfNext) {
    struct Case {
        const char* what;
        Choices choices;
        const wchar_t* warning;
        const wchar_t* options;
    };
    const Case cases[] = {
        {"nothing", {false, false, false, false}, L"", L""},
        {"fresh machine, examples not ticked",
         {false, false, true, false},
         L"",
         L"UPGRADE_SAMPLES_PARAM=--nosamples"},
        {"fresh machine, examples ticked", {false, false, true, true}, L"", L""},
        {"a ticked box hidden again asks for nothing", {false, false, false, true}, L"", L""},
        {"skip", {true, false, false, false}, L"<1165>", L"SKIP_BACKUP=true"},
        {"reset", {false, true, true, true}, L"<1164>", L"RESET_DATABASE=true"},
        {"skip and reset",
         {true, true, false, false},
         L"<1165>\n\n<1164>",
         L"RESET_DATABASE=true SKIP_BACKUP=true"},
        {"everything",
         {true, true, true, false},
         L"<1165>\n\n<1164>",
         L"RESET_DATABASE=true SKIP_BACKUP=true UPGRADE_SAMPLES_PARAM=--nosamples"},
    };
    const auto load = [](unsigned id) { return L"<" + std::to_wstring(id) + L">"; };
    for (const Case& c : cases) {
        EXPECT_EQ(c.warning, WarningText(c.choices, load)) << c.what;
        EXPECT_EQ(c.options, OptionsString(c.choices)) << c.what;
    }
    // A string that failed to load leaves no separator behind.
    EXPECT_EQ(L"<1164>", WarningText({true, true, false, false}, [](unsigned id) {
                  return id == StringId::SkipBackupWarning ? std::wstring()
                                                           : L"<" + std::to_wstring(id) + L">";
              }));
}
