// The welcome page's decisions: the greeting by mode, the quick-install offer for an upgrade, the notice.
#include "wizard/WelcomeRules.h"

#include <gtest/gtest.h>

using namespace Welcome;

TEST(WelcomeRules, TheGreetingFollowsTheModeRepairFirst) {
    EXPECT_EQ(1403u, IntroductionStringId({false, false, false}, 1403));
    EXPECT_EQ(37u, IntroductionStringId({false, false, true}, 35));
    EXPECT_EQ(38u, IntroductionStringId({false, true, true}, 35));
    EXPECT_EQ(36u, IntroductionStringId({true, false, true}, 35));
    EXPECT_EQ(38u, IntroductionStringId({true, true, false}, 35)); // repair wins over uninstall
}

TEST(WelcomeRules, QuickInstallIsOfferedForPlainUpgradesOfKnownProducts) {
    struct Case {
        const char* what;
        UpgradeCase upgrade;
        bool offered;
    };
    const auto server = [](bool sameMajor, bool candidatesEmpty, bool customFolder, const wchar_t* id) {
        UpgradeCase c;
        c.serverProduct = true;
        c.sameMajor = sameMajor;
        c.candidatesEmpty = candidatesEmpty;
        c.anyCustomFolder = customFolder;
        c.mainProductId = id;
        return c;
    };
    UpgradeCase desktopWithControl;
    desktopWithControl.desktopProduct = true;
    desktopWithControl.hasActiveXControl = true;
    desktopWithControl.sameMajor = true;
    UpgradeCase desktopNewMajorWithControl = desktopWithControl;
    desktopNewMajorWithControl.sameMajor = false;
    UpgradeCase neither; // an integration package belongs to no group
    neither.sameMajor = true;

    const Case cases[] = {
        {"server, same major", server(true, false, true, L"KS::Z"), true},
        {"server, new major, default folders", server(false, false, false, L"KS::Z"), true},
        {"server, new major, custom folder", server(false, false, true, L"KS::Z"), false},
        {"main server line, new major, custom folder", server(false, false, true, L"HV::Z"), true},
        {"new major, custom folder, no candidates", server(false, true, true, L"KS::Z"), true},
        {"desktop with its control, same major", desktopWithControl, false},
        {"desktop with its control, new major", desktopNewMajorWithControl, true},
        {"neither desktop nor server", neither, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.offered, OffersQuickInstall(c.upgrade)) << c.what;
}

TEST(WelcomeRules, TheNoticeSaysNewMajorVersionExceptForTheMainServerLine) {
    EXPECT_EQ(1345u, ReplaceNoticeStringId(true, L"KS::Z"));
    EXPECT_EQ(1343u, ReplaceNoticeStringId(true, L"HV::Z"));
    EXPECT_EQ(1343u, ReplaceNoticeStringId(false, L"KS::Z"));
}
