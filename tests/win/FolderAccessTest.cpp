#include "FileTestSupport.h"

#include "support/FileUtilities_win.h"

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
