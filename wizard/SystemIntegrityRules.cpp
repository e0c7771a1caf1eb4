#include "wizard/SystemIntegrityRules.h"

#include "StringIds.h"
#include "launcher/CommandLine.h"

namespace SystemIntegrity {

namespace {
constexpr size_t kNamedRemovals = 4;
constexpr wchar_t kNameIndent[] = L"\n    ";
// The level without the flags (end dialog, progress only...) that the command line may add to it.

} // namespace

bool RunsCheck(const SetupMode& mode, size_t mainPackageProductCount) {
    if (mode.IsRepair() || mode.IsUninstall())
        return false;
    return !mode.IsModify() || mainPackageProductCount >= 2;
}

BlockingMessages CollectBlockingMessages(const std::vector<ConflictRecord>& records) {
    BlockingMessages messages;
    for (const ConflictRecord& record : records) {
        if (record.removable)
            continue;
        messages.text += record.message + L"\n\n";
        ++messages.count;
    }
    // A suite's check can block after replacing its blocking records with a removable one; the page would
    // then abort without a reason, so it names what the check kept.
    if (messages.count == 0) {
        for (const ConflictRecord& record : records) {
            messages.text += record.message + L"\n\n";
            ++messages.count;
        }
    }
    return messages;
}

unsigned BlockingTextStringId(int count) {
    return count >= 2 ? StringId::ConflictList : StringId::OneConflict;
}

std::vector<ProductRecord> RemovalList(const std::vector<ConflictRecord>& records) {
    std::vector<ProductRecord> list;
    for (const ConflictRecord& record : records)
        if (record.installation)
            list.push_back(*record.installation);
    return list;
}

std::wstring RemovalNames(const std::vector<ProductRecord>& removalList) {
    std::wstring names;
    for (size_t i = 0; i < removalList.size() && i < kNamedRemovals; ++i)
        names += kNameIndent + removalList[i].DisplayName();
    if (removalList.size() > kNamedRemovals)
        names += std::wstring(kNameIndent) + L"...";
    return names;
}

} // namespace SystemIntegrity
