#include "launcher/OperatingSystem_win.h"

#include "launcher/EnvironmentChecks_win.h"

#include <windows.h>

OsFacts QueryOsFacts() {
    OsFacts facts;
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    // The executable's manifest declares every Windows version up to 10 as supported, so the query
    // reports the true version instead of the one the compatibility layer would pretend.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
#pragma GCC diagnostic pop
        facts.detected.major = version.dwMajorVersion;
        facts.detected.minor = version.dwMinorVersion;
        facts.detected.servicePackMajor = version.wServicePackMajor;
        facts.detected.servicePackMinor = version.wServicePackMinor;
        facts.detected.build = version.dwBuildNumber & 0xFFFF;
        facts.productType = version.wProductType;
        facts.suiteMask = version.wSuiteMask;
    }
    facts.machine.isServer2003R2 = GetSystemMetrics(SM_SERVERR2) != 0;
    facts.machine.nativeArchitecture = NativeProcessorArchitecture();
    return facts;
}

bool CheckOperatingSystem(const std::wstring& osText, LogSinkIF& log, SystemFacts& system) {
    const OsFacts facts = QueryOsFacts();
    system.version = facts.detected;
    system.is64Bit = Is64BitArchitecture(facts.machine.nativeArchitecture);
    const OsCheckOutcome outcome = DecideOperatingSystem(
        facts, osText, [&log](int level, const std::wstring& line) { log.WriteLine(level, line); });
    system.detectedName = outcome.detectedName;
    system.requiredName = outcome.requiredName;
    if (outcome.introductionTextId)
        system.introductionStringId = static_cast<unsigned>(*outcome.introductionTextId);
    return outcome.passed;
}
