// Finding the WebView2 runtime: version texts compared numerically part by part, damaged texts refused,
// and which registry key's version value wins.
#include "prerequisites/WebView2Runtime.h"

#include <gtest/gtest.h>

using namespace WebView2;

TEST(WebView2Runtime, VersionsCompareNumericallyAndDamagedTextsAreNoVersion) {
    struct Case {
        const wchar_t *a, *b;
        std::optional<int> order;
    };
    const Case cases[] = {
        {L"116.0.1", L"115.0.1901.203", 1},
        {L"115.0.1901.203", L"115.0.1901.203", 0},
        {L"115.0", L"115.0.0.0", 0},
        {L"115", L"115.0.0.1", -1},
        {L"110.0.1587.63", L"109.0.1518.115", 1},
        {L"109.0.1518.99", L"109.0.1518.115", -1},
        {L"115.0.1901.203 beta", L"115.0.1901.203", 0},
        {L"0115.00", L"115", 0},
        {L"4294967295", L"4294967294", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.order, CompareVersionText(c.a, c.b)) << c.a << L" vs " << c.b;
        const std::optional<int> reverse = c.order ? std::optional<int>(-*c.order) : std::nullopt;
        EXPECT_EQ(reverse, CompareVersionText(c.b, c.a)) << c.b << L" vs " << c.a;
    }
    for (const wchar_t* damaged :
         {L"4294967296", L"", L"110..1", L".1", L"1.", L"116a.0", L"-1.0", L" 116.0", L"beta"})
        EXPECT_EQ(std::nullopt, CompareVersionText(damaged, L"1")) << damaged;
}

TEST(WebView2Runtime, TheMachineKeyWinsAndAnEmptyOrZeroVersionIsNoRuntime) {
    using Value = std::optional<std::wstring>;
    struct Case {
        Value machine, user, found;
        const char* keysRead; // M: machine-wide in the 32-bit view, U: the user's in the default view
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, std::nullopt, "MU"},
        {L"115.0.1901.203", L"116.0.1", L"115.0.1901.203", "M"},
        {L"0.0.0.0", L"116.0.1", L"116.0.1", "MU"},
        {L"", L"116.0.1", L"116.0.1", "MU"},
        {std::nullopt, L"110.0.1587.63", L"110.0.1587.63", "MU"},
        {L"0.0.0.0", L"", std::nullopt, "MU"},
        {L"garbage", L"116.0.1", L"garbage", "M"}, // found, and too old to use
    };
    for (const Case& c : cases) {
        std::string read;
        const Value found = InstalledRuntimeVersion([&](const RuntimeKey& key) {
            const bool machine = key.hive == RegistryHive::LocalMachine;
            read += machine && key.view32 ? "M" : !machine && !key.view32 ? "U" : "?";
            return machine ? c.machine : c.user;
        });
        EXPECT_EQ(c.found, found) << c.keysRead;
        EXPECT_EQ(c.keysRead, read);
    }
}
