// The removal of installed products that a page's Next asks for (the system integrity page's list, the
// sub-packages page's conflicting installations): the wizard is disabled meanwhile, each removal is
// logged, and the first failure is shown (when resources are missing and the run is not quiet), recorded
// as the run's result and logged. The records belong to the caller.
#pragma once

#include "launcher/ProductRecord.h"
#include "wizard/PageFrame_win.h"

#include <vector>

// True when every installation was removed; false after the first failure, whose result is the run's.
bool RemoveInstallationsOnNext(PageFrame& frame, const std::vector<ProductRecord*>& installations);
