// The start language of real launchers: which main-package variants they carry, lang= on the command line
// and the language the "OS" text is stored in. The language shows in the first text a launcher prints, the
// warning about a property it does not know, which comes from its string table.
#include "LauncherCopy.h"
#include "LauncherRun.h"

#include "StringIds.h"
#include "launcher/StringTable_win.h"
#include "support/Format.h"
#include "support/Handle_win.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace e2e;

namespace {

constexpr LANGID kEnglish = 1033;
constexpr LANGID kGerman = 1031;
constexpr LANGID kSpanish = 1034;
constexpr LANGID kFrench = 1036;
constexpr LANGID kJapanese = 1041;
constexpr LANGID kChinese = 2052;
const wchar_t kUnknownProperty[] = L"LANGUAGE_PROBE";

std::vector<ManifestText> Variants(std::initializer_list<LANGID> languages) {
    std::vector<ManifestText> texts;
    for (LANGID language : languages) {
        const std::wstring name =
            language == kEnglish ? L"PACKAGE_0" : L"PACKAGE_0_" + std::to_wstring(language);
        texts.push_back({name, language, L"package"});
    }
    return texts;
}

std::vector<ManifestText> With(std::vector<ManifestText> texts, const std::vector<ManifestText>& more) {
    texts.insert(texts.end(), more.begin(), more.end());
    return texts;
}

// The warning as the launcher prints it in one language, read from the launcher's own string table.
std::wstring WarningIn(LANGID language) {
    ModuleHandle launcher(LoadLibraryExW(DefaultLauncherPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(launcher.IsValid());
    return Format(LoadStringInLanguage(launcher.Get(), language, StringId::PropertyNotSupported),
                  kUnknownProperty) +
           L"\r\n";
}

class LanguageRun : public ::testing::Test {
protected:
    // The language the launcher carrying these texts starts in, told by its first line of output.
    std::wstring FirstLine(const std::vector<ManifestText>& texts,
                           const std::vector<std::wstring>& languageArgument) {
        const std::wstring path = folder_.File(L"Setup" + std::to_wstring(++copies_) + L".exe");
        EXPECT_TRUE(MakeLauncherCopy(path, texts));
        std::vector<std::wstring> arguments = {L"/?", std::wstring(kUnknownProperty) + L"=1"};
        arguments.insert(arguments.end(), languageArgument.begin(), languageArgument.end());
        LaunchOptions options;
        options.launcher = path;
        options.workingFolder = folder_.Path();
        RunResult run = RunLauncher(arguments, options);
        if (run.started && !run.timedOut && run.exitCode == 0 && run.rawOutput.empty()) {
            // Under load a run has now and then come back with no output at all, although the launcher
            // ended normally; once more tells a lost output from a launcher that prints nothing.
            std::cerr << "no output from " << WideToUtf8(path) << "; running it again\n";
            run = RunLauncher(arguments, options);
        }
        EXPECT_TRUE(run.started);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(0u, run.exitCode) << run.rawOutput << WideToUtf8(run.errorOutput);
        return run.output.substr(0, run.output.find(L"\r\n") + 2);
    }

    ScratchFolder folder_;
    int copies_ = 0;
};

} // namespace

TEST_F(LanguageRun, WarningsDifferByLanguage) {
    // The cases below can only tell languages apart if the texts do.
    const LANGID languages[] = {kEnglish, kGerman, kSpanish, kFrench, kJapanese};
    for (LANGID a : languages) {
        EXPECT_NE(L"\r\n", WarningIn(a)) << a;
        for (LANGID b : languages) {
            if (a != b)
                EXPECT_NE(WarningIn(a), WarningIn(b)) << a << " " << b;
        }
    }
}

TEST_F(LanguageRun, StartLanguageFollowsTheCarriedVariantsAndTheCommandLine) {
    const std::vector<ManifestText> five = Variants({kEnglish, kGerman, kSpanish, kFrench, kJapanese});
    const struct {
        const char* what;
        std::vector<ManifestText> texts;
        std::vector<std::wstring> languageArgument;
        LANGID expected;
    } cases[] = {
        {"lang=german", five, {L"lang=german"}, kGerman},
        {"lang=SPANISH", five, {L"lang=SPANISH"}, kSpanish},
        {"lang=Japanese", five, {L"lang=Japanese"}, kJapanese},
        // Display names are English when lang= is read: a German name selects nothing.
        {"lang=Deutsch", five, {L"lang=Deutsch"}, kEnglish},
        {"lang=Français", five, {L"lang=Français"}, kEnglish},
        {"lang=Chinese", With(five, Variants({kChinese})), {L"lang=Chinese"}, kEnglish},
        {"a later lang= replaces an earlier one", five, {L"lang=German", L"lang=French"}, kFrench},
        {"two variants", Variants({kEnglish, kFrench}), {L"lang=french"}, kFrench},
        // One variant: no choice; the language of the "OS" text decides and lang= is not read.
        {"OS in German", With(Variants({kEnglish}), {{L"OS", kGerman, L"6.1.1"}}), {L"lang=French"}, kGerman},
        {"last OS language wins",
         With(Variants({kEnglish}), {{L"OS", kEnglish, L"6.1.1"}, {L"OS", kJapanese, L"6.1.1"}}),
         {},
         kJapanese},
        {"OS in Chinese", With(Variants({kEnglish}), {{L"OS", kChinese, L"6.1.1"}}), {}, kEnglish},
        {"transform only",
         With(Variants({kSpanish}), {{L"OS", kEnglish, L"6.1.1"}}),
         {L"lang=Spanish"},
         kEnglish},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WarningIn(c.expected), FirstLine(c.texts, c.languageArgument)) << c.what;
}

TEST_F(LanguageRun, WithoutLangTheUsersLanguageDecides) {
    // Wine takes the user's language from the locale of the Unix environment it was started in, which a
    // test cannot change for one child; run the launcher under LC_ALL=de_CH.UTF-8 to see it by hand.
    LanguageTable table([](uint16_t, unsigned) { return std::wstring(); });
    table.SelectByName(L"English");
    table.SelectByLanguageId(GetUserDefaultUILanguage());
    const std::vector<ManifestText> five = Variants({kEnglish, kGerman, kSpanish, kFrench, kJapanese});
    EXPECT_EQ(WarningIn(table.CurrentLanguageId()), FirstLine(five, {}));
    EXPECT_EQ(WarningIn(kSpanish), FirstLine(five, {L"lang=spanish"}));
}
