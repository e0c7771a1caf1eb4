// Where the process looks for DLLs. A setup program is usually started from a downloads folder that holds
// whatever else was downloaded, so its first act is to stop DLLs from being taken from its own folder.
#pragma once

// Restricts the DLL search of the whole process to the system folder (the libraries the launcher imports
// are delay-loaded, so they are all looked up this way). Without the loader's search-path flags (Windows 7
// before its 2011 update) it at least takes the current folder out of the search. False when neither
// could be set.
bool RestrictDllSearchToSystemFolder();
