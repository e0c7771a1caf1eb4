#include "launcher/PropertyCheck.h"
#include "launcher/CommandLine.h"

#include <gtest/gtest.h>

namespace {
std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}
const std::wstring kNotNumeric = L"Error: Parameter %s must be numeric";
} // namespace

// Properties as the parser stores them, checked against the usage table's names: ports must be numeric,
// the launcher's own names are accepted, every other unknown name is warned about and passed on.
TEST(PropertyCheck, PortsMustBeNumericAndUnknownNamesAreWarned) {
    const std::vector<std::wstring> known = {L"HVSAdmin_WebServer_Port", L"HVSAdmin_SSLWebServer_Port",
                                             L"HVSAdmin_ServiceName", L"WebServer_Port"};
    const struct {
        const wchar_t* arguments;
        bool valid;
        std::wstring errors;
        std::vector<std::wstring> warned;
    } cases[] = {
        {L"", true, L"", {}},
        {L"HVSAdmin_WebServer_Port=8080", true, L"", {}},
        {L"HVSAdmin_WebServer_Port=80a",
         false,
         L"Error: Parameter HVSAdmin_WebServer_Port must be numeric\n",
         {}},
        {L"HVSAdmin_SSLWebServer_Port=abc",
         false,
         L"Error: Parameter HVSAdmin_SSLWebServer_Port must be numeric\n",
         {}},
        // The empty value is stored as "" and passes.
        {L"HVSAdmin_WebServer_Port=", true, L"", {}},
        {L"HVSAdmin_WebServer_Port=+443", true, L"", {}},
        {L"HVSAdmin_WebServer_Port=-1", true, L"", {}},
        {L"HVSAdmin_WebServer_Port=0x50",
         false,
         L"Error: Parameter HVSAdmin_WebServer_Port must be numeric\n",
         {}},
        {L"\"HVSAdmin_WebServer_Port=8 0\"",
         false,
         L"Error: Parameter HVSAdmin_WebServer_Port must be numeric\n",
         {}},
        // Names are found without regard to case; the error names the property as written.
        {L"hvsadmin_webserver_PORT=x",
         false,
         L"Error: Parameter hvsadmin_webserver_PORT must be numeric\n",
         {}},
        // Only the part after the first "_" decides whether a name is a port.
        {L"WebServer_Port=abc", true, L"", {}},
        {L"\"HVSAdmin_ServiceName=My Service\"", true, L"", {}},
        // Errors collect in order; parsing goes on.
        {L"HVSAdmin_WebServer_Port=a HVSAdmin_SSLWebServer_Port=b",
         false,
         L"Error: Parameter HVSAdmin_WebServer_Port must be numeric\n"
         L"Error: Parameter HVSAdmin_SSLWebServer_Port must be numeric\n",
         {}},
        // Unknown names: a warning each, still valid; a port-like unknown name is not checked.
        {L"UNKNOWN=1 X_WebServer_Port=abc", true, L"", {L"UNKNOWN", L"X_WebServer_Port"}},
        // The launcher's own names reach the list as properties only in unusual spellings; never warned.
        {L"\" lang=German\" TRANSFORMS=a.mst TRANSFORMS=b.mst \" SubPackages=x\"", true, L"", {}},
    };
    for (const auto& c : cases) {
        CSetupAppCommandLineInfo commandLine;
        commandLine.ParseArguments(c.arguments);
        ASSERT_FALSE(commandLine.invalid) << Narrow(c.arguments);
        std::vector<std::wstring> warned;
        const PropertyCheckResult result =
            CheckProperties(commandLine.properties, known, kNotNumeric,
                            [&](const std::wstring& name) { warned.push_back(name); });
        EXPECT_EQ(c.valid, result.allValid) << Narrow(c.arguments);
        EXPECT_EQ(c.errors, result.errorText) << Narrow(c.arguments);
        EXPECT_EQ(c.warned, warned) << Narrow(c.arguments);
    }
}

TEST(PropertyCheck, NameAndValueSplitAtTheFirstEquals) {
    const std::vector<std::wstring> known = {L"HVSAdmin_WebServer_Port"};
    std::vector<std::wstring> warned;
    const auto warn = [&](const std::wstring& name) { warned.push_back(name); };
    // Without "=" the whole text is the name and the value is empty, which passes.
    EXPECT_TRUE(CheckProperties({L"HVSAdmin_WebServer_Port"}, known, kNotNumeric, warn).allValid);
    EXPECT_FALSE(CheckProperties({L"HVSAdmin_WebServer_Port=1=2"}, known, kNotNumeric, warn).allValid);
    EXPECT_TRUE(CheckProperties({L"A=B=C"}, known, kNotNumeric, warn).allValid);
    EXPECT_EQ(std::vector<std::wstring>{L"A"}, warned);
}
