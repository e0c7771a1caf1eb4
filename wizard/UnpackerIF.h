// UnpackerIF: what the unpack page needs of the package unpacking: the list one pass unpacks and the body
// of the page's worker. The application owns the unpacker and the packages; the page owns the progress
// receiver and the cancel flag it hands in and keeps both alive until the worker has ended.
#pragma once

#include "extraction/UnpackRules.h"
#include "launcher/SetupResult.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

class ExtractionProgressHandler;

// What the page tells one unpacking pass besides its list.
struct UnpackRequest {
    bool installsOrModifies = false;           // a fresh install or a modification: transforms are wanted
    const std::atomic<bool>* cancel = nullptr; // polled between packages; null: never cancelled
    // Called on the worker's thread with each new status text; may be empty.
    std::function<void(const std::wstring&)> showStatus;
};

class UnpackerIF {
public:
    virtual ~UnpackerIF() = default;
    // The selected packages without installer database, in package-list order, each with its size; empty
    // in a repair run.
    virtual std::vector<UnpackEntry> BuildUnpackList(bool repair) = 0;
    // Runs on the page's worker thread: unpacks the list in order and returns the outcome.
    virtual SetupResult UnpackPackages(const std::vector<UnpackEntry>& list,
                                       ExtractionProgressHandler& receiver, const UnpackRequest& request) = 0;
};
