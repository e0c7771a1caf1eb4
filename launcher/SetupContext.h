// What the whole run shares: the parsed command line and the mode decided from it, the log, the languages,
// the facts of the system, the package list with the user's choices, the named values and the result. The
// application owns the one context and sequences the run over it; the layers above the model borrow it,
// or only the piece they need.
#pragma once

#include "launcher/CommandLine.h"
#include "launcher/LanguageTable.h"
#include "launcher/LogSink.h"
#include "launcher/OperatingSystem.h"
#include "launcher/PackageList.h"
#include "launcher/SetupChoices.h"
#include "launcher/SetupMode.h"
#include "launcher/SetupResult.h"

#include <map>
#include <optional>
#include <string>

struct SetupContext {
    SetupContext(LogSinkIF& logSink, StringSource strings) : log(logSink), languages(std::move(strings)) {}
    SetupContext(const SetupContext&) = delete;
    SetupContext& operator=(const SetupContext&) = delete;

    // Parses the argument text (the command line without the program name) and decides the mode from it.
    void ParseCommandLine(std::wstring_view arguments);
    // String 1 formatted with the main product's name of the manifest, in the current language.
    std::wstring WizardTitle() const;
    // The wizard shows itself and asks: a full user interface and no quick install under way.
    bool IsInteractive() const { return mode.IsFullUserInterface() && choices.quickInstallList.empty(); }

    LogSinkIF& log;
    CSetupAppCommandLineInfo commandLine;
    SetupMode mode;
    LanguageTable languages;
    // More than one language variant of the main package is carried: the user gets a language choice.
    bool multiLanguage = false;
    SystemFacts system;
    std::wstring mainProductName; // the manifest's "PRODUCT_NAME_0"
    // The manifest's "PROPERTIES", handed to every package's installer; none when the launcher has none.
    std::optional<std::wstring> manifestProperties;
    PackageList packages;
    SetupChoices choices;
    std::map<std::wstring, std::wstring> namedValues; // given by a workload
    SetupResult result;
    // The name message boxes carry: the wizard title in setup mode, else the program's name.
    std::wstring applicationName;
};
