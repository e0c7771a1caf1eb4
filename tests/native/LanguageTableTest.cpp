#include "launcher/LanguageTable.h"
#include "launcher/LanguageProbe.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace {

// String tables by exact language identifier, as the executable would carry them (Japanese under 1041 here:
// the fallback to the neutral identifier is the Windows lookup's business).
const std::map<std::pair<uint16_t, unsigned>, std::wstring>& Tables() {
    static const std::map<std::pair<uint16_t, unsigned>, std::wstring> tables = [] {
        std::map<std::pair<uint16_t, unsigned>, std::wstring> t;
        const struct {
            uint16_t language;
            const wchar_t* names[6]; // ids 50, 51, 52, 53, 61, 65
        } rows[] = {
            {1033, {L"English", L"German", L"Spanish", L"Japanese", L"Chinese", L"French"}},
            {1031, {L"Englisch", L"Deutsch", L"Spanisch", L"Japanisch", L"Chinesisch", L"Französisch"}},
            {1034, {L"Inglés", L"Alemán", L"Español", L"Japonés", L"Chino", L"Francés"}},
            {1036, {L"Anglais", L"Allemand", L"Espagnol", L"Japonais", L"Chinois", L"Français"}},
            {1041, {L"英語", L"ドイツ語", L"スペイン語", L"日本語", L"中国語", L"フランス語"}},
        };
        const unsigned ids[] = {50, 51, 52, 53, 61, 65};
        for (const auto& row : rows) {
            for (int i = 0; i < 6; ++i)
                t[{row.language, ids[i]}] = row.names[i];
        }
        t[{1033, 30}] = L"Setup has successfully installed %s.";
        t[{1031, 30}] = L"Setup hat %s erfolgreich installiert.";
        t[{1033, 900}] = L"only in English";
        return t;
    }();
    return tables;
}

std::wstring FromTables(uint16_t language, unsigned id) {
    const auto found = Tables().find({language, id});
    return found == Tables().end() ? std::wstring() : found->second;
}

LanguageTable MakeTable() {
    return LanguageTable(FromTables);
}

} // namespace

TEST(LanguageTable, SelectsByNameOrByTheDisplayNameOfTheCurrentLanguage) {
    const struct {
        const wchar_t* before; // selected first, by name; empty: nothing selected
        const wchar_t* text;
        bool matched;
        const wchar_t* current;
    } cases[] = {
        {L"English", L"german", true, L"German"},    {L"English", L"GERMAN", true, L"German"},
        {L"English", L"Deutsch", false, L"English"}, // a German display name, but English is current
        {L"German", L"Deutsch", true, L"German"},    {L"German", L"französisch", true, L"French"},
        {L"French", L"Anglais", true, L"English"},   {L"Japanese", L"日本語", true, L"Japanese"},
        {L"English", L"Chinese", false, L"English"}, // string 61 exists, the table has no Chinese row
        {L"Spanish", L"", false, L"Spanish"},        {L"", L"Klingon", false, L""},
    };
    for (const auto& c : cases) {
        LanguageTable table = MakeTable();
        if (*c.before) {
            ASSERT_TRUE(table.SelectByName(c.before));
        }
        EXPECT_EQ(c.matched, table.SelectByName(c.text)) << c.before << " / " << c.text;
        EXPECT_EQ(c.current, table.CurrentName()) << c.before << " / " << c.text;
    }
}

TEST(LanguageTable, SelectsByLanguageIdExactlyThenByPrimaryLanguage) {
    const struct {
        uint16_t id;
        bool matched;
        const wchar_t* current;
    } cases[] = {
        {1033, true, L"English"}, {1031, true, L"German"},  {2055, true, L"German"}, // Swiss German
        {3079, true, L"German"},  {3082, true, L"Spanish"}, {1034, true, L"Spanish"},
        {4108, true, L"French"},  {17, true, L"Japanese"},  {2057, true, L"English"}, // British English
        {2070, false, L"French"}, {2052, false, L"French"}, {0, false, L"French"},
    };
    for (const auto& c : cases) {
        LanguageTable table = MakeTable();
        table.SelectByName(L"French");
        EXPECT_EQ(c.matched, table.SelectByLanguageId(c.id)) << c.id;
        EXPECT_EQ(c.current, table.CurrentName()) << c.id;
    }
}

