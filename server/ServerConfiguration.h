// The settings of one configurable server interface (one tab of the service configuration page) and the
// fixed table of server products that yields them. Records are plain values: the page owns its ordered
// list, and a record names its package and its service owner by index, never by pointer.
#pragma once

#include "launcher/PackageInfo.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Service start types; 2 to 4 are the service manager's own codes, so the Windows side passes them on
// unchanged. The delayed automatic start is the launcher's own code.
namespace ServiceStartType {
inline constexpr int Automatic = 2;
inline constexpr int OnDemand = 3;
inline constexpr int Disabled = 4;
inline constexpr int AutomaticDelayed = 5;
} // namespace ServiceStartType

namespace AccountKind {
inline constexpr int LocalSystem = 0;
inline constexpr int LocalService = 1;
inline constexpr int NetworkService = 2;
inline constexpr int OtherUser = 3;
} // namespace AccountKind

// The account texts of the service manager and of the installer properties; compared exactly.
inline constexpr wchar_t kLocalSystemAccount[] = L"LocalSystem";
inline constexpr wchar_t kLocalServiceAccount[] = L"NT AUTHORITY\\LocalService";
inline constexpr wchar_t kNetworkServiceAccount[] = L"NT AUTHORITY\\NetworkService";

// The values the page compares against to show changes in bold; taken once, after the command line.
struct ServerInitialValues {
    int startType = 0;
    int accountKind = 0;
    std::wstring userName, password;
    int webPort = 0;
    bool webEnabled = false;
    int sslPort = 0;
    bool sslEnabled = false;
    std::wstring certificate, privateKey, certificateChain;
};

struct ServerConfiguration {
    std::wstring entryName;  // the fixed table name; selects the defaults, the file and its keys
    std::wstring name;       // the tab's label, also used in messages
    std::wstring prefix;     // empty for an entry the table does not know
    size_t package = 0;      // index in the package list; configured only while that package is selected
    size_t serviceOwner = 0; // index of the record whose service and certificate files this one shares
    bool hasService = true;
    std::wstring serviceName;
    std::wstring serviceDisplayName;
    int startType = ServiceStartType::Automatic;
    int accountKind = AccountKind::LocalSystem;
    std::wstring userName;
    std::wstring password; // plain text in memory only
    int webPort = 8080;
    std::wstring webHost;
    bool webEnabled = true;
    bool webSwitchHidden = false;
    bool sslAvailable = true;
    int sslPort = 8083;
    std::wstring sslHost;
    bool sslEnabled = false;
    std::wstring certificate = L"C:\\path_to\\certificate";
    std::wstring privateKey = L"C:\\path_to\\PrivateKey";
    std::wstring certificateChain = L"C:\\path_to\\certificate_chain";
    // A path is passed to the installer only when set: it named an existing file when read, or came from
    // the command line or the user. The defaults above are placeholders and stay unset.
    bool certificateSet = false, privateKeySet = false, chainSet = false;
    ServerInitialValues initial;

    // The prefix of the service and certificate properties: the entry prefix, except that the main
    // server's admin interface shares the service prefix "HVS" with its installer.
    std::wstring ServicePrefix() const;
    void TakeInitialValues();
    // An account text as the service manager and the properties write it: the three built-in accounts
    // by their exact names, any other text is a user of its own.
    void SetAccount(const std::wstring& account);
    // The account as the installer property writes it: a built-in account's name or the user name.
    std::wstring AccountText() const;
};

// The start type's value in the installer properties ("auto", "demand", "auto-delayed", "disabled");
// empty for a code without one.
std::wstring_view StartTypePropertyValue(int startType);
// The start type of a property value, compared without regard to case; 0 for an unknown value.
int StartTypeFromPropertyValue(std::wstring_view value);

inline constexpr wchar_t kAdminInterfacePrefix[] = L"HVSAdmin";
inline constexpr wchar_t kClientInterfacePrefix[] = L"HVSClient";

// The entry names of the product table; each selects its row of defaults by exact comparison.
namespace ServerEntry {
inline constexpr wchar_t Kestrum[] = L"Kestrum";
inline constexpr wchar_t HalvoraAdmin[] = L"Halvora Server Admin Interface";
inline constexpr wchar_t HalvoraClient[] = L"Halvora Server Client Interface";
inline constexpr wchar_t ZorvexXml[] = L"ZorvexXML Server";
inline constexpr wchar_t ZorvexXbrl[] = L"ZorvexXML+XBRL Server";
inline constexpr wchar_t Muntac[] = L"Muntac Server";
} // namespace ServerEntry

// A record with the defaults and then the table row of entryName (an unknown name keeps the defaults).
// label: the tab's text; empty takes the entry name. release: see ReleaseNumberText.
ServerConfiguration MakeServerConfiguration(std::wstring_view entryName, std::wstring_view release,
                                            size_t package, size_t index, std::wstring_view label = {});

// The decimal release number of the package's product; empty without a product or a version.
std::wstring ReleaseNumberText(const PackageInfo& package);

// One entry a recognised package yields: its name and, for the main server's two interfaces, the string
// id of its label (0: the label is the entry name).
struct ServerEntryOfPackage {
    const wchar_t* entryName;
    unsigned labelStringId;
};

// The entries of a package, found by case-sensitive parts of its product name in the table's order (the
// first match wins); empty when the package is no configurable server.
std::span<const ServerEntryOfPackage> ServerEntriesOf(std::wstring_view productName);
