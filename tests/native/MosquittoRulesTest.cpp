// The MQTT broker page: when it passes on, the installer by processor and where it is written, and when
// the processor's test gives it.
#include "prerequisites/MosquittoRules.h"
#include "launcher/OperatingSystem.h"
#include "launcher/SetupMode.h"

#include <gtest/gtest.h>

using namespace Mosquitto;

TEST(MosquittoRules, ThePagePassesOnForUninstallsAndRunsWithoutTheWindow) {
    SetupMode install;
    SetupMode modify;
    modify.mainProductInstalled = true;
    SetupMode uninstall;
    uninstall.uninstallRequested = true;
    EXPECT_FALSE(PassesOn(install, true));
    EXPECT_FALSE(PassesOn(modify, true));
    EXPECT_TRUE(PassesOn(install, false));
    EXPECT_TRUE(PassesOn(uninstall, true));
}

TEST(MosquittoRules, TheInstallerFollowsTheProcessor) {
    struct Case {
        uint16_t architecture;
        const wchar_t* resource;
        const wchar_t* path;
    };
    const Case cases[] = {
        {ProcessorArchitecture::AMD64, L"MOSQUITTO_INSTALLER_WIN64",
         L"C:\\Base\\HV\\mosquitto-2.0.15-install-windows-x64.exe"},
        {ProcessorArchitecture::ARM64, L"MOSQUITTO_INSTALLER_WIN64",
         L"C:\\Base\\HV\\mosquitto-2.0.15-install-windows-x64.exe"},
        {ProcessorArchitecture::IA64, L"MOSQUITTO_INSTALLER_WIN64",
         L"C:\\Base\\HV\\mosquitto-2.0.15-install-windows-x64.exe"},
        {0 /* x86 */, L"MOSQUITTO_INSTALLER_WIN32",
         L"C:\\Base\\HV\\mosquitto-2.0.15-install-windows-x86.exe"},
        {0xFFFF, L"MOSQUITTO_INSTALLER_WIN32", L"C:\\Base\\HV\\mosquitto-2.0.15-install-windows-x86.exe"},
    };
    for (const Case& c : cases) {
        const BrokerInstaller installer = InstallerFor(Is64BitArchitecture(c.architecture));
        EXPECT_EQ(c.resource, installer.resourceName) << c.architecture;
        EXPECT_EQ(c.path, TargetPath(L"C:\\Base\\HV", installer)) << c.architecture;
    }
    EXPECT_EQ(L"", TargetPath(L"", InstallerFor(true)));
}
