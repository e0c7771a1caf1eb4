// What the whole runs through the wizard share: the languages a run speaks, the wizard's texts read from
// the launcher's own string tables (so a Japanese run is checked against the Japanese table, and a text
// left untranslated shows up as a difference), waits for a page by what it shows, screenshots, the
// installed-programs entry of the main product, and what is installed afterwards.
#pragma once

#include "LauncherRun.h"
#include "WizardDriver.h"
#include "WizardRunSupport.h"

#include "StringIds.h"
#include "launcher/StringTable_win.h"
#include "support/Format.h"
#include "support/Handle_win.h"
#include "support/Registry_win.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace e2e {

struct UiLanguage {
    const char* tag;           // screenshot names and test names
    LANGID id;                 // the string table the wizard reads
    unsigned nameId;           // the language's name in the language box
    const wchar_t* argument;   // as the installed-programs entry passes it
    const wchar_t* registered; // the language the products register when installed in it
};
inline constexpr UiLanguage kEnglishRun{"en", 1033, StringId::LanguageEnglish, L"lang=English", L"en"};
inline constexpr UiLanguage kJapaneseRun{"ja", 1041, StringId::LanguageJapanese, L"lang=Japanese", L"ja"};

// The launcher the whole runs use: the main product, the companion and two further sub-packages.
inline std::wstring FullLineLauncher() {
    return TestProgramFolder() + L"\\" + TestProducts::kFullLineLauncher;
}

// A string of the launcher's table in that language as a control shows it (mnemonics taken out),
// formatted with the arguments.
template <class... Args> std::wstring UiText(const UiLanguage& language, unsigned id, const Args&... args) {
    static const ModuleHandle launcher(
        LoadLibraryExW(FullLineLauncher().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return WindowDriver::WithoutMnemonics(
        Format(LoadStringInLanguage(launcher.Get(), language.id, id), args...));
}

// The wall time of one flow, printed when the scope ends, for the notes on how long the suite takes.
class FlowTimer {
public:
    explicit FlowTimer(std::string name) : name_(std::move(name)), start_(std::chrono::steady_clock::now()) {}
    ~FlowTimer() {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        std::cout << "== flow " << name_ << ": "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms"
                  << std::endl;
    }
    FlowTimer(const FlowTimer&) = delete;
    FlowTimer& operator=(const FlowTimer&) = delete;

private:
    std::string name_;
    std::chrono::steady_clock::time_point start_;
};

// Polls until the condition holds; false when the time is up. Short slices: the unpack page shows for
// about a second only.
template <class Condition> bool PollFor(DWORD timeoutMs, Condition condition) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(30);
    }
}

inline bool PageShows(HWND wizard, const std::wstring& text) {
    const std::vector<std::wstring> texts = WizardDriver::PageTexts(wizard);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// What the current page and the buttons show, for a failure's message.
inline std::string PageDump(HWND wizard) {
    std::wstring dump = L"page:";
    for (const std::wstring& text : WizardDriver::PageTexts(wizard))
        dump += L" [" + text + L"]";
    const WizardDriver::Buttons buttons = WizardDriver::ReadButtons(wizard);
    dump += L" buttons: [" + buttons.back + L"] [" + buttons.next + L"] [" + buttons.cancel + L"]";
    return WideToUtf8(dump);
}

// The wizard is on screen and its Next button reads this (e.g. "Finish", "Remove").
inline bool WaitForNextCaption(HWND wizard, const std::wstring& caption, DWORD timeoutMs = 120'000) {
    return PollFor(timeoutMs, [&] {
        return IsWindowVisible(wizard) && WizardDriver::ReadButtons(wizard).next == caption &&
               WizardDriver::CurrentPage(wizard) != nullptr;
    });
}

// The current page shows a control with this id (the sub-packages page's check boxes).
inline bool WaitForControl(HWND wizard, int id, DWORD timeoutMs = 30'000) {
    return PollFor(timeoutMs, [&] {
        HWND page = WizardDriver::CurrentPage(wizard);
        return IsWindowVisible(wizard) && page && WindowDriver::ControlById(page, id).visible;
    });
}

// The text of the current page's control with this id; empty when it has none.
inline std::wstring ControlText(HWND wizard, int id) {
    HWND page = WizardDriver::CurrentPage(wizard);
    return page ? WindowDriver::ControlById(page, id).text : std::wstring();
}

// screenshots\whole-<page>-<language>.bmp beside the test program, as the other runs keep theirs.
inline void Screenshot(HWND wizard, const std::string& page, const UiLanguage& language) {
    const std::wstring folder = TestProgramFolder() + L"\\screenshots";
    CreateDirectoryW(folder.c_str(), nullptr);
    Sleep(300); // the last texts set are painted
    const std::wstring name = Utf8ToWide("whole-" + page + "-" + language.tag + ".bmp");
    EXPECT_TRUE(WizardDriver::Screenshot(wizard, folder + L"\\" + name)) << page;
}

// A command of the main product's installed-programs entry, split as Windows would run it.
struct EntryCommand {
    std::wstring program;
    std::wstring arguments;
};

inline RegistryKey MainEntry() {
    return RegistryKey::Open(HKEY_LOCAL_MACHINE,
                             std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
                                 TestProducts::kHalvora101.productCode,
                             RegistryView::Bits64);
}

// An entry's command split as Windows would run it: the program (quoted when its path holds a space) and
// its arguments; empty when there is none.
inline EntryCommand SplitEntryCommand(const std::wstring& command) {
    const bool quoted = !command.empty() && command[0] == L'"';
    const size_t end = quoted ? command.find(L'"', 1) : command.find(L' ');
    if (quoted && end == std::wstring::npos)
        return {};
    EntryCommand split;
    split.program = quoted ? command.substr(1, end - 1) : command.substr(0, end);
    if (end != std::wstring::npos)
        split.arguments = command.substr(std::min(command.size(), end + (quoted ? 2 : 1)));
    return split;
}

// "ModifyPath" or "UninstallString" of the main product's entry.
inline EntryCommand ReadEntryCommand(const wchar_t* value) {
    return SplitEntryCommand(MainEntry().ReadString(value).value_or(L""));
}

// The products of the test line installed now, in the order of `among`.
inline std::vector<std::wstring> InstalledAmong(const std::vector<const TestProducts::Product*>& among) {
    std::vector<std::wstring> names;
    for (const TestProducts::Product* product : among)
        if (TestProducts::IsInstalled(*product))
            names.push_back(product->stem);
    return names;
}

inline std::wstring Registered(const TestProducts::Product& product, const wchar_t* value) {
    return RegistryKey::Open(HKEY_LOCAL_MACHINE, product.registrationKey, RegistryView::Bits64)
        .ReadString(value)
        .value_or(L"");
}

} // namespace e2e