TEST(LanguageTable, SelectsByShortCodeCaseSensitively) {
    LanguageTable table = MakeTable();
    EXPECT_FALSE(table.SelectByShortCode(L"DE"));
    EXPECT_EQ(nullptr, table.Current());
    // Without a current entry nothing is reloaded: the display names are still the English names.
    EXPECT_EQ(L"German", table.Entries()[1].displayName);
    EXPECT_TRUE(table.SelectByShortCode(L"de"));
    EXPECT_EQ(L"German", table.CurrentName());
    EXPECT_EQ(L"Deutsch", table.CurrentDisplayName());
    EXPECT_EQ(L"_de", table.CurrentSuffix());
    EXPECT_EQ(L"1031", table.CurrentCode());
    EXPECT_EQ(1031, table.CurrentLanguageId());
    EXPECT_FALSE(table.SelectByShortCode(L"JA"));
    EXPECT_EQ(L"German", table.CurrentName());
    EXPECT_TRUE(table.SelectByShortCode(L"ja"));
    EXPECT_EQ(L"ja", table.CurrentShortCode());
}

TEST(LanguageTable, AvailableDisplayNamesFollowTheCurrentLanguageInTableOrder) {
    LanguageTable table = MakeTable();
    table.SelectByName(L"French");
    EXPECT_EQ((std::vector<std::wstring>{L"Anglais", L"Allemand", L"Espagnol", L"Français", L"Japonais"}),
              table.AvailableDisplayNames());

    table.SetAvailable(L"1034", false);
    table.SetAvailable(L"2052", true); // no Chinese row: changes nothing
    table.SetAvailable(L"", false);
    EXPECT_EQ((std::vector<std::wstring>{L"Anglais", L"Allemand", L"Français", L"Japonais"}),
              table.AvailableDisplayNames());

    table.SelectByName(L"Deutsch"); // not a French display name
    EXPECT_EQ(L"French", table.CurrentName());
    table.SelectByName(L"allemand");
    EXPECT_EQ((std::vector<std::wstring>{L"Englisch", L"Deutsch", L"Französisch", L"Japanisch"}),
              table.AvailableDisplayNames());
    table.SetAvailable(L"1034", true);
    EXPECT_EQ(L"Spanisch", table.AvailableDisplayNames()[2]);
}

TEST(LanguageTable, LoadsStringsOnlyInTheCurrentLanguage) {
    LanguageTable table = MakeTable();
    // Before the first selection the English strings are used.
    EXPECT_EQ(L"only in English", table.LoadString(900));
    table.SelectByName(L"English");
    EXPECT_EQ(L"Setup has successfully installed Halvora.", table.FormatString(30, L"Halvora"));
    table.SelectByName(L"German");
    EXPECT_EQ(L"Setup hat Halvora erfolgreich installiert.", table.FormatString(30, L"Halvora"));
    // Missing in German: empty, never the English text.
    EXPECT_EQ(L"", table.LoadString(900));
    EXPECT_EQ(L"", table.FormatString(900, L"x"));
    EXPECT_EQ(L"", table.LoadString(0));
}

TEST(LanguageTable, DisplayNamesBecomeEmptyWithoutAStringTableForTheLanguage) {
    LanguageTable table([](uint16_t language, unsigned id) {
        return language == 1033 ? FromTables(language, id) : std::wstring();
    });
    table.SelectByName(L"Spanish");
    EXPECT_EQ(L"Spanish", table.CurrentName());
    EXPECT_EQ((std::vector<std::wstring>(5, L"")), table.AvailableDisplayNames());
    // The English name still selects; display names come back with the English table.
    EXPECT_TRUE(table.SelectByName(L"english"));
    EXPECT_EQ(L"Japanese", table.AvailableDisplayNames()[4]);
}

