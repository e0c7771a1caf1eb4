// ServiceInfo: what the service control manager has registered for one service, read once when the
// record is made. It owns the manager and service handles (the service handle is empty when the service
// does not exist or cannot be opened); both are closed with the record.
#pragma once

#include "support/Handle_win.h"

#include <string>

class ServiceInfo {
public:
    explicit ServiceInfo(std::wstring serviceName);

    bool Exists() const { return service_.IsValid(); }
    const std::wstring& ServiceName() const { return serviceName_; }
    const std::wstring& DisplayName() const { return displayName_; }
    const std::wstring& Description() const { return description_; }
    // SERVICE_AUTO_START, SERVICE_DEMAND_START or SERVICE_DISABLED as registered.
    DWORD StartType() const { return startType_; }
    bool DelayedStart() const { return delayedStart_; }
    const std::wstring& ProgramPath() const { return programPath_; }
    // The logon account without a leading ".\" (a local account), and exactly as registered.
    const std::wstring& Account() const { return account_; }
    const std::wstring& RawAccount() const { return rawAccount_; }

private:
    void ReadConfiguration();

    ServiceHandle manager_, service_;
    std::wstring serviceName_, displayName_, description_, programPath_, account_, rawAccount_;
    DWORD startType_ = 0;
    bool delayedStart_ = false;
};
