#include "wizard/ExtractionProgressHandler_win.h"

#include <commctrl.h>

void ExtractionProgressHandler::ReportBytes(uint32_t bytes) {
    if (const auto position = rule_.NextPost(bytes, GetTickCount()))
        PostMessageW(GetParent(progressBar_), kProgressMessage, static_cast<WPARAM>(*position), 0);
}

void ExtractionProgressHandler::OnProgressMessage(WPARAM position) const {
    if (IsWindow(progressBar_))
        SendMessageW(progressBar_, PBM_SETPOS, position, 0);
}
