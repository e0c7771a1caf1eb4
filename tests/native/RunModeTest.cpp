#include "launcher/RunMode.h"
#include "launcher/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// Outcomes of the environment checks, and the order in which the table asked for them.
struct Machine {
    bool systemSupported = true;
    bool direct2D = true;
    bool otherSetupRunning = false;
    bool administrator = true;
};

} // namespace

// The first matching row wins, and a check runs only when every row before it did not match: the
// single-instance check creates the mutex, so no run that ends earlier may hold it.
TEST(RunMode, FirstMatchingRowWinsAndLaterChecksAreNotCalled) {
    const Machine ok;
    Machine badSystem;
    badSystem.systemSupported = false;
    Machine noD2D;
    noD2D.direct2D = false;
    Machine running;
    running.otherSetupRunning = true;
    Machine user;
    user.administrator = false;
    Machine runningUser = running;
    runningUser.administrator = false;
    const Machine nothingWorks{false, false, true, false};

    const struct {
        const wchar_t* arguments;
        bool propertiesValid;
        Machine machine;
        RunMode mode;
        std::string checks; // o: system, d: Direct2D, r: running, a: administrator
    } cases[] = {
        {L"/v /u", true, nothingWorks, RunMode::Validate, ""},
        {L"/v /?", false, nothingWorks, RunMode::Validate, ""},
        {L"/v /zz", true, ok, RunMode::Validate, ""},
        {L"/? /u", true, nothingWorks, RunMode::Usage, ""},
        {L"/h", true, ok, RunMode::Usage, ""},
        {L"/zz /u", true, ok, RunMode::Usage, ""},
        {L"PROP", false, nothingWorks, RunMode::Usage, ""},
        {L"/u", false, nothingWorks, RunMode::ExtractAll, ""},
        {L"/u /x", true, ok, RunMode::ExtractAll, ""},
        // The operating-system failure wins over bad properties because it is tested first.
        {L"", false, badSystem, RunMode::UnsupportedSystem, "o"},
        {L"", false, nothingWorks, RunMode::UnsupportedSystem, "o"},
        {L"/qn", true, noD2D, RunMode::NoDirect2D, "od"},
        // Bad properties end the run before the single-instance check.
        {L"", false, running, RunMode::InvalidProperties, "od"},
        {L"", true, running, RunMode::AlreadyRunning, "odr"},
        {L"", true, runningUser, RunMode::AlreadyRunning, "odr"},
        {L"", true, user, RunMode::NoAdministratorRights, "odra"},
        {L"", true, ok, RunMode::Setup, "odra"},
        {L"/x /qn", true, ok, RunMode::Setup, "odra"},
        {L"/a /f", true, ok, RunMode::Setup, "odra"},
    };
    for (const auto& c : cases) {
        CSetupAppCommandLineInfo commandLine;
        commandLine.ParseArguments(c.arguments);
        std::string called;
        EnvironmentProbe probe;
        probe.checkOperatingSystem = [&] { return called += 'o', c.machine.systemSupported; };
        probe.hasDirect2D = [&] { return called += 'd', c.machine.direct2D; };
        probe.isSetupRunning = [&] { return called += 'r', c.machine.otherSetupRunning; };
        probe.isAdministrator = [&] { return called += 'a', c.machine.administrator; };
        EXPECT_EQ(c.mode, ChooseRunMode(commandLine, c.propertiesValid, probe)) << Narrow(c.arguments);
        EXPECT_EQ(c.checks, called) << Narrow(c.arguments);
    }
}
