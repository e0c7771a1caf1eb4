// The checks of the machine that come before the setup mode: Direct2D, the single running setup,
// the user's rights, and the processor architecture. The single-instance mutex is owned by the caller
// (the application keeps it until the process ends).
#pragma once

#include "support/Handle_win.h"

#include <cstdint>

// The single-instance mutex: machine-wide, so that a second user's launcher also sees the first;
// the local name only on old systems that are not terminal servers.
inline constexpr wchar_t kSetupMutexName[] = L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";
inline constexpr wchar_t kSetupMutexLocalName[] = L"_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";

// Whether a Direct2D 1.1 factory can be made.
bool HasDirect2D();
// Member of BUILTIN\Administrators or BUILTIN\Power Users.
bool IsAdministrator();
// The native processor architecture (PROCESSOR_ARCHITECTURE_*), also for a 32-bit process on 64-bit Windows.
uint16_t NativeProcessorArchitecture();
bool Is64BitSystem();
// Creates (or opens) the single-instance mutex and keeps it in holder. True when another launcher
// already holds it, or when it cannot be created.
bool IsSetupRunning(KernelHandle& holder, unsigned systemMajorVersion);
