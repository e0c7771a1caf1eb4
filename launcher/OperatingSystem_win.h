// The facts of the running Windows that the operating-system check and the single-instance check
// decide on, queried from the system. The decision itself is portable (OperatingSystem.h).
#pragma once

#include "launcher/OperatingSystem.h"

// The version (all numbers 0 when the query fails), product type, suite mask and machine facts.
OsFacts QueryOsFacts();
