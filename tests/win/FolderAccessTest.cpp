#include "FileTestSupport.h"

#include "support/FileUtilities_win.h"
#include "support/FolderAccess.h"

#include <gtest/gtest.h>

using namespace FileTest;
namespace Files = ICBSFileUtilities;

namespace {

struct Ace {
    bool allow;
    WELL_KNOWN_SID_TYPE who;
    DWORD rights;
};

// Rights that Wine reports for "everybody may read, write and run" (no change of owner or access list).
constexpr DWORD kReadWriteExecute = 0x1301FF;

// The flags of a list read back without "AI", which Windows sets on lists written through
// SetNamedSecurityInfoW and on what inherits from them, and which says nothing about who may do what.
std::wstring WithoutAutoInherited(std::wstring text) {
    const size_t at = text.find(L"AI");
    if (text.rfind(L"D:", 0) == 0 && at != std::wstring::npos && at < text.find(L'('))
        text.erase(at, 2);
    return text;
}

// Only then can the test still write into (and remove) the folder it shut to everybody else.
bool RunsAsAdministrator() {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    BOOL member = FALSE;
    return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
           CheckTokenMembership(nullptr, sid, &member) && member;
}

} // namespace

TEST(FolderAccess, RecognisesFullAccessForEveryoneInAnAccessList) {
    struct Case {
        const char* name;
        std::vector<Ace> aces;
        bool full;
    };
    const Case cases[] = {
        {"generic all", {{true, WinWorldSid, GENERIC_ALL}}, true},
        {"mapped to file rights", {{true, WinWorldSid, FILE_ALL_ACCESS}}, true},
        {"among others", {{true, WinBuiltinUsersSid, GENERIC_READ}, {true, WinWorldSid, GENERIC_ALL}}, true},
        {"read write execute only", {{true, WinWorldSid, kReadWriteExecute}}, false},
        {"denied", {{false, WinWorldSid, GENERIC_ALL}}, false},
        {"someone else",
         {{true, WinBuiltinUsersSid, GENERIC_ALL}, {true, WinAnonymousSid, GENERIC_ALL}},
         false},
        {"empty", {}, false},
    };
    for (const auto& c : cases) {
        alignas(DWORD) BYTE buffer[1024] = {};
        ACL* acl = reinterpret_cast<ACL*>(buffer);
        InitializeAcl(acl, sizeof buffer, ACL_REVISION);
        for (const Ace& ace : c.aces) {
            BYTE sid[SECURITY_MAX_SID_SIZE];
            DWORD size = sizeof sid;
            CreateWellKnownSid(ace.who, nullptr, sid, &size);
            const DWORD inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
            if (ace.allow)
                AddAccessAllowedAceEx(acl, ACL_REVISION, inherit, ace.rights, sid);
            else
                AddAccessDeniedAceEx(acl, ACL_REVISION, inherit, ace.rights, sid);
        }
        EXPECT_EQ(c.full, Files::AclGrantsFullAccessToEveryone(acl)) << c.name;
    }
    EXPECT_FALSE(Files::AclGrantsFullAccessToEveryone(nullptr));
}

TEST(FolderAccess, GrantsEveryoneAccessInheritedByFilesAndFolders) {
    Folder scratch(L"access");
    const std::wstring folder = scratch / L"shared";
    ASSERT_TRUE(Files::CreateFolder(folder, false));
    EXPECT_FALSE(Files::HasFullAccessForEveryone(folder));
    EXPECT_TRUE(Files::GrantFullAccessToEveryone(folder));
    EXPECT_EQ(kReadWriteExecute, InheritedRightsOfEveryone(folder) & kReadWriteExecute);
    // Wine keeps no access lists of its own: it derives them from the Unix file mode, which cannot say that
    // everybody may change the access list, so the full grant reads back as read, write and execute.
    if (!IsWine())
        EXPECT_TRUE(Files::HasFullAccessForEveryone(folder));
    EXPECT_FALSE(Files::GrantFullAccessToEveryone(scratch / L"missing"));
    EXPECT_FALSE(Files::HasFullAccessForEveryone(scratch / L"missing"));
}

TEST(FolderAccess, RestrictsAFolderToAdministratorsWithoutTheParentsEntries) {
    if (!RunsAsAdministrator())
        GTEST_SKIP() << "needs administrator rights";
    Folder scratch(L"restricted");
    // The base folder's grant, which must not reach the launcher copy.
    ASSERT_TRUE(Files::GrantFullAccessToEveryone(scratch.Path()));
    const std::wstring folder = scratch / L"package";
    ASSERT_TRUE(Files::CreateFolder(folder, false));
    ASSERT_TRUE(WriteText(folder + L"\\cached.msi", "written before"));

    ASSERT_TRUE(Files::RestrictFolderToAdministrators(folder));
    ASSERT_TRUE(WriteText(folder + L"\\copy.exe", "written after"));
    const std::wstring text = Files::FolderSecurityText(folder);
    ASSERT_EQ(0u, text.find(L"D:")) << text;
    constexpr DWORD kReadExecute = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
    EXPECT_EQ(kReadExecute, InheritedRightsOfEveryone(folder) & kReadExecute);
    EXPECT_FALSE(Files::RestrictFolderToAdministrators(scratch / L"missing"));
    EXPECT_EQ(L"", Files::FolderSecurityText(scratch / L"missing"));

    // Wine keeps no access list: it turns the entries into the Unix mode and makes up a list from the mode
    // when asked, naming SYSTEM, the user that owns the folder and EVERYONE, never protected. Its
    // SetNamedSecurityInfoW also takes in the parent's inheritable entries despite the protection, so here
    // (under a parent open to everybody) the mode becomes writable by everybody.
    if (IsWine() && WithoutAutoInherited(text).rfind(L"D:P(", 0) != 0)
        return;
    EXPECT_EQ(Files::AdministratorsOnlyFolderSecurity(), WithoutAutoInherited(text));
    EXPECT_FALSE(Files::HasFullAccessForEveryone(folder));
    for (const wchar_t* name : {L"cached.msi", L"copy.exe"})
        EXPECT_EQ(L"D:(A;ID;FA;;;BA)(A;ID;FA;;;SY)(A;ID;0x1200a9;;;WD)",
                  WithoutAutoInherited(Files::FolderSecurityText(folder + L"\\" + name)))
            << name;
}
