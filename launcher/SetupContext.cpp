#include "launcher/SetupContext.h"

namespace {
constexpr unsigned kStringWizardTitle = 1;
} // namespace

void SetupContext::ParseCommandLine(std::wstring_view arguments) {
    commandLine.ParseArguments(arguments);
    mode = ModeOf(commandLine);
}

std::wstring SetupContext::WizardTitle() const {
    return languages.FormatString(kStringWizardTitle, mainProductName);
}
