// The access-list side of ICBSFileUtilities: whether EVERYONE has full access to a folder, and granting it.
#include "support/FileUtilities_win.h"

#include "support/Handle_win.h"
#include "support/StringUtil.h"

#include <aclapi.h>

namespace ICBSFileUtilities {

namespace {

constexpr wchar_t kEveryone[] = L"EVERYONE";

// The well-known SID of EVERYONE (S-1-1-0). Its account name is translated on localized systems, so the
// SID is what identifies the group everywhere.
PSID WorldSid() {
    static BYTE sid[SECURITY_MAX_SID_SIZE];
    static const bool made = [] {
        DWORD size = sizeof sid;
        return CreateWellKnownSid(WinWorldSid, nullptr, sid, &size) != FALSE;
    }();
    return made ? static_cast<PSID>(sid) : nullptr;
}

bool AccountNameIsEveryone(PSID sid) {
    wchar_t name[256];
    wchar_t domain[256];
    DWORD nameLength = 256, domainLength = 256;
    SID_NAME_USE use;
    return LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use) &&
           EqualsNoCase(name, kEveryone);
}

bool IsEveryone(const TRUSTEE_W& trustee) {
    if (trustee.TrusteeForm == TRUSTEE_IS_NAME)
        return trustee.TrusteeType == TRUSTEE_IS_USER && trustee.ptstrName &&
               EqualsNoCase(trustee.ptstrName, kEveryone);
    if (trustee.TrusteeForm != TRUSTEE_IS_SID || !trustee.ptstrName)
        return false;
    const PSID sid = reinterpret_cast<PSID>(trustee.ptstrName);
    const PSID world = WorldSid();
    return (world && EqualSid(sid, world)) || AccountNameIsEveryone(sid);
}

// Generic all as written, or the file rights it stands for once the system has mapped it.
bool IsFullAccess(DWORD permissions) {
    return (permissions & GENERIC_ALL) || (permissions & FILE_ALL_ACCESS) == FILE_ALL_ACCESS;
}

} // namespace

bool AclGrantsFullAccessToEveryone(const ACL* acl) {
    if (!acl)
        return false;
    ULONG count = 0;
    EXPLICIT_ACCESS_W* entries = nullptr;
    if (GetExplicitEntriesFromAclW(const_cast<ACL*>(acl), &count, &entries) != ERROR_SUCCESS)
        return false;
    const LocalMemory owner(entries);
    for (ULONG i = 0; i < count; ++i) {
        const EXPLICIT_ACCESS_W& entry = entries[i];
        const bool grants = entry.grfAccessMode == GRANT_ACCESS || entry.grfAccessMode == SET_ACCESS;
        if (grants && IsFullAccess(entry.grfAccessPermissions) && IsEveryone(entry.Trustee))
            return true;
    }
    return false;
}

bool HasFullAccessForEveryone(const std::wstring& path) {
    ACL* acl = nullptr;
    LocalMemory descriptor;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                              nullptr, descriptor.Receive()) != ERROR_SUCCESS)
        return false;
    return AclGrantsFullAccessToEveryone(acl);
}

bool GrantFullAccessToEveryone(const std::wstring& path) {
    const PSID world = WorldSid();
    if (!world)
        return false;
    ACL* current = nullptr;
    LocalMemory descriptor;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &current, nullptr, descriptor.Receive()) != ERROR_SUCCESS)
        return false;
    EXPLICIT_ACCESS_W access = {};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    BuildTrusteeWithSidW(&access.Trustee, world);
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    ACL* merged = nullptr;
    if (SetEntriesInAclW(1, &access, current, &merged) != ERROR_SUCCESS)
        return false;
    const LocalMemory mergedOwner(merged);
    std::wstring mutablePath = path; // the function takes a non-const string
    return SetNamedSecurityInfoW(mutablePath.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                 nullptr, merged, nullptr) == ERROR_SUCCESS;
}

} // namespace ICBSFileUtilities
