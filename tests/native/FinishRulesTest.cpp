// The finish page's decisions: the tools the installed products offer, the outcome texts by mode and
// success, and where the tools are looked for.
#include "wizard/FinishRules.h"

#include <gtest/gtest.h>

using namespace Finish;

TEST(FinishRules, InstalledProductNamesOfferTheirTools) {
    struct Case {
        std::vector<std::wstring> names;
        bool taxonomy, schema, workflow;
    };
    const Case cases[] = {
        {{}, false, false, false},
        {{L"Quenlis Trelmo Server 2026"}, true, false, false},
        {{L"Quenlis Pennix Server 2026"}, true, true, false},
        {{L"Quenlis ZorvexXML Server 2026"}, false, true, false},
        {{L"Quenlis ZorvexXML+XBRL Server 2026"}, true, true, false},
        {{L"Quenlis Gavrin Server 2026 Advanced Edition"}, false, false, true},
        // Letter case counts, and a name must hold the whole phrase.
        {{L"Quenlis gavrin server"}, false, false, false},
        {{L"Quenlis TRELMO SERVER"}, false, false, false},
        {{L"Quenlis ZorvexXML"}, false, false, false},
        {{L"Quenlis Halvora Server"}, false, false, false},
        // Every installed package contributes.
        {{L"Quenlis Halvora Server", L"Quenlis Gavrin Server", L"Quenlis ZorvexXML Server"},
         false,
         true,
         true},
    };
    for (const Case& c : cases) {
        const ToolOffers offers = OfferedTools(c.names);
        const std::wstring first = c.names.empty() ? L"(none)" : c.names.front();
        EXPECT_EQ(offers.taxonomyTool, c.taxonomy) << first;
        EXPECT_EQ(offers.schemaTool, c.schema) << first;
        EXPECT_EQ(offers.workflowSetup, c.workflow) << first;
        EXPECT_EQ(offers.Any(), c.taxonomy || c.schema || c.workflow);
    }
}

TEST(FinishRules, TheOutcomeIsToldInTheWordsOfTheMode) {
    struct Case {
        SetupMode mode; // uninstall, repair, main installed
        bool success;
        unsigned title, outcome, hint;
        bool boxes;
    };
    const SetupMode fresh{false, false, false}, modify{false, false, true}, repair{false, true, true},
        uninstall{true, false, true}, repairAndUninstall{true, true, true};
    const Case cases[] = {
        {fresh, true, 28, 30, 0, true},
        {fresh, false, 29, 31, 32, false},
        {modify, true, 28, 45, 0, true},
        {modify, false, 29, 47, 0, false},
        {repair, true, 28, 44, 0, true},
        {repair, false, 29, 48, 0, false},
        {uninstall, true, 28, 43, 0, false},
        {uninstall, false, 29, 46, 1046, false},
        // Repair is told first; the boxes still stay hidden in anything that uninstalls.
        {repairAndUninstall, true, 28, 44, 0, false},
        {repairAndUninstall, false, 29, 48, 0, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const OutcomeStrings strings = OutcomeStringIds(c.mode, c.success);
        EXPECT_EQ(strings.title, c.title) << "case " << i;
        EXPECT_EQ(strings.outcome, c.outcome) << "case " << i;
        EXPECT_EQ(strings.hint, c.hint) << "case " << i;
        EXPECT_EQ(ShowsToolBoxes(c.mode, c.success), c.boxes) << "case " << i;
    }
}

TEST(FinishRules, ToolsAreLookedForOnlyInKnownFolders) {
    const std::wstring zettora = kTaxonomyToolFile;
    EXPECT_EQ(SharedToolPath(L"C:\\ProgramData", zettora),
              L"C:\\ProgramData\\Quenlis\\SharedBetweenVersions\\ZettoraFrontend.exe");
    EXPECT_EQ(SharedToolPath(L"C:\\ProgramData\\", kSchemaToolFile),
              L"C:\\ProgramData\\Quenlis\\SharedBetweenVersions\\WexlinFrontend.exe");
    // An unknown folder must not become "\Quenlis\..." on the current drive.
    EXPECT_EQ(SharedToolPath(L"", zettora), L"");
    EXPECT_EQ(SharedToolPath(L"\\", zettora), L"");

    struct Case {
        const wchar_t* application;
        const wchar_t* setup;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Quenlis\\Gavrin\\bin\\GavrinServer.exe",
         L"C:\\Program Files\\Quenlis\\Gavrin\\bin\\GavrinWeb Setup Launcher.exe"},
        {L"C:/Gavrin/GavrinServer.exe", L"C:/Gavrin/GavrinWeb Setup Launcher.exe"},
        {L"D:\\GavrinServer.exe", L"D:\\GavrinWeb Setup Launcher.exe"},
        // No registered application, or a bare name: nothing is looked for in the current folder.
        {L"", L""},
        {L"GavrinServer.exe", L""},
        {L"\\GavrinServer.exe", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WorkflowSetupPath(c.application), c.setup) << c.application;
}
