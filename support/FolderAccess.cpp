#include "support/FolderAccess.h"

namespace ICBSFileUtilities {

std::wstring AdministratorsOnlyFolderSecurity() {
    // "P": the base folder lets EVERYONE change anything, and that entry must not reach in here.
    // "OICI": files and folders made here later (the launcher copy, the cached database) get the same list.
    // File rights rather than generic ones, so that the folder and all that inherits from it carry the same
    // mask (an inherited generic entry is mapped, and in a subfolder split into a mapped and an inherit-only
    // entry) and read back as this text.
    // FA (0x1F01FF) includes changing the access list and the owner; 0x1200a9 is FILE_GENERIC_READ |
    // FILE_GENERIC_EXECUTE (list, read data, attributes and extended attributes, traverse, read the access
    // list, wait): no writing, no deleting, no change of access list or owner.
    // Reading and running go to EVERYONE, the group the base folder names: the files hold nothing secret,
    // and any account may start Change or Uninstall, which then asks for administrator rights.
    return L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;WD)";
}

} // namespace ICBSFileUtilities
