// What the installer of packages that Windows Installer does not install needs of the machine: the
// package's installed-programs entry and two file copies. NonMSIMachine_win works on the current user's
// registry and the disk; the native tests use a fake. The installer owns its machine.
#pragma once

#include "installer/NonMSIRegistrationValues.h"
#include "launcher/PackageInfo.h"

#include <string>

class NonMSIMachineIF {
public:
    enum class Creation { Failed, Created, AlreadyThere };

    virtual ~NonMSIMachineIF() = default;

    // The package's entry exists: the package counts as installed.
    virtual bool RegistrationExists(const PackageInfo& package) = 0;
    // Creates the entry's key, or opens the one that is there, for everything.
    virtual Creation CreateRegistration(const PackageInfo& package) = 0;
    virtual bool WriteRegistrationValue(const PackageInfo& package, const RegistrationValue& value) = 0;
    // Deletes the entry with everything below it; false when the list's key cannot be opened or the
    // entry stays.
    virtual bool DeleteRegistration(const PackageInfo& package) = 0;

    // The full path of the launcher that runs now.
    virtual std::wstring RunningLauncher() = 0;
    // Copies a file over whatever the target is, making the target's folders.
    virtual bool CopyReplacing(const std::wstring& source, const std::wstring& target) = 0;
};
