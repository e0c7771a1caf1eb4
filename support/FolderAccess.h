// The access list of a folder whose programs later run with administrator rights (the launcher copy that
// the installed-programs entry starts for Change and Uninstall, the cached database beside it), in the
// system's string form. Portable so that the exact text is checked natively; FolderAccess_win.cpp applies it.
#pragma once

#include <string>

namespace ICBSFileUtilities {

// Administrators and SYSTEM may do everything, everybody else may only read and run; every entry passes
// on to files and folders created inside, and none of the parent's entries pass in.
std::wstring AdministratorsOnlyFolderSecurity();

} // namespace ICBSFileUtilities
