// What the unpack page decides without windows: the title in its description and where the status line
// and the bar stand. (Which string it uses and how far the bar moves are tested on the page itself.)
#include "wizard/UnpackPageRules.h"

#include <gtest/gtest.h>

using namespace UnpackPage;

TEST(UnpackPageRules, TheDescriptionCarriesTheTitleWithoutTrademarkSigns) {
    struct Case {
        const wchar_t* format;
        const wchar_t* title;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"%s is extracting installer databases.", L"Halvora Server - Installer Wizard",
         L"Halvora Server - Installer Wizard is extracting installer databases."},
        {L"%s is extracting the installer database.", L"Quenlis\u2122 Halvora\u2122 Server\u2122",
         L"Quenlis Halvora Server is extracting the installer database."},
        // A translation's own sign goes as well, and a title with a percent sign stays as it is.
        {L"%s\u2122 entpackt.", L"100% Server", L"100% Server entpackt."},
        // A translation that lost its placeholder still gives a text.
        {L"Extracting\u2122.", L"Halvora", L"Extracting."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, DescriptionText(c.format, c.title)) << c.title;
}

TEST(UnpackPageRules, ALongMainProductNameMovesStatusAndBarOneLineDown) {
    const std::wstring name49(49, L'x');
    const std::wstring name50(50, L'x');
    struct Case {
        std::wstring name;
        int statusBottom;
    };
    const Case cases[] = {
        {L"", 115},
        {name49, 115},
        {name50, 134},
        {name50 + L"x", 134},
        // Counted as Windows counts: a character outside the basic plane takes two units.
        {std::wstring(48, L'x') + L"\U0001F600", 134},
        {std::wstring(47, L'x') + L"\U0001F600", 115},
    };
    for (const Case& c : cases) {
        const Placement placement = PlacementFor(c.name);
        EXPECT_EQ(96, placement.statusTop) << c.name.size();
        EXPECT_EQ(c.statusBottom, placement.statusBottom) << c.name.size();
        EXPECT_EQ(c.statusBottom + 14, placement.barBottom) << c.name.size();
    }
}
