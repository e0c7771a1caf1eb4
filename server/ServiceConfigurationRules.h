// The decisions of the service configuration page that need no window: the command-line properties it
// applies and how, the first preparation of its records, the three summaries of a tab as text pieces,
// the check before Next, and what the two detail dialogs' OK does to the records. The page owns the
// records and passes them in; nothing here keeps state.
#pragma once

#include "launcher/PackageList.h"
#include "server/ServerConfiguration.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Whether the package at this index is selected for installation.
using PackageSelected = std::function<bool(size_t package)>;

// The command line's properties as the page applies them: the launcher's list, plus an automatic delayed
// start for the offline companion server unless the command line chose its start type. The list itself
// stays as it is.
std::vector<std::wstring> WorkingProperties(const std::vector<std::wstring>& commandLineProperties,
                                            const PackageList& packages);

// Applies one "name=value" text to every record it names, by its service prefix or its entry prefix.
void ApplyProperty(std::vector<ServerConfiguration>& records, std::wstring_view property);

// The indices of the records that get a tab, in list order.
std::vector<size_t> TabRecords(const std::vector<ServerConfiguration>& records,
                               const PackageSelected& selected);

// The first preparation of the page: links the main server's interfaces, finds the tabs and, when there is
// any, applies the working properties and takes the initial values. Returns the tabs; none means the page
// passes on untouched.
std::vector<size_t> PrepareFirstTime(std::vector<ServerConfiguration>& records,
                                     const PackageSelected& selected,
                                     const std::vector<std::wstring>& commandLineProperties,
                                     const PackageList& packages);

// One piece of a summary: a string of the tables (stringId not 0) or a literal text, bold or not.
struct SummaryPiece {
    unsigned stringId = 0;
    std::wstring text;
    bool bold = false;
};
using Summary = std::vector<SummaryPiece>;

struct TabSummaries {
    Summary unencrypted;
    bool sslShown = false;
    Summary ssl; // meaningful when shown
    bool serviceShown = false;
    Summary service; // meaningful when shown
};

// The three summaries of a record, with what differs from its initial values in bold.
TabSummaries SummariesOf(const ServerConfiguration& record);
// A summary as plain text, its string pieces loaded by loadString.
std::wstring SummaryText(const Summary& summary, const std::function<std::wstring(unsigned)>& loadString);

// The string id of a start type's name; 0 for a code without one.
unsigned StartTypeNameId(int startType);
// The start types the service dialog offers, in the order of its list.
inline constexpr int kStartTypeChoices[] = {ServiceStartType::Automatic, ServiceStartType::OnDemand,
                                            ServiceStartType::AutomaticDelayed, ServiceStartType::Disabled};

// The names of the selected records whose servers would both be off; any blocks Next with the message
// of string NoConnectionEnabled, which takes them joined by ", ".
std::vector<std::wstring> RecordsWithoutConnection(const std::vector<ServerConfiguration>& records,
                                                   const PackageSelected& selected);

// OK of the connection dialog. SSL mode also takes the three file texts that differ from the service
// owner's, into the owner, marking them set.
struct ConnectionEdit {
    bool ssl = false;
    bool enabled = false;
    std::wstring portText;                                  // read as a decimal; no leading digits give 0
    std::wstring certificate, privateKey, certificateChain; // SSL mode only
};
void ApplyConnectionEdit(std::vector<ServerConfiguration>& records, size_t index, const ConnectionEdit& edit);

// OK of the service dialog: the user name and password are stored whatever the account kind.
struct ServiceEdit {
    int startType = ServiceStartType::Automatic;
    int accountKind = AccountKind::LocalSystem;
    std::wstring userName, password;
};
void ApplyServiceEdit(ServerConfiguration& record, const ServiceEdit& edit);
