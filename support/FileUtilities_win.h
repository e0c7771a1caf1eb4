// ICBSFileUtilities: the launcher's file-system and process functions on wide-character paths. Failures
// are results (false, 0, empty), never exceptions; the system's error reasons are not kept.
// Files: FileUtilities_win.cpp (files and folders), FolderAccess_win.cpp (access lists),
// ProcessWait_win.cpp (Wait).
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ICBSFileUtilities {

// A folder the system knows by id (program files, the common application data...), without a trailing
// separator; empty when the system does not say.
std::wstring KnownFolderPath(const GUID& id); // a KNOWNFOLDERID
// Something is at the path (a file or a folder; a drive root counts).
bool Exists(const std::wstring& path);
// A folder is at the path.
bool IsFolder(const std::wstring& path);
// Creates the folder that contains path, and its parents. A path ending in a separator names its
// folder itself. False when the path has no folder part or the folder cannot be made.
bool EnsureParentFolder(const std::wstring& path);
// Creates one folder; true also when a folder is already there. With restricted, the folder (and what
// is created in it later) denies anonymous logons, gives guests, users and signed-in users read, write
// and execute, and gives administrators everything.
bool CreateFolder(const std::wstring& path, bool restricted);
// Deletes a folder with all its content: read-only files too, and a file another program holds open is
// tried once more after a second. A link (junction or symbolic link) inside the tree, or the path itself
// being one, is removed as a link and never followed. Stops at the first entry that cannot be deleted
// and leaves the rest. An empty path is refused.
bool DeleteTree(const std::wstring& path);
// Copies a file, creating the target's folders first. A read-only target is replaced unless
// failIfExists; paths longer than the classic limit are handled. (windows.h makes this name CopyFileW,
// consistently for every file that includes this header.)
bool CopyFile(const std::wstring& source, const std::wstring& target, bool failIfExists);
// The size of a file opened for shared reading; 0 when it cannot be opened, 0xFFFFFFFF when it is larger.
uint32_t FileSize32(const std::wstring& path);
// 1 for the folder plus, recursively, the count of each subfolder; a link to a folder counts as one
// folder and is not entered. 0 when there is no folder.
int CountFolders(const std::wstring& path);
// Creates an empty file named by namePattern (one integer conversion, such as "Setup_%x.exe") formatted
// with 0, 1, ... tries-1 in folder, taking the first name not yet used. Empty when every name is taken,
// access is denied, or tries is not positive.
std::wstring CreateUniqueFile(const std::wstring& folder, const std::wstring& namePattern, int tries);
// The process's current folder and the system's temporary folder (with its trailing separator), at any
// length.
std::wstring CurrentFolder();
std::wstring TempFolder();
// Whether the folder's own (explicit) access entries give EVERYONE full access.
bool HasFullAccessForEveryone(const std::wstring& path);
// Adds to the folder's access list an entry giving EVERYONE full access, inherited by files and folders.
bool GrantFullAccessToEveryone(const std::wstring& path);
// The decision of HasFullAccessForEveryone on an access list already read (null: false).
bool AclGrantsFullAccessToEveryone(const ACL* acl);
// Replaces the folder's access list with AdministratorsOnlyFolderSecurity() (support/FolderAccess.h), cut
// off from the parent's; files and folders already inside get the new inherited entries too.
bool RestrictFolderToAdministrators(const std::wstring& path);
// The access list of a folder (or file) in the string form ("D:P(A;OICI;FA;;;BA)..."); empty when it
// cannot be read.
std::wstring FolderSecurityText(const std::wstring& path);
// Full paths of the files (not folders) in folder that match pattern ("*.msi").
std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern);

// Starts a program. environment (may be null) is set in the launcher's own environment for the start and
// restored afterwards. workingFolder empty: the launcher's. Without showWindow a console program gets no
// console window. With wait: waits up to timeoutMs (INFINITE for no limit; on expiry the program is
// ended with exit code 1) and returns its exit code; process, when given, holds the process handle
// during the wait (so that another thread can end the program) and null afterwards. Without wait:
// returns 0 and, when process is given, hands out the process handle, which the caller then owns. A
// program that cannot be started gives the system's error code.
int Wait(const std::wstring& commandLine, bool wait, const std::wstring& workingFolder,
         const std::map<std::wstring, std::wstring>* environment, DWORD timeoutMs, bool showWindow,
         HANDLE* process);

// The extended-length form ("\\?\C:\..." or "\\?\UNC\server\...") of a path, made absolute first.
std::wstring ExtendedLengthPath(const std::wstring& path);

} // namespace ICBSFileUtilities
