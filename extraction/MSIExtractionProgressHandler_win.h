// MSIExtractionProgressHandler: the console receiver of the extract-all mode; one line per extracted file.
#pragma once

#include "extraction/ICBSCabinetProgressCallbacks.h"

class MSIExtractionProgressHandler : public ICBSCabinetProgressCallbacks {
public:
    void ReportPercent(int) override {}
    void ReportBytes(uint32_t) override {}
    int ProgressRange() override { return 0; }
    // Writes "extracting <path>..." and a line break to the console.
    void FileStarted(const std::wstring& path) override;
};
