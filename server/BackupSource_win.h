// The machine as the backup measurement sees it: folder listings with each entry's full 64-bit size and
// whether it is a link (a reparse point, never entered), file sizes, folder existence and the volume's
// clusters. Stateless; the functions may be called from the measuring worker.
#pragma once

#include "server/BackupMeasurement.h"

Backup::MeasuringSource WindowsMeasuringSource();
