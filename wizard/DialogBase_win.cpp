#include "wizard/DialogBase_win.h"

namespace {

constexpr unsigned kHeaderArtworkId = 132;
// The separator line above the buttons: the artwork ends at its top edge.
constexpr int kSeparatorControlId = -1;

struct FontSpec {
    const wchar_t* face;
    int points;
    int weight;
};
constexpr FontSpec kLargeBold{L"Tahoma", 9, FW_BOLD};
constexpr FontSpec kBold{L"Tahoma", 8, FW_BOLD};
constexpr FontSpec kMedium{L"Tahoma", 9, FW_NORMAL};
constexpr FontSpec kNormal{L"Tahoma", 8, FW_NORMAL};
constexpr FontSpec kSmall{L"Arial", 7, FW_NORMAL};

void MakeFont(GdiObject& font, const FontSpec& spec, int pixelsPerInch) {
    if (font)
        return;
    LOGFONTW logFont{};
    logFont.lfHeight = -MulDiv(spec.points, pixelsPerInch, 72);
    logFont.lfWeight = spec.weight;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(logFont.lfFaceName, spec.face, LF_FACESIZE);
    font.Attach(CreateFontIndirectW(&logFont));
}

} // namespace

CDialogBase::CDialogBase(unsigned templateId, bool drawHeader, HMODULE resources)
    : templateId_(templateId), drawHeader_(drawHeader), resources_(resources) {}

INT_PTR CDialogBase::RunModal(HWND parent, uint16_t languageId) {
    HRSRC found = FindResourceExW(resources_, RT_DIALOG, MAKEINTRESOURCEW(templateId_), languageId);
    if (!found)
        found = FindResourceW(resources_, MAKEINTRESOURCEW(templateId_), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(resources_, found) : nullptr;
    const auto* dialogTemplate = loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    if (!dialogTemplate)
        return -1;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, parent,
                                   &CDialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialogBase::EndDialog(INT_PTR code) {
    if (window_)
        ::EndDialog(window_, code);
}

BOOL CDialogBase::OnInitDialog() {
    headerArtwork_.Attach(
        LoadImageW(resources_, MAKEINTRESOURCEW(kHeaderArtworkId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    CreateFonts();
    return TRUE;
}

void CDialogBase::CreateFonts() {
    HDC screen = GetDC(window_);
    const int pixelsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(window_, screen);
    MakeFont(largeBold_, kLargeBold, pixelsPerInch);
    MakeFont(bold_, kBold, pixelsPerInch);
    MakeFont(medium_, kMedium, pixelsPerInch);
    MakeFont(normal_, kNormal, pixelsPerInch);
    MakeFont(small_, kSmall, pixelsPerInch);
}

void CDialogBase::PaintHeader() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    if (dc && drawHeader_ && headerArtwork_) {
        RECT client;
        GetClientRect(window_, &client);
        int bottom = client.bottom;
        if (HWND separator = GetDlgItem(window_, kSeparatorControlId)) {
            RECT line;
            GetWindowRect(separator, &line);
            MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&line), 2);
            bottom = line.top;
        }
        BITMAP info{};
        GetObjectW(headerArtwork_.Get(), sizeof(info), &info);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, headerArtwork_.Get());
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, client.right, bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(window_, &paint);
}

bool CDialogBase::HandleMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialogBase*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR result = FALSE;
    if (self->HandleMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_PAINT:
        self->PaintHeader();
        return TRUE;
    case WM_NCDESTROY:
        self->window_ = nullptr;
        SetWindowLongPtrW(window, DWLP_USER, 0);
        return FALSE;
    default:
        return FALSE;
    }
}
