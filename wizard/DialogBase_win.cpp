#include "wizard/DialogBase_win.h"

#include "wizard/Widgets_win.h"

#include <utility>

namespace {

constexpr unsigned kHeaderArtworkId = 132;
// The separator line above the buttons: the artwork ends at its top edge.
constexpr int kSeparatorControlId = -1;

struct FontSpec {
    const wchar_t* face;
    int points;
    bool bold;
};
constexpr FontSpec kLargeBold{L"Tahoma", 9, true};
constexpr FontSpec kBold{L"Tahoma", 8, true};
constexpr FontSpec kMedium{L"Tahoma", 9, false};
constexpr FontSpec kNormal{L"Tahoma", 8, false};
constexpr FontSpec kSmall{L"Arial", 7, false};

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
    for (auto [font, spec] :
         {std::pair{&largeBold_, kLargeBold}, std::pair{&bold_, kBold}, std::pair{&medium_, kMedium},
          std::pair{&normal_, kNormal}, std::pair{&small_, kSmall}})
        *font = GetFont(window_, spec.face, spec.points, spec.bold);
}

void CDialogBase::PaintHeader() {
    const PaintDC paint(window_);
    HDC dc = paint.Get();
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
        const MemoryDC memory(CreateCompatibleDC(dc));
        const SelectedObject artwork(memory.Get(), headerArtwork_.Get());
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, client.right, bottom, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
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
