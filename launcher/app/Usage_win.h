// The command-line help of the usage mode: the table built from the launcher's own resources in the start
// language, and its text written to the console of the calling process.
#pragma once

#include "launcher/ManifestResources_win.h"
#include "launcher/UsageTable.h"

UsageTable BuildUsageTable(const ManifestResources& manifest);
void PrintUsage(const UsageTable& usage);
