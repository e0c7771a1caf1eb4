// What the system integrity page decides without windows: when the check runs, the texts built from the
// conflict records, and the installer level of the removals.
#include "wizard/SystemIntegrityRules.h"
#include "launcher/CommandLine.h"

#include <gtest/gtest.h>

using namespace SystemIntegrity;

TEST(SystemIntegrityRules, TheCheckRunsForFreshInstallsAndModifiedSuites) {
    struct Case {
        SetupMode mode;
        size_t products;
        bool runs;
    };
    const Case cases[] = {
        {{false, false, false}, 1, true}, // fresh install
        {{false, false, true}, 1, false}, // modify of a single product
        {{false, false, true}, 2, true},  // modify of a suite
        {{false, true, false}, 2, false}, // repair
        {{true, false, true}, 3, false},  // uninstall
        {{false, false, false}, 0, true}, // fresh install of a package without products: the check finds none
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.runs, RunsCheck(c.mode, c.products))
            << c.mode.uninstallRequested << c.mode.repairRequested << c.mode.mainProductInstalled
            << c.products;
}

TEST(SystemIntegrityRules, BlockingTextsNameWhatCannotBeRemoved) {
    const ProductRecord installed(L"HV::Z", L"10.0.0.4", false);
    std::vector<ConflictRecord> records = {{L"Replace.", true, installed}, {L"First.", false, std::nullopt}};
    BlockingMessages messages = CollectBlockingMessages(records);
    EXPECT_EQ(L"First.\n\n", messages.text);
    EXPECT_EQ(1, messages.count);
    EXPECT_EQ(1365u, BlockingTextStringId(messages.count));

    records.push_back({L"Second.", false, installed});
    messages = CollectBlockingMessages(records);
    EXPECT_EQ(L"First.\n\nSecond.\n\n", messages.text);
    EXPECT_EQ(1366u, BlockingTextStringId(messages.count));

    // A blocking result whose records are all removable still says why it stops.
    messages = CollectBlockingMessages({{L"Already part of a suite.", true, installed}});
    EXPECT_EQ(L"Already part of a suite.\n\n", messages.text);
    EXPECT_EQ(1365u, BlockingTextStringId(messages.count));
}

TEST(SystemIntegrityRules, TheRemovalListNamesFourAndThenDots) {
    std::vector<ConflictRecord> records = {{L"No installation.", false, std::nullopt}};
    for (const wchar_t* version : {L"10.0", L"9.2", L"9.1", L"8.0", L"7.0", L"6.0"})
        records.push_back({L"Replace.", true, ProductRecord(L"HV::Z", version, false)});
    const std::vector<ProductRecord> list = RemovalList(records);
    ASSERT_EQ(6u, list.size());
    EXPECT_EQ(L"Quenlis Halvora Server 10.0", list.front().DisplayName());
    EXPECT_EQ(
        L"\n    Quenlis Halvora Server 10.0\n    Quenlis Halvora Server 9.2\n    Quenlis Halvora Server 9.1"
        L"\n    Quenlis Halvora Server 8.0\n    ...",
        RemovalNames(list));
    EXPECT_EQ(L"\n    Quenlis Halvora Server 10.0", RemovalNames({list.front()}));
    EXPECT_EQ(L"", RemovalNames({}));
}

TEST(SystemIntegrityRules, RemovalsRunAtBasicLevelUnlessTheLauncherIsSilent) {
    EXPECT_EQ(UiLevel::None, RemovalUiLevel(UiLevel::None));
    EXPECT_EQ(UiLevel::None, RemovalUiLevel(UiLevel::None | UiLevel::EndDialog));
    EXPECT_EQ(UiLevel::Basic, RemovalUiLevel(UiLevel::Basic));
    EXPECT_EQ(UiLevel::Basic, RemovalUiLevel(UiLevel::Full | UiLevel::EndDialog));
}
