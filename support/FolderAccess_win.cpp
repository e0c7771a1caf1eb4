// The access-list side of ICBSFileUtilities: whether EVERYONE has full access to a folder, granting it, and
// closing a folder to everyone but administrators.
#include "support/FileUtilities_win.h"

#include "support/FolderAccess.h"
#include "support/Handle_win.h"
#include "support/StringUtil.h"

#include <aclapi.h>
#include <sddl.h>

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

// The conversions between a security descriptor and its string form, looked up at run time (as in
// CreateFolder): the launcher must still start on the oldest systems, which lack them, to say it needs a
// newer one.
class StringForm {
public:
    StringForm() : advapi_(LoadLibraryW(L"Advapi32.dll")) {
        if (!advapi_)
            return;
        toDescriptor_ = reinterpret_cast<ToDescriptor>(reinterpret_cast<void*>(
            GetProcAddress(advapi_.Get(), "ConvertStringSecurityDescriptorToSecurityDescriptorW")));
        toText_ = reinterpret_cast<ToText>(reinterpret_cast<void*>(
            GetProcAddress(advapi_.Get(), "ConvertSecurityDescriptorToStringSecurityDescriptorW")));
    }

    // Null when the text does not parse or the system cannot convert.
    LocalMemory Descriptor(const std::wstring& text) const {
        LocalMemory descriptor;
        if (!toDescriptor_ || !toDescriptor_(text.c_str(), SDDL_REVISION_1, descriptor.Receive(), nullptr))
            descriptor.Close();
        return descriptor;
    }

    std::wstring Text(PSECURITY_DESCRIPTOR descriptor, SECURITY_INFORMATION parts) const {
        LocalMemory text;
        ULONG length = 0;
        if (!toText_ ||
            !toText_(descriptor, SDDL_REVISION_1, parts, reinterpret_cast<LPWSTR*>(text.Receive()),
                     &length) ||
            !text)
            return {};
        return static_cast<const wchar_t*>(text.Get());
    }

private:
    using ToDescriptor = BOOL(WINAPI*)(LPCWSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
    using ToText = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, DWORD, SECURITY_INFORMATION, LPWSTR*, PULONG);

    ModuleHandle advapi_;
    ToDescriptor toDescriptor_ = nullptr;
    ToText toText_ = nullptr;
};

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

bool RestrictFolderToAdministrators(const std::wstring& path) {
    const LocalMemory descriptor = StringForm().Descriptor(AdministratorsOnlyFolderSecurity());
    if (!descriptor)
        return false;
    BOOL present = FALSE, defaulted = FALSE;
    ACL* acl = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorDacl(descriptor.Get(), &present, &acl, &defaulted) || !present || !acl ||
        !GetSecurityDescriptorControl(descriptor.Get(), &control, &revision))
        return false;
    // SetNamedSecurityInfoW rather than SetFileSecurityW: it also rewrites the inherited entries of what is
    // already inside (a launcher copy written before this call would otherwise keep EVERYONE's full access
    // from the base folder). It takes the protection as a flag, not from the descriptor, so the text decides.
    const SECURITY_INFORMATION parts =
        DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                   : UNPROTECTED_DACL_SECURITY_INFORMATION);
    std::wstring mutablePath = path; // the function takes a non-const string
    return SetNamedSecurityInfoW(mutablePath.data(), SE_FILE_OBJECT, parts, nullptr, nullptr, acl, nullptr) ==
           ERROR_SUCCESS;
}

std::wstring FolderSecurityText(const std::wstring& path) {
    LocalMemory descriptor;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, descriptor.Receive()) != ERROR_SUCCESS)
        return {};
    return StringForm().Text(descriptor.Get(), DACL_SECURITY_INFORMATION);
}

} // namespace ICBSFileUtilities
