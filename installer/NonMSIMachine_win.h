// NonMSIMachineIF on this machine: the package's entry below the current user's installed-programs key
// (named by the packed product code, in the 64-bit view for a 64-bit package) and file copies on the disk.
// Holds nothing; an installer owns one:
//     TaxonomyInstaller installer(context, std::make_unique<NonMSIMachine>());
#pragma once

#include "installer/NonMSIMachineIF.h"

class NonMSIMachine : public NonMSIMachineIF {
public:
    bool RegistrationExists(const PackageInfo& package) override;
    Creation CreateRegistration(const PackageInfo& package) override;
    bool WriteRegistrationValue(const PackageInfo& package, const RegistrationValue& value) override;
    bool DeleteRegistration(const PackageInfo& package) override;
    std::wstring RunningLauncher() override;
    bool CopyReplacing(const std::wstring& source, const std::wstring& target) override;
};
