// What the launcher needs of the system to start the follow-up tools a finished setup offers: the folder
// all users share for application data, and starting a program for the user, plainly or with
// administrator rights. Nothing is kept; a started program is not waited for and its handles are closed.
#pragma once

#include <string>

namespace FollowUpTools {

// The common application-data folder, without a trailing separator; empty when the system does not say.
std::wstring CommonAppDataFolder();
// Runs exactly the program at `path` (quoted, so a path with spaces cannot start another program) with a
// visible window; false when it did not start.
bool StartVisible(const std::wstring& path);
// Runs the program through the shell with the "runas" verb, without parameters, visible; false when it did
// not start (the user's refusal included).
bool StartElevated(const std::wstring& path);

} // namespace FollowUpTools
