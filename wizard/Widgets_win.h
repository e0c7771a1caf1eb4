// Widgets over real controls. Each function creates the control at once as a visible child of `page` with
// a zero rectangle, in `font` or, without one, the widgets' default font, and returns the widget (which
// owns the control) with its size hint computed; empty when the control could not be created.
#pragma once

#include "support/Handle_win.h"
#include "wizard/ICBSButtonWidget.h"
#include "wizard/ICBSCheckboxWidget.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/ICBSImageWidget.h"
#include "wizard/ICBSProgressWidget.h"
#include "wizard/ICBSRadioButtonWidget.h"
#include "wizard/ICBSTextWidget.h"
#include "wizard/ICBSTextWithHyperlinksWidget.h"
#include "wizard/ICBSVerticalLayout.h"

#include <windows.h>

#include <memory>
#include <string>

// The shared font of `face` at `points`, regular or bold, scaled for `window`'s device; the cache keeps it
// until the process ends. Null when the system cannot make it.
HFONT GetFont(HWND window, const std::wstring& face, int points, bool bold);

// The size of an icon: its colour bitmap, or for a monochrome icon its mask's width and half its height.
LayoutSize IconSize(HICON icon);

// The control behind a widget made here; null for no widget.
HWND ControlOf(const ICBSWidgetBase* widget);
// A check box's or radio button's state.
bool IsChecked(const ICBSWidgetBase* button);
void SetChecked(ICBSWidgetBase* button, bool checked);
// A child control of `parent` at a fixed place, for pages that place their controls themselves; it belongs to
// the parent window, which destroys it. Null when the system refuses it.
HWND MakeChildControl(HWND parent, const wchar_t* className, DWORD style, int id, const RECT& rect,
                      HFONT font);

std::unique_ptr<ICBSTextWidget> MakeTextWidget(HWND page, const std::wstring& text, bool wrap, int alignment,
                                               HFONT font = nullptr);
std::unique_ptr<ICBSTextWithHyperlinksWidget> MakeLinkTextWidget(HWND page, const std::wstring& text, int id,
                                                                 bool wrap, int alignment,
                                                                 HFONT font = nullptr);
std::unique_ptr<ICBSCheckboxWidget> MakeCheckboxWidget(HWND page, const std::wstring& text, bool multiLine,
                                                       int id, HFONT font = nullptr);
std::unique_ptr<ICBSRadioButtonWidget> MakeRadioButtonWidget(HWND page, const std::wstring& text,
                                                             bool multiLine, bool groupStart, int id,
                                                             HFONT font = nullptr);
std::unique_ptr<ICBSButtonWidget> MakeButtonWidget(HWND page, const std::wstring& text, int id,
                                                   HFONT font = nullptr);
// An icon resource of `resources` (the program's own module when null) at `size` pixels square; empty
// when it is missing.
IconHandle LoadPageIcon(HMODULE resources, const wchar_t* name, int size = 48);
// The icon stays the caller's.
std::unique_ptr<ICBSImageWidget> MakeImageWidget(HWND page, HICON icon);

// The product's icon at the head of the welcome and finish pages.
inline constexpr wchar_t kProductIconName[] = L"IDB_PRODUCT_IMAGE";
// A page's header: the icon on the left, centred beside a column of texts the caller fills. The row
// owns both; `texts` points into it.
struct PageHeader {
    std::unique_ptr<ICBSHorizontalLayout> row;
    ICBSVerticalLayout* texts = nullptr;
};
PageHeader MakePageHeader(HWND page, HICON icon, int spacing);
// `notificationMessage` is posted to `page` for every new position; range 0 makes an endless bar.
std::unique_ptr<ICBSProgressWidget> MakeProgressWidget(HWND page, unsigned notificationMessage, int range);
