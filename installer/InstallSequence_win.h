// The install sequence carried out: plans it from the setup context (PlanInstallSequence), then installs,
// modifies, repairs or removes each package through Windows Installer, undoes what a failure leaves behind,
// rewrites the main product's installed-programs entry and records the outcome in the context's result.
// Runs on the user-interface thread; the context (its packages among them) is the application's.
#pragma once

#include "installer/InstallPlan.h"
#include "launcher/SetupContext.h"

void RunInstallSequence(SetupContext& context, const InstallSequenceFlags& flags);
