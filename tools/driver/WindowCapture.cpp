#include "WindowCapture.h"

#include "support/Handle_win.h"

#include <vector>

namespace WindowDriver {

bool CaptureWindow(HWND window, const std::wstring& path) {
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;

    const WindowDC screen(nullptr);
    if (!screen)
        return false;
    const MemoryDC memory(CreateCompatibleDC(screen.Get()));
    GdiObject bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    {
        const SelectedObject selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY);
    }

    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height; // bottom-up, as BMP files store it
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    const int rows = GetDIBits(memory.Get(), static_cast<HBITMAP>(bitmap.Get()), 0, height, pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    if (rows != height)
        return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FileHandle out(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(out.Get(), &file, sizeof(file), &written, nullptr) && written == sizeof(file);
    ok = ok && WriteFile(out.Get(), &info, sizeof(info), &written, nullptr) && written == sizeof(info);
    ok = ok && WriteFile(out.Get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr) &&
         written == pixels.size();
    return ok;
}

} // namespace WindowDriver
