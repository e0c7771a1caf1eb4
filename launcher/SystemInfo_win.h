// Facts about this process and machine that the launcher's log lines and folders need.
#pragma once

#include "launcher/SetupLog.h"

#include <string>

LocalTime LocalNow();
// The file version of the running executable's version resource.
FileVersion ThisFileVersion();
std::wstring ThisModulePath();
// The system's description of a Windows or Windows Installer error number; empty when it has none.
std::wstring SystemErrorText(unsigned long error);
// The common application-data folder followed by "\Quenlis", created if missing and opened to EVERYONE
// (full access, inherited) when it is not yet; determined once per process. Empty, and asked for again
// on the next call, while the system does not name the common folder.
std::wstring LauncherBaseFolder();
