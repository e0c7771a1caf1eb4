// What a cabinet extraction tells its caller while it runs: how far it has read the cabinet and which file
// it is about to create. Called on the extracting thread; the receiver is owned by the caller.
#pragma once

#include <cstdint>
#include <string>

class ICBSCabinetProgressCallbacks {
public:
    // Percentage of the cabinet read so far, 0..100; after each ReportBytes.
    virtual void ReportPercent(int percent) = 0;
    // Bytes of the cabinet read so far.
    virtual void ReportBytes(uint32_t bytes) = 0;
    // The receiver's own progress range; the extractor never asks for it.
    virtual int ProgressRange() = 0;
    // Full path of a file about to be created (it does not exist yet, or is about to be replaced).
    virtual void FileStarted(const std::wstring& path) = 0;

protected:
    ~ICBSCabinetProgressCallbacks() = default;
};
