// The configuration files and the JSON reader on Windows: wide file names through the C runtime, the
// same bytes written as natively, and the runtime's number conversion behaving as the native one.
#include "support/FileUtilities_win.h"
#include "support/IniFile.h"
#include "support/Json.h"
#include "support/XmlIniFile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer, length);
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(ConfigFileWin, WideNamesNewFoldersAndTheSameBytes) {
    const std::wstring root = TempFolder() + L"config-\u00e9\u65e5-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring ini = root + L"\\sub folder\\server.ini";
    const std::wstring xml = root + L"/mixed/separators\\server.xml";
    {
        ICBSIniFile file(ini);
        EXPECT_FALSE(file.IsLoaded());
        EXPECT_TRUE(file.SetValue(L"Listen::port", L"8085"));
        EXPECT_TRUE(file.SetValue(L"host", L"x"));
        EXPECT_TRUE(file.Save());
        ICBSXMLIniFile config(xml);
        EXPECT_TRUE(config.SetValue(L"http.socket-port", L"8087"));
    }
    EXPECT_EQ("host = x\r\n[Listen]\r\nport = 8085\r\n", ReadBytes(ini));
    ICBSIniFile again(ini);
    EXPECT_EQ(L"8085", again.GetValue(L"LISTEN::Port"));
    ICBSXMLIniFile config(xml);
    EXPECT_EQ(L"8087", config.GetValue(L"http.socket-port"));
    EXPECT_NE(std::string::npos,
              ReadBytes(xml).find("\r\n\r\n    <http.socket-port>8087</http.socket-port>\r\n</config>\r\n"));

    ICBSIniFile folder(root); // a folder: an empty object
    EXPECT_FALSE(folder.IsLoaded());
    EXPECT_TRUE(ICBSFileUtilities::DeleteTree(root));
}

TEST(ConfigFileWin, NumbersAsNatively) {
    const ICBSJsonObject root = ParseJsonObject(L"{\"h\":0x10,\"e\":-12.5e1,\"i\":-inf,\"d\":4.9e-324}");
    EXPECT_EQ(16.0, GetMember(root, L"h").number);
    EXPECT_EQ(-125.0, GetMember(root, L"e").number);
    EXPECT_TRUE(std::isinf(GetMember(root, L"i").number));
    EXPECT_GT(GetMember(root, L"d").number, 0.0); // the smallest subnormal is in range
    for (const wchar_t* text : {L"{\"a\":1e400}", L"{\"a\":1e-400}", L"{\"a\":-}"}) {
        try {
            ParseJsonObject(text);
            ADD_FAILURE() << "parsed";
        } catch (const ICBSJsonException& e) {
            EXPECT_EQ(L"Expected JSON number value.", e.Message());
        }
    }
}
