// The installer properties of the selected records, written as one text when the service configuration
// page is left forward, and the removal of the command-line properties that text replaces. Protecting a
// password (the platform's cryptography) and asking for one (a dialog) are the caller's, passed in as
// functions; the records and the property list are the caller's too.
#pragma once

#include "server/ServerConfiguration.h"
#include "server/ServiceConfigurationRules.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The password as the installers read it; the plain password when no key can be had.
using ProtectPassword = std::function<std::wstring(const std::wstring& password)>;
// The password of a record's logon user, asked for when the record has none; empty optional: cancelled.
using AskPassword = std::function<std::optional<std::wstring>(const ServerConfiguration& record)>;

struct ServicePropertyText {
    std::wstring text;              // every property followed by one space
    std::set<std::wstring> written; // the names written, compared exactly
};

// The properties of every selected record in list order. A record of another user without a password
// asks for it first; passwords given are stored in their records only when the whole text is built, so a
// cancelled prompt changes nothing and gives an empty optional.
std::optional<ServicePropertyText> BuildServiceProperties(std::vector<ServerConfiguration>& records,
                                                          const PackageSelected& selected,
                                                          const ProtectPassword& protect,
                                                          const AskPassword& askPassword);

// Removes, once each, the command-line properties whose names were written, so that every property reaches
// the installer once and with the page's value. Texts without "=" stay.
void RemoveWrittenProperties(std::vector<std::wstring>& commandLineProperties,
                             const std::set<std::wstring>& written);

// The page's Next in one call: the text, with the command-line list trimmed; nothing changes on cancel.
std::optional<std::wstring> BuildServiceConfiguration(std::vector<ServerConfiguration>& records,
                                                      const PackageSelected& selected,
                                                      const ProtectPassword& protect,
                                                      const AskPassword& askPassword,
                                                      std::vector<std::wstring>& commandLineProperties);
