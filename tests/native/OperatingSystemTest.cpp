#include "launcher/OperatingSystem.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr uint8_t kWorkstation = WindowsProductType::Workstation;
constexpr uint8_t kServer = 3;

struct Machine {
    const wchar_t* label;
    WindowsVersion version;
    uint8_t productType;
};

const Machine kWindows10{L"Windows 10", {10, 0, 0, 0, 19045}, kWorkstation};
const Machine kWindows81{L"Windows 8.1", {6, 3, 0, 0, 9600}, kWorkstation};
const Machine kServer2016{L"Server 2016", {10, 0, 0, 0, 14393}, kServer};
const Machine kWindows7Sp1{L"Windows 7 SP1", {6, 1, 1, 0, 7601}, kWorkstation};
const Machine kServer2008R2Sp1{L"Server 2008 R2 SP1", {6, 1, 1, 0, 7601}, kServer};
const Machine kWindowsXpSp2{L"Windows XP SP2", {5, 1, 2, 0, 2600}, kWorkstation};

OsFacts FactsOf(const Machine& machine) {
    OsFacts facts;
    facts.detected = machine.version;
    facts.productType = machine.productType;
    return facts;
}

using LogLines = std::vector<std::pair<int, std::wstring>>;

OsCheckOutcome Decide(const OsFacts& facts, std::wstring_view osText, LogLines* lines = nullptr) {
    return DecideOperatingSystem(facts, osText, [lines](int level, const std::wstring& line) {
        if (lines)
            lines->emplace_back(level, line);
    });
}

} // namespace

