// The decisions of the system integrity page that need no window: whether the check runs in a mode, the
// texts built from the conflict records, and the Windows Installer level of the removals.
#pragma once

#include "launcher/ConflictCheck.h"
#include "wizard/WizardRules.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace SystemIntegrity {

// Repair and uninstall runs skip the check, and so does a modify run unless the main package is a suite.
bool RunsCheck(const SetupMode& mode, size_t mainPackageProductCount);

// The messages of the records that are not removable, each followed by an empty line, and their number;
// the messages of all records when a blocking result kept none that is not removable.
struct BlockingMessages {
    std::wstring text;
    int count = 0;
};
BlockingMessages CollectBlockingMessages(const std::vector<ConflictRecord>& records);
// The string that frames the blocking messages: one text alone, or the list heading for two or more.
unsigned BlockingTextStringId(int count);

// The installations named by the records, in record order: what "Remove" uninstalls.
std::vector<ProductRecord> RemovalList(const std::vector<ConflictRecord>& records);
// The first four names, each on a line of its own after four spaces; "..." on a fifth line for more.
std::wstring RemovalNames(const std::vector<ProductRecord>& removalList);

} // namespace SystemIntegrity
