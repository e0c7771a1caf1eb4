// Screenshots of a window for the test output: copies what the screen shows of the window (under Xvfb
// the virtual screen) into a 24-bit BMP file. Owns nothing beyond the call.
#pragma once

#include <windows.h>

#include <string>

namespace WindowDriver {

// Writes the window's area of the screen, frame included, to `path`. False when nothing could be written.
bool CaptureWindow(HWND window, const std::wstring& path);

} // namespace WindowDriver
