#include "support/Json.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The message of the exception the text raises, or "" when it parses.
std::wstring FailureOf(const std::wstring& text) {
    try {
        ParseJsonObject(text.c_str());
        return L"";
    } catch (const ICBSJsonException& e) {
        return e.Message();
    }
}

} // namespace

TEST(Json, FailureMessages) {
    const std::wstring noArray = L"Expected JSON array.";
    const std::wstring nameStart = L"Expected JSON name start character '\"'";
    const std::wstring nameEnd = L"Expected JSON name end character '\"'";
    const std::wstring colon = L"Expected JSON name/value separator character ':'";
    const std::wstring mapSeparator = L"Expected JSON map separator ',' or map end character '}'";
    const std::wstring arraySeparator = L"Expected JSON array separator ',' or array end character ']'";
    const std::wstring badValue = L"unexpected JSON value";
    const std::wstring badNumber = L"Expected JSON number value.";
    const std::wstring trailing = L"No trailing charcters expected after JSON object.";
    struct Case {
        const wchar_t* text;
        std::wstring message;
    };
    const Case cases[] = {
        {L"", noArray},
        {L" \t\r\n\v\f", noArray},
        {L"[]", noArray},
        {L"\"a\"", noArray},
        {L"\u00a0{}", noArray}, // only the six blanks are blank
        {L"{", nameStart},
        {L"{a:1}", nameStart},
        {L"{'a':1}", nameStart},
        {L"{\"a\":1,,}", nameStart},
        {L"{\"a\":1, x}", nameStart},
        {L"{\"a", nameEnd},
        {L"{\"a\":\"b", nameEnd},
        {L"{\"a\" 1}", colon},
        {L"{\"a\"}", colon},
        {L"{\"a\":1 \"b\":2}", mapSeparator},
        {L"{\"a\":1", mapSeparator},
        {L"{\"a\":[1 2]}", arraySeparator},
        {L"{\"a\":[true1]}", arraySeparator},
        {L"{\"a\":[1,,]}", badValue},
        {L"{\"a\":[,]}", badValue},
        {L"{\"a\":}", badValue},
        {L"{\"a\":", badValue},
        {L"{\"a\":True}", badValue},
        {L"{\"a\":nul}", badValue},
        {L"{\"a\":+1}", badValue},
        {L"{\"a\":.5}", badValue},
        {L"{\"a\":inf}", badValue},
        {L"{\"a\":1e400}", badNumber},
        {L"{\"a\":-1e400}", badNumber},
        {L"{\"a\":1e-400}", badNumber},
        {L"{\"a\":-}", badNumber},
        {L"{\"a\":4.9e-324}", L""}, // the smallest subnormal is still in range
        {L"{\"a\":-x}", badNumber},
        {L"{\"a\":\"x\\\"y\"}", mapSeparator}, // the backslash does not escape the quote
        {L"{}x", trailing},
        {L"{}{}", trailing},
        {L"{} \r\n\t", L""},
        {L"{\"a\":1,}", L""},
        {L"{\"a\":[1,]}", L""},
        {L"{\"a\":[1,\n]}", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.message, FailureOf(c.text)) << c.text;
}

TEST(Json, ValuesAndTypes) {
    const ICBSJsonObject root = ParseJsonObject(
        L" { \"s\" : \"C:\\tmp\\\" , \"n\":-12.5e1, \"h\":0x10, \"ni\":-inf, \"t\":true, \"f\":false,"
        L" \"z\":null, \"a\":[ 1 , \"x\" , [ ] , { } , ], \"o\":{\"\":\"empty name\"}, "
        L"\"u\":\"\u00e9\u20ac\" }");
    EXPECT_EQ(10u, root.size());
    EXPECT_EQ(L"C:\\tmp\\", AsString(GetMember(root, L"s")));
    EXPECT_EQ(ICBSJsonType::Number, GetMember(root, L"n").type);
    EXPECT_EQ(-125.0, GetMember(root, L"n").number);
    EXPECT_EQ(16.0, GetMember(root, L"h").number);
    EXPECT_TRUE(std::isinf(GetMember(root, L"ni").number));
    EXPECT_EQ(ICBSJsonType::Boolean, GetMember(root, L"t").type);
    EXPECT_TRUE(GetMember(root, L"t").boolean);
    EXPECT_FALSE(GetMember(root, L"f").boolean);
    EXPECT_EQ(ICBSJsonType::Null, GetMember(root, L"z").type);
    const ICBSJsonValue& array = GetMember(root, L"a");
    ASSERT_EQ(ICBSJsonType::Array, array.type);
    ASSERT_EQ(4u, array.array.size());
    EXPECT_EQ(ICBSJsonType::Array, array.array[2]->type);
    EXPECT_EQ(ICBSJsonType::Object, array.array[3]->type);
    EXPECT_EQ(L"empty name", AsString(GetMember(GetMember(root, L"o").object, L"")));
    EXPECT_EQ(L"\u00e9\u20ac", AsString(GetMember(root, L"u")));

    // Type codes are part of the interface.
    EXPECT_EQ(0, static_cast<int>(ICBSJsonType::Null));
    EXPECT_EQ(5, static_cast<int>(ICBSJsonType::Number));
}

TEST(Json, MembersByExactNameLaterValueWins) {
    const ICBSJsonObject root = ParseJsonObject(L"{\"b\":\"1\",\"a\":\"2\",\"b\":\"3\"}");
    ASSERT_EQ(2u, root.size());
    EXPECT_EQ(L"a", root.begin()->first); // ordered by name
    EXPECT_EQ(L"3", AsString(GetMember(root, L"b")));
    EXPECT_TRUE(HasMember(root, L"a"));
    EXPECT_FALSE(HasMember(root, L"A"));

    try {
        GetMember(root, L"Missing");
        FAIL();
    } catch (const ICBSJsonException& e) {
        EXPECT_EQ(L"No value with name 'Missing' is defined.", e.Message());
        EXPECT_STREQ("No value with name 'Missing' is defined.", e.what());
    }
    try {
        AsString(*ParseJsonObject(L"{\"n\":1}").at(L"n"));
        FAIL();
    } catch (const ICBSJsonException& e) {
        EXPECT_EQ(L"JSON Type mismatch", e.Message());
    }
}

TEST(Json, DeepNestingIsRefusedNotACrash) {
    const std::wstring deep = L"{\"a\":" + std::wstring(100000, L'[') + std::wstring(100000, L']') + L"}";
    EXPECT_EQ(L"JSON nesting too deep.", FailureOf(deep));
    const std::wstring fine = L"{\"a\":" + std::wstring(200, L'[') + std::wstring(200, L']') + L"}";
    EXPECT_EQ(L"", FailureOf(fine));
    std::wstring objects = L"{\"a\":";
    for (int i = 0; i < 100000; ++i)
        objects += L"{\"a\":";
    EXPECT_EQ(L"JSON nesting too deep.", FailureOf(objects));
}

TEST(Json, LongMessagesAreWhole) {
    const std::wstring name(1000, L'n');
    try {
        GetMember(ICBSJsonObject{}, name);
        FAIL();
    } catch (const ICBSJsonException& e) {
        EXPECT_EQ(L"No value with name '" + name + L"' is defined.", e.Message());
    }
}
