// The fixed table that chooses the run mode: the first matching row wins. The environment checks are
// passed as callables because each has effects (the single-instance check creates the mutex), so a
// check must run only when every row before it did not match.
#pragma once

#include <functional>

class CSetupAppCommandLineInfo;

enum class RunMode {
    Validate,             // /v
    Usage,                // /?, /h, or an invalid command line
    ExtractAll,           // /u
    UnsupportedSystem,    // result 4
    NoDirect2D,           // result 5
    InvalidProperties,    // property errors printed, result 0
    AlreadyRunning,       // result 6
    NoAdministratorRights, // result 7
    Setup,
};

struct EnvironmentProbe {
    std::function<bool()> checkOperatingSystem;
    std::function<bool()> hasDirect2D;
    std::function<bool()> isSetupRunning;
    std::function<bool()> isAdministrator;
};

RunMode ChooseRunMode(const CSetupAppCommandLineInfo& commandLine, bool propertiesValid,
                      const EnvironmentProbe& probe);
