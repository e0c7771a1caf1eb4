// The checks of the machine that come before the setup mode: Direct2D, the single running setup,
// the user's rights, and the processor architecture.
#pragma once

#include "support/Handle_win.h"

// The machine-wide single-instance mutex name shared by every launcher of this kind.
inline constexpr wchar_t kSetupMutexName[] = L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";
inline constexpr wchar_t kSetupMutexLocalName[] = L"_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";

bool HasDirect2D();
bool IsAdministrator();
bool Is64BitSystem();
// Creates (or opens) the single-instance mutex and keeps it in holder. True when another launcher
// already holds it, or when it cannot be created.
bool IsSetupRunning(KernelHandle& holder, unsigned systemMajorVersion);
