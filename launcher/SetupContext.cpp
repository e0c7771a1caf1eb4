#include "launcher/SetupContext.h"

#include "StringIds.h"

void SetupContext::ParseCommandLine(std::wstring_view arguments) {
    commandLine.ParseArguments(arguments);
    mode = ModeOf(commandLine);
}

std::wstring SetupContext::WizardTitle() const {
    return languages.FormatString(StringId::WizardTitle, mainProductName);
}