TEST(SystemName, NamesByVersionProductTypeAndSuite) {
    struct Case {
        WindowsVersion version;
        uint8_t productType;
        uint16_t suiteMask;
        MachineFacts machine;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {{10, 0, 0, 0, 19045}, kWorkstation, 0, {}, L"Windows 10.0.19045"},
        {{10, 0, 0, 0, 14393}, kServer, 0, {}, L"Windows 10.0.14393"},
        {{6, 3, 0, 0, 9600}, kWorkstation, 0, {}, L"Windows 6.3"},
        {{6, 2, 0, 0, 9200}, kWorkstation, 0, {}, L"Windows 8"},
        {{6, 2, 0, 0, 9200}, kServer, 0, {}, L"Windows Server 2012"},
        {{6, 1, 1, 0, 7601}, kWorkstation, 0, {}, L"Windows 7 ServicePack 1"},
        {{6, 1, 1, 0, 7601}, kServer, 0, {}, L"Windows Server 2008 R2 ServicePack 1"},
        {{6, 0, 2, 0, 6002}, kWorkstation, 0, {}, L"Windows Vista ServicePack 2"},
        {{6, 0, 0, 0, 6001}, 2, 0, {}, L"Windows Server 2008"},
        {{5, 0, 4, 0, 2195}, kWorkstation, 0, {}, L"Windows 2000 ServicePack 4"},
        {{5, 1, 3, 2, 2600}, kWorkstation, 0, {}, L"Windows XP ServicePack 3.2"},
        {{5, 1, 0, 5, 2600}, kWorkstation, 0, {}, L"Windows XP"}, // a minor without a major is not named
        // The 5.2 family is told apart by machine facts first, then suites, then the x64 workstation.
        {{5, 2, 0, 0, 3790}, kServer, WindowsSuite::StorageServer, {true, 0}, L"Windows Server 2003 R2"},
        {{5, 2, 0, 0, 3790},
         kServer,
         WindowsSuite::StorageServer | WindowsSuite::HomeServer,
         {},
         L"Windows Storage Server 2003"},
        {{5, 2, 0, 0, 3790}, kServer, WindowsSuite::HomeServer, {}, L"Windows Home Server"},
        {{5, 2, 2, 0, 3790},
         kWorkstation,
         0,
         {false, ProcessorArchitecture::AMD64},
         L"Windows XP Professional x64 Edition ServicePack 2"},
        {{5, 2, 0, 0, 3790}, kWorkstation, 0, {false, ProcessorArchitecture::IA64}, L"Windows Server 2003"},
        {{5, 2, 0, 0, 3790}, kServer, 0, {false, ProcessorArchitecture::AMD64}, L"Windows Server 2003"},
        {{4, 0, 0, 0, 1381}, kWorkstation, 0, {}, L"Windows 4.0"},
        {{0, 0, 0, 0, 0}, kWorkstation, 0, {}, L"Windows 0.0"},
        {{11, 0, 0, 0, 22000}, kWorkstation, 0, {}, L"Windows 11.0"},
        {{4294967295u, 4294967295u, 0, 0, 0}, kWorkstation, 0, {}, L"Windows 4294967295.4294967295"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, SystemName(c.version, c.productType, c.suiteMask, c.machine));
}

TEST(OsCheck, MachinesAgainstMinimums) {
    struct Case {
        Machine machine;
        const wchar_t* osText;
        bool passed;
        const wchar_t* requiredName;
        std::optional<int> introduction;
    };
    const Case cases[] = {
        {kWindows10, L"6.2.0", true, L"Windows 8", 1403},
        {kWindows81, L"6.2.0", true, L"Windows 8", 1403},
        {kServer2016, L"6.2.0", true, L"Windows 8", 1403},
        {kWindows7Sp1, L"6.2.0", false, L"Windows 8", 1403},
        {kWindows10, L"5.1.2", true, L"Windows XP ServicePack 2", std::nullopt},
        {kWindows7Sp1, L"WinXP", true, L"Windows XP ServicePack 2", std::nullopt},
        {kWindowsXpSp2, L"WinXP", true, L"Windows XP ServicePack 2", std::nullopt},
        {kWindowsXpSp2, L"5.1.3", false, L"Windows XP ServicePack 3", 1042},
        {kWindows81, L"4.0", true, L"Windows 4.0", std::nullopt},
        {kWindows7Sp1, L"WinNT", true, L"Windows 4.0", std::nullopt},
        {kWindows7Sp1, L"6.1.1/WSOnly", true, L"Windows 7 ServicePack 1", 1324},
        {kServer2008R2Sp1, L"6.1.1/WSOnly", true, L"Windows 7 ServicePack 1", 1324},
        {kWindows10, L"6.1.1", true, L"Windows 7 ServicePack 1", 1324},
        {kWindows7Sp1, L"6.1.0", true, L"Windows 7", 1044},
        {kWindows7Sp1, L"6.1.2", false, L"Windows 7 ServicePack 2", std::nullopt},
        {kWindows10, L"6.2.1", true, L"Windows 8 ServicePack 1", std::nullopt},
        {kWindows10, L"", true, L"Windows 0.0", std::nullopt},
        // The words are case-sensitive and must be the whole text; unreadable pieces read as 0, empty
        // pieces keep their place, and numbers too large for a version stay at the largest value.
        {kWindows7Sp1, L"winxp", true, L"Windows 0.0", std::nullopt},
        {kWindows7Sp1, L"WinXP/WSOnly", true, L"Windows 0.0", std::nullopt},
        {kWindows7Sp1, L"6..1", true, L"Windows Vista ServicePack 1", 1043},
        {kWindows7Sp1, L"6.x.1", true, L"Windows Vista ServicePack 1", 1043},
        {kWindows7Sp1, L"5.1.3.2.9", true, L"Windows XP ServicePack 3.2", 1042},
        {kWindows7Sp1, L"6.1/a/b", true, L"Windows 7", 1044},
        {kWindows10, L"99999999999.1", false, L"Windows 4294967295.1", std::nullopt},
        {kWindows7Sp1, L"6.0.5", true, L"Windows Vista ServicePack 5", 1043}, // a higher minor wins over sp
        {kWindows7Sp1, L"6.0", true, L"Windows Vista", 1043},
        {kWindows7Sp1, L"7.0", false, L"Windows 7.0", std::nullopt},
        // Neither the service-pack minor nor the build is compared.
        {kWindows7Sp1, L"6.1.1.9", true, L"Windows 7 ServicePack 1.9", 1324},
        {{L"7 SP1 early build", {6, 1, 1, 0, 1}, kWorkstation},
         L"6.1.1",
         true,
         L"Windows 7 ServicePack 1",
         1324},
    };
    for (const auto& c : cases) {
        const OsCheckOutcome outcome = Decide(FactsOf(c.machine), c.osText);
        EXPECT_EQ(c.passed, outcome.passed) << c.machine.label << L" / " << c.osText;
        EXPECT_EQ(c.requiredName, outcome.requiredName) << c.osText;
        EXPECT_EQ(c.introduction, outcome.introductionTextId) << c.osText;
    }
}

TEST(OsCheck, LogLinesOfEachOutcome) {
    struct Case {
        Machine machine;
        const wchar_t* osText;
        LogLines expected;
    };
    const Case cases[] = {
        {kWindows7Sp1,
         L"6.2.0",
         {{3, L"VNT (c): Determining OS version\r\n"},
          {3, L"VNT (c): found Windows 7 ServicePack 1\r\n"},
          {3, L"VNT (c): Expect at least Windows 8 \r\n"},
          {3, L"VNT (c): Checking OS version\r\n"}}},
        {kServer2008R2Sp1,
         L"6.1.1/ServerOnly",
         {{3, L"VNT (c): Determining OS version\r\n"},
          {3, L"VNT (c): found Windows Server 2008 R2 ServicePack 1\r\n"},
          {3, L"VNT (c): Expect at least Windows 7 ServicePack 1 ServerOnly\r\n"},
          {3, L"VNT (c): Checking OS version\r\n"},
          {2, L"VNT (c): Unsupported OS restriction selection!\r\n"},
          {3, L"VNT (c): OS version found to be correct.\r\n"}}},
        {kWindows81,
         L"4.0/WSOnly", // the one known restriction word: no warning
         {{3, L"VNT (c): Determining OS version\r\n"},
          {3, L"VNT (c): found Windows 6.3\r\n"},
          {3, L"VNT (c): Expect at least Windows 4.0 WSOnly\r\n"},
          {3, L"VNT (c): Default text for supported OSes used.\r\n"},
          {3, L"VNT (c): Checking OS version\r\n"},
          {3, L"VNT (c): OS version found to be correct.\r\n"}}},
        {kWindows81,
         L"letters/WSOnly",
         {{3, L"VNT (c): Determining OS version\r\n"},
          {3, L"VNT (c): found Windows 6.3\r\n"},
          {3, L"VNT (c): Expect at least Windows 0.0 WSOnly\r\n"},
          {2, L"VNT (c): Not checking OS version since no minimum version specified.\r\n"}}},
    };
    for (const auto& c : cases) {
        LogLines lines;
        Decide(FactsOf(c.machine), c.osText, &lines);
        EXPECT_EQ(c.expected, lines) << c.osText;
    }
}

TEST(OsCheck, FailedVersionQueryFailsAgainstAnyMinimum) {
    const OsFacts unknown; // the query left every number 0
    const OsCheckOutcome outcome = Decide(unknown, L"4.0");
    EXPECT_FALSE(outcome.passed);
    EXPECT_EQ(L"Windows 0.0", outcome.detectedName);
    EXPECT_TRUE(Decide(unknown, L"").passed); // no minimum: nothing to check
}

TEST(OsCheck, SixtyFourBitArchitectures) {
    for (uint16_t arch : {0, 5, 6, 9, 12, 0xFFFF})
        EXPECT_EQ(arch == 6 || arch == 9 || arch == 12, Is64BitArchitecture(arch)) << arch;
}
