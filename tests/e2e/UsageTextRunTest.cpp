// The help text of launchers for different product lines, compared with reviewed expected files, and
// the check of the command-line properties that the help's property groups define.
#include "LauncherCopy.h"
#include "LauncherRun.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr LANGID kEnglish = 1033;
constexpr LANGID kGerman = 1031;
constexpr LANGID kFrench = 1036;

const wchar_t kMainServer[] = L"Quenlis Halvora Server 10.1 (x64)";
const wchar_t kCompanionServer[] = L"Quenlis Kestrum 3.17 (x64)";

// The expected files sit beside this source file, in the source folder the build names.
std::wstring ExpectedFile(const std::wstring& name) {
    // The source folder as the build names it: release builds keep it out of __FILE__.
    std::wstring folder = Utf8ToWide(LAUNCHER_SOURCE_DIR "/tests/e2e/");
    if (folder.starts_with(L"/"))
        folder = L"Z:" + folder; // Wine maps the Linux root to Z:
    for (auto& c : folder) {
        if (c == L'/')
            c = L'\\';
    }
    return folder + L"expected\\" + name;
}

std::string Expected(const std::wstring& name) {
    const auto bytes = ReadFileBytes(ExpectedFile(name));
    EXPECT_TRUE(bytes) << "missing " << WideToUtf8(ExpectedFile(name));
    return bytes.value_or("");
}

// On a difference the actual text is kept in the temporary folder, for review and a diff.
void ExpectMatchesFile(const std::wstring& expectedFile, const std::string& actual) {
    if (Expected(expectedFile) == actual)
        return;
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring kept = std::wstring(temp) + expectedFile + L".actual";
    WriteFileBytes(kept, actual);
    ADD_FAILURE() << "the output differs from " << WideToUtf8(ExpectedFile(expectedFile))
                  << "; it is kept in " << WideToUtf8(kept);
}

// The main server line in several languages, with two sub-packages.
std::vector<ManifestText> MainServerBundle() {
    return {{L"PACKAGE_0", kEnglish, L"cabinet"},       {L"PACKAGE_0_1031", kGerman, L"transform"},
            {L"PACKAGE_0_1036", kFrench, L"transform"}, {L"PACKAGE_COUNT", kEnglish, L"3"},
            {L"PRODUCT_NAME_0", kEnglish, kMainServer}, {L"OS", kEnglish, L"6.1.1"}};
}

// The companion server alone, in English only.
std::vector<ManifestText> CompanionBundle() {
    return {{L"PACKAGE_0", kEnglish, L"cabinet"},
            {L"PACKAGE_COUNT", kEnglish, L"1"},
            {L"PRODUCT_NAME_0", kEnglish, kCompanionServer},
            {L"OS", kEnglish, L"6.1.1"}};
}

// A German-only launcher: its one language variant and its "OS" text are German.
std::vector<ManifestText> GermanBundle() {
    return {{L"PACKAGE_0_1031", kGerman, L"transform"},
            {L"PACKAGE_COUNT", kGerman, L"2"},
            {L"PRODUCT_NAME_0", kGerman, kMainServer},
            {L"OS", kGerman, L"6.1.1"}};
}

class UsageTextRun : public ::testing::Test {
protected:
    // A launcher named Setup.exe carrying the texts, so the help names the same program in every case.
    std::wstring Launcher(const std::vector<ManifestText>& texts) {
        const std::wstring path = folder_.File(L"Setup.exe");
        EXPECT_TRUE(MakeLauncherCopy(path, texts));
        return path;
    }
    RunResult Run(const std::wstring& launcher, const std::vector<std::wstring>& arguments) {
        LaunchOptions options;
        options.launcher = launcher;
        options.workingFolder = folder_.Path();
        RunResult run = RunLauncher(arguments, options);
        EXPECT_TRUE(run.started);
        return run;
    }

    ScratchFolder folder_;
};

} // namespace

TEST_F(UsageTextRun, HelpOfEachProductLineMatchesItsReviewedText) {
    struct Case {
        const wchar_t* expectedFile;
        std::vector<ManifestText> texts;
        std::vector<std::wstring> arguments;
    };
    const Case cases[] = {
        // No manifest: no language, no sub-packages, no property groups.
        {L"usage-plain.txt", {}, {L"/?"}},
        // One package in one language: neither option; the companion server's two groups only.
        {L"usage-companion.txt", CompanionBundle(), {L"/h"}},
        // The main server in several languages with sub-packages: every option, the two companion
        // groups and the four groups of the main server.
        {L"usage-main-server.txt", MainServerBundle(), {L"/?", L"lang=English"}},
        // An unrecognised switch prints the same help.
        {L"usage-main-server.txt", MainServerBundle(), {L"/z", L"lang=English"}},
        // Placeholder words and texts in the launcher's only language.
        {L"usage-german.txt", GermanBundle(), {L"/?"}},
    };
    for (const auto& c : cases) {
        const RunResult run = Run(Launcher(c.texts), c.arguments);
        EXPECT_EQ(0u, run.exitCode) << WideToUtf8(c.expectedFile);
        ExpectMatchesFile(c.expectedFile, run.rawOutput);
    }
}

TEST_F(UsageTextRun, NonNumericPortIsReportedAndNothingRuns) {
    const std::wstring launcher = Launcher(MainServerBundle());
    const std::wstring log = folder_.File(L"setup.log");
    const RunResult run =
        Run(launcher, {L"/qn", L"lang=English", L"/L*v", log, L"HVSAdmin_WebServer_Port=80a",
                       L"hvsclient_sslwebserver_port= +443", L"KS_WebServer_Port="});
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(L"\r\nError: Parameter HVSAdmin_WebServer_Port must be numeric\n\r\n\r\n", run.output);
    const auto text = ReadUtf16LeFile(log);
    ASSERT_TRUE(text);
    EXPECT_EQ(std::wstring::npos, text->find(L"Start processing")) << WideToUtf8(*text);
}

TEST_F(UsageTextRun, UnsupportedPropertyIsWarnedAboutAndPassedOn) {
    const std::wstring launcher = Launcher(CompanionBundle());
    const RunResult run = Run(launcher, {L"/?", L"HVSAdmin_WebServer_Port=80a", L"KS_WebServer_Port=8080"});
    // The main server's properties are unknown to a companion-only launcher: a warning, not an error,
    // written before the mode is chosen.
    EXPECT_EQ(0u, run.output.find(L"Warning: the property 'HVSAdmin_WebServer_Port' specified on the command "
                                  L"line is not directly supported by this installer but will be passed on "
                                  L"neverthless.\r\n\r\nSetup.exe - command line syntax\r\n"))
        << run.rawOutput;
    EXPECT_EQ(std::wstring::npos, run.output.find(L"KS_WebServer_Port'"));
    EXPECT_EQ(0u, run.exitCode);
}

TEST_F(UsageTextRun, HelpReachesAFileThroughTheCommandInterpreter) {
    const std::wstring launcher = Launcher(CompanionBundle());
    const std::wstring output = folder_.File(L"out.txt");
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    LaunchOptions options;
    options.launcher = std::wstring(system) + L"\\cmd.exe";
    options.workingFolder = folder_.Path();
    const RunResult run = RunLauncherWithText(L"/c \"Setup.exe /? > out.txt\"", options);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(0u, run.exitCode);
    ExpectMatchesFile(L"usage-companion.txt", ReadFileBytes(output).value_or(""));
    EXPECT_EQ("", run.rawOutput);
}
