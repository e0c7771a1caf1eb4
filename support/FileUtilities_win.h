// File-system and process functions of the support library. Failures are results (false, 0, empty),
// never exceptions.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace ICBSFileUtilities {

// Deletes a folder with all its content. A link inside the tree is removed, never followed.
bool DeleteTree(const std::wstring& path);

// Starts a program. With wait: waits up to timeoutMs (INFINITE for no limit; on expiry the program is
// ended with exit code 1) and returns its exit code; without: returns 0 and, when process is given,
// hands out the process handle, which the caller then owns. A program that cannot be started gives the
// system's error code. environment variables are set for the program and restored afterwards.
int Wait(const std::wstring& commandLine, bool wait, const std::wstring& workingFolder,
         const std::map<std::wstring, std::wstring>* environment, DWORD timeoutMs, bool showWindow,
         HANDLE* process);

} // namespace ICBSFileUtilities
