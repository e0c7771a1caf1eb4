#include "wizard/Widgets_win.h"

#include "wizard/ControlWindow_win.h"
#include "wizard/FontCache.h"

#include <commctrl.h>

namespace {

// Static controls without an identifier of their own.
constexpr int kNoIdentifier = 0xFFFF;
constexpr int kProgressIdentifier = 0;
constexpr wchar_t kDefaultFace[] = L"Tahoma";
constexpr int kDefaultPoints = 9;

HFONT FontOrDefault(HWND page, HFONT font) {
    return font ? font : GetFont(page, kDefaultFace, kDefaultPoints, false);
}

// Static and link texts: a wrapping text follows its alignment; a text on one line stays left-aligned.
DWORD StaticTextStyle(bool wrap, int alignment) {
    if (!wrap)
        return SS_LEFTNOWORDWRAP;
    if (alignment == kAlignCentre)
        return SS_CENTER;
    if (alignment == kAlignRight)
        return SS_RIGHT;
    return SS_LEFT;
}

void EnsureCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_LINK_CLASS};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)done;
}

} // namespace

HFONT GetFont(HWND window, const std::wstring& face, int points, bool bold) {
    static FontCache<GdiObject> cache([](const std::wstring& name, int height, int weight) {
        return GdiObject(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
    });
    int pixelsPerInch = USER_DEFAULT_SCREEN_DPI;
    if (const WindowDC dc(window); dc)
        pixelsPerInch = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    return static_cast<HFONT>(cache.Get(face, points, bold, pixelsPerInch).Get());
}

LayoutSize IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return {};
    // GetIconInfo hands over copies of both bitmaps.
    const GdiObject colour(info.hbmColor);
    const GdiObject mask(info.hbmMask);
    BITMAP bitmap{};
    if (colour && GetObjectW(colour.Get(), sizeof(bitmap), &bitmap))
        return {static_cast<int>(bitmap.bmWidth), static_cast<int>(bitmap.bmHeight)};
    // A monochrome icon keeps its AND and XOR masks one above the other in one bitmap.
    if (mask && GetObjectW(mask.Get(), sizeof(bitmap), &bitmap))
        return {static_cast<int>(bitmap.bmWidth), static_cast<int>(bitmap.bmHeight / 2)};
    return {};
}

std::unique_ptr<ICBSTextWidget> MakeTextWidget(HWND page, const std::wstring& text, bool wrap, int alignment,
                                               HFONT font) {
    auto window = ControlWindow::Create(page, L"STATIC", text, StaticTextStyle(wrap, alignment),
                                        kNoIdentifier, FontOrDefault(page, font));
    return window ? std::make_unique<ICBSTextWidget>(std::move(window), text, wrap) : nullptr;
}

std::unique_ptr<ICBSTextWithHyperlinksWidget> MakeLinkTextWidget(HWND page, const std::wstring& text, int id,
                                                                 bool wrap, int alignment, HFONT font) {
    EnsureCommonControls();
    // The link control knows left and right alignment only.
    const DWORD style = wrap && alignment == kAlignRight ? LWS_RIGHT : 0;
    auto window =
        ControlWindow::Create(page, WC_LINK, text, style | WS_TABSTOP, id, FontOrDefault(page, font));
    return window ? std::make_unique<ICBSTextWithHyperlinksWidget>(std::move(window), text, wrap) : nullptr;
}

std::unique_ptr<ICBSCheckboxWidget> MakeCheckboxWidget(HWND page, const std::wstring& text, bool multiLine,
                                                       int id, HFONT font) {
    const DWORD style = BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP | (multiLine ? BS_MULTILINE : 0);
    auto window = ControlWindow::Create(page, L"BUTTON", text, style, id, FontOrDefault(page, font));
    return window ? std::make_unique<ICBSCheckboxWidget>(std::move(window), text, multiLine) : nullptr;
}

std::unique_ptr<ICBSRadioButtonWidget> MakeRadioButtonWidget(HWND page, const std::wstring& text,
                                                             bool multiLine, bool groupStart, int id,
                                                             HFONT font) {
    const DWORD style =
        BS_AUTORADIOBUTTON | (multiLine ? BS_MULTILINE : 0) | (groupStart ? WS_GROUP | WS_TABSTOP : 0);
    auto window = ControlWindow::Create(page, L"BUTTON", text, style, id, FontOrDefault(page, font));
    return window ? std::make_unique<ICBSRadioButtonWidget>(std::move(window), text, multiLine) : nullptr;
}

std::unique_ptr<ICBSButtonWidget> MakeButtonWidget(HWND page, const std::wstring& text, int id, HFONT font) {
    auto window = ControlWindow::Create(page, L"BUTTON", text, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, id,
                                        FontOrDefault(page, font));
    return window ? std::make_unique<ICBSButtonWidget>(std::move(window), text) : nullptr;
}

IconHandle LoadPageIcon(HMODULE resources, const wchar_t* name, int size) {
    return IconHandle(static_cast<HICON>(LoadImageW(resources ? resources : GetModuleHandleW(nullptr), name,
                                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

std::unique_ptr<ICBSImageWidget> MakeImageWidget(HWND page, HICON icon) {
    auto window =
        ControlWindow::Create(page, L"STATIC", L"", SS_ICON, kNoIdentifier, FontOrDefault(page, nullptr));
    if (!window)
        return nullptr;
    SendMessageW(window->Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    return std::make_unique<ICBSImageWidget>(std::move(window), IconSize(icon));
}

PageHeader MakePageHeader(HWND page, HICON icon, int spacing) {
    PageHeader header;
    header.row = std::make_unique<ICBSHorizontalLayout>(spacing);
    header.row->AddChild(MakeImageWidget(page, icon), kAlignLeft, kAlignCentre);
    auto texts = std::make_unique<ICBSVerticalLayout>(5);
    header.texts = texts.get();
    header.row->AddChild(std::move(texts), kAlignLeft, kAlignCentre);
    return header;
}

std::unique_ptr<ICBSProgressWidget> MakeProgressWidget(HWND page, unsigned notificationMessage, int range) {
    EnsureCommonControls();
    auto window = ControlWindow::Create(page, PROGRESS_CLASSW, L"", PBS_SMOOTH, kProgressIdentifier,
                                        FontOrDefault(page, nullptr));
    return window ? std::make_unique<ICBSProgressWidget>(std::move(window), notificationMessage, range)
                  : nullptr;
}

HWND ControlOf(const ICBSWidgetBase* widget) {
    return widget ? static_cast<const ControlWindow&>(widget->Window()).Handle() : nullptr;
}

bool IsChecked(const ICBSWidgetBase* button) {
    return SendMessageW(ControlOf(button), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(ICBSWidgetBase* button, bool checked) {
    SendMessageW(ControlOf(button), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

HWND MakeChildControl(HWND parent, const wchar_t* className, DWORD style, int id, const RECT& rect,
                      HFONT font) {
    HWND control =
        CreateWindowExW(0, className, L"", WS_CHILD | style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (control)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}
