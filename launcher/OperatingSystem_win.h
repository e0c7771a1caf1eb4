// The facts of the running Windows that the operating-system check and the single-instance check
// decide on, queried from the system. The decision itself is portable (OperatingSystem.h).
#pragma once

#include "launcher/LogSink.h"
#include "launcher/OperatingSystem.h"

#include <string>

// The version (all numbers 0 when the query fails), product type, suite mask and machine facts.
OsFacts QueryOsFacts();

// The running Windows against the minimum of the "OS" manifest text, with the check's log lines; fills
// `facts` whatever the answer. True when the system is good enough.
bool CheckOperatingSystem(const std::wstring& osText, LogSinkIF& log, SystemFacts& facts);
