#include "launcher/RunMode.h"

#include "launcher/CommandLine.h"

RunMode ChooseRunMode(const CSetupAppCommandLineInfo& commandLine, bool propertiesValid,
                      const EnvironmentProbe& probe) {
    if (commandLine.validate)
        return RunMode::Validate;
    if (commandLine.help || commandLine.invalid)
        return RunMode::Usage;
    if (commandLine.extract)
        return RunMode::ExtractAll;
    if (!probe.checkOperatingSystem())
        return RunMode::UnsupportedSystem;
    if (!probe.hasDirect2D())
        return RunMode::NoDirect2D;
    if (!propertiesValid)
        return RunMode::InvalidProperties;
    if (probe.isSetupRunning())
        return RunMode::AlreadyRunning;
    if (!probe.isAdministrator())
        return RunMode::NoAdministratorRights;
    return RunMode::Setup;
}