TEST(LanguageTable, CodeTableMapsUnknownCodesToEnglish) {
    const struct {
        const wchar_t* code;
        uint16_t id;
    } cases[] = {{L"1031", 1031}, {L"1034", 1034}, {L"1036", 1036}, {L"1041", 1041},  {L"2052", 2052},
                 {L"1033", 1033}, {L"3082", 1033}, {L"", 1033},     {L"01031", 1033}, {L"1031 ", 1033}};
    for (const auto& c : cases)
        EXPECT_EQ(c.id, LanguageIdForCode(c.code)) << c.code;
}

namespace {

struct ProbeCase {
    const char* what;
    std::set<std::pair<std::wstring, uint16_t>> resources;
    std::wstring requested;
    uint16_t userLanguage;
    bool multiLanguage;
    std::wstring current;
    std::vector<std::wstring> available; // names of the available entries
};

std::vector<std::pair<std::wstring, uint16_t>> AllVariants() {
    return {{L"PACKAGE_0", 1033},
            {L"PACKAGE_0_1031", 1031},
            {L"PACKAGE_0_1034", 1034},
            {L"PACKAGE_0_1036", 1036},
            {L"PACKAGE_0_1041", 1041}};
}

std::set<std::pair<std::wstring, uint16_t>> With(std::vector<std::pair<std::wstring, uint16_t>> resources,
                                                 std::vector<std::pair<std::wstring, uint16_t>> more = {}) {
    resources.insert(resources.end(), more.begin(), more.end());
    return {resources.begin(), resources.end()};
}

} // namespace

TEST(LanguageProbe, ChoosesTheStartLanguage) {
    const std::vector<std::wstring> all = {L"English", L"German", L"Spanish", L"French", L"Japanese"};
    const std::vector<std::wstring> englishOnly = {L"English"};
    const ProbeCase cases[] = {
        {"five variants, user language", With(AllVariants()), L"", 1036, true, L"French", all},
        {"five variants, Swiss German user", With(AllVariants()), L"", 2055, true, L"German", all},
        {"five variants, Portuguese user", With(AllVariants()), L"", 2070, true, L"English", all},
        {"lang= wins over the user", With(AllVariants()), L"german", 1036, true, L"German", all},
        {"lang= display name of another language", With(AllVariants()), L"Deutsch", 1036, true, L"English",
         all},
        {"lang=Chinese", With(AllVariants(), {{L"PACKAGE_0_2052", 2052}}), L"Chinese", 1031, true, L"English",
         all},
        {"two variants",
         With({{L"PACKAGE_0", 1033}, {L"PACKAGE_0_1041", 1041}}),
         L"",
         1041,
         true,
         L"Japanese",
         {L"English", L"Japanese"}},
        {"one variant, OS in German", With({{L"PACKAGE_0", 1033}, {L"OS", 1031}}), L"French", 1036, false,
         L"German", englishOnly},
        {"one variant, last OS language wins", With({{L"PACKAGE_0", 1033}, {L"OS", 1033}, {L"OS", 1041}}),
         L"", 1031, false, L"Japanese", englishOnly},
        {"one variant, OS in Chinese only", With({{L"PACKAGE_0", 1033}, {L"OS", 2052}}), L"", 1031, false,
         L"English", englishOnly},
        {"only a transform",
         With({{L"PACKAGE_0_1031", 1031}, {L"OS", 1033}}),
         L"",
         1031,
         false,
         L"English",
         {L"German"}},
        {"nothing carried", {}, L"German", 1031, false, L"English", {}},
    };
    for (const ProbeCase& c : cases) {
        LanguageTable table(FromTables);
        const bool multi = ProbeStartLanguage(
            table,
            [&](const std::wstring& name, uint16_t id) {
                return c.resources.count({name, id}) > 0;
            },
            c.requested, c.userLanguage);
        EXPECT_EQ(c.multiLanguage, multi) << c.what;
        EXPECT_EQ(c.current, table.CurrentName()) << c.what;
        std::vector<std::wstring> available;
        for (const LanguageEntry& entry : table.Entries()) {
            if (entry.available)
                available.push_back(entry.name);
        }
        EXPECT_EQ(c.available, available) << c.what;
    }
}
