// ExtractionProgressHandler: the unpack page's receiver of cabinet progress. The unpack worker calls it on
// its own thread; it only posts the bar's new position (user message 1) to the bar's parent window, the
// unpack page, which hands the message back on the user-interface thread. The bar is not owned.
#pragma once

#include "extraction/ExtractionProgressRule.h"
#include "extraction/PackageUnpacker_win.h"

#include <windows.h>

class ExtractionProgressHandler : public UnpackProgressIF {
public:
    // Posted to the bar's parent with the new position as its first parameter.
    static constexpr UINT kProgressMessage = WM_USER + 1;

    explicit ExtractionProgressHandler(HWND progressBar) : progressBar_(progressBar) {}

    void ReportPercent(int) override {}
    void ReportBytes(uint32_t bytes) override;
    int ProgressRange() override { return ExtractionProgressRule::kRange; }
    void FileStarted(const std::wstring&) override {}

    void SetTotalBytes(uint64_t total) override { rule_.SetTotalBytes(total); }
    void SetBytesDoneBefore(uint64_t done) override { rule_.SetBytesDoneBefore(done); }

    // On the user-interface thread, for kProgressMessage: moves the bar if its window still exists.
    void OnProgressMessage(WPARAM position) const;

private:
    HWND progressBar_;
    ExtractionProgressRule rule_;
};
