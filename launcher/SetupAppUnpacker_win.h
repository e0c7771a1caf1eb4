// The unpack page's unpacker for the real run: the package unpacking over the application's packages, in
// the language state of the application. The application owns the packages and the setup result the
// unpacking writes; this view owns nothing.
#pragma once

#include "extraction/PackageUnpacker_win.h"
#include "launcher/SetupApp_win.h"
#include "wizard/UnpackerIF.h"

class SetupAppUnpacker : public UnpackerIF {
public:
    explicit SetupAppUnpacker(CSetupApp& app) : app_(app) {}

    std::vector<UnpackEntry> BuildUnpackList(bool repair) override { return ::BuildUnpackList(app_, repair); }
    int UnpackPackages(const std::vector<UnpackEntry>& list, ExtractionProgressHandler& receiver,
                       const UnpackRequest& request) override {
        UnpackSettings settings = UnpackSettings::ForRun(app_, request.installsOrModifies);
        settings.cancel = request.cancel;
        settings.showStatus = request.showStatus;
        return ::UnpackPackages(&app_, list, receiver, settings);
    }

private:
    CSetupApp& app_;
};
