#include "wizard/ControlWindow_win.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/ICBSVerticalLayout.h"
#include "wizard/Widgets_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

constexpr unsigned kProgressMessage = WM_APP + 7;

// A hidden top-level window standing in for a wizard page.
class TestPage {
public:
    TestPage() {
        static const ATOM atom = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"LayoutTestPage";
            return RegisterClassW(&windowClass);
        }();
        (void)atom;
        window_.Attach(CreateWindowExW(0, L"LayoutTestPage", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    }
    ~TestPage() {
        // Leave no notification behind for the next test.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, kProgressMessage, kProgressMessage, PM_REMOVE)) {
        }
    }
    HWND Get() const { return window_.Get(); }

private:
    WindowHandle window_;
};

// The extent of one line of text in a font, measured apart from the widgets.
SIZE Extent(HWND window, HFONT font, const std::wstring& text) {
    SIZE size{};
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

LayoutRect ClientRect(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

HWND HandleOf(const ICBSWidgetBase& widget) {
    return ControlOf(&widget);
}

} // namespace

TEST(WidgetWindows, FontCacheKeepsOneFontPerRequest) {
    TestPage page;
    ASSERT_TRUE(page.Get());
    HFONT regular = GetFont(page.Get(), L"Tahoma", 9, false);
    ASSERT_TRUE(regular);
    EXPECT_EQ(regular, GetFont(page.Get(), L"Tahoma", 9, false));
    EXPECT_NE(regular, GetFont(page.Get(), L"Tahoma", 9, true));

    // A widget without a font of its own gets the cached default.
    auto text = MakeTextWidget(page.Get(), L"abc", true, kAlignLeft);
    ASSERT_TRUE(text);
    EXPECT_EQ(reinterpret_cast<LRESULT>(regular), SendMessageW(HandleOf(*text), WM_GETFONT, 0, 0));
}

TEST(WidgetWindows, SizesFollowTheRealFont) {
    TestPage page;
    ASSERT_TRUE(page.Get());
    HFONT font = GetFont(page.Get(), L"Tahoma", 9, false);
    const SIZE abc = Extent(page.Get(), font, L"abc");
    ASSERT_GT(abc.cx, 0);

    auto box = MakeCheckboxWidget(page.Get(), L"abc", false, 100);
    ASSERT_TRUE(box);
    EXPECT_EQ(abc.cx + 18, box->SizeHint().width);
    EXPECT_EQ(std::max<int>(16, abc.cy), box->SizeHint().height);

    auto empty = MakeRadioButtonWidget(page.Get(), L"", false, true, 101);
    ASSERT_TRUE(empty);
    EXPECT_EQ((LayoutSize{16, 16}), empty->SizeHint());

    auto button = MakeButtonWidget(page.Get(), L"abc", 102);
    ASSERT_TRUE(button);
    EXPECT_EQ((LayoutSize{abc.cx + 40, abc.cy + 10}), button->SizeHint());

    auto text = MakeTextWidget(page.Get(), L"abc", false, kAlignRight);
    ASSERT_TRUE(text);
    EXPECT_EQ((LayoutSize{abc.cx, abc.cy}), text->SizeHint());
    EXPECT_EQ(SS_LEFTNOWORDWRAP, GetWindowLongW(HandleOf(*text), GWL_STYLE) & SS_TYPEMASK);
}

TEST(WidgetWindows, AWrappingTextGetsTallerWhenNarrower) {
    TestPage page;
    ASSERT_TRUE(page.Get());
    ICBSVerticalLayout column;
    auto* text = column.AddChild(
        MakeTextWidget(page.Get(), L"Setup will guide you through the uninstall process of your product.",
                       true, kAlignLeft));
    auto* below = column.AddChild(MakeButtonWidget(page.Get(), L"Next", 1));
    ASSERT_TRUE(text && below);

    column.SetGeometry({0, 0, 2000, 400});
    const LayoutSize wide = text->SizeHint();
    column.SetGeometry({0, 0, wide.width / 3, 400});
    const LayoutSize narrow = text->SizeHint();
    EXPECT_GE(narrow.height, 3 * wide.height);
    EXPECT_LE(narrow.width, wide.width / 3);

    // The controls stand where the layout put them.
    EXPECT_EQ(text->Geometry(), ClientRect(HandleOf(*text)));
    EXPECT_EQ(narrow.height + 5, ClientRect(HandleOf(*below)).y);

    // A new text reaches the control after the layout.
    text->SetText(L"Done.");
    wchar_t shown[32] = {};
    GetWindowTextW(HandleOf(*text), shown, 32);
    EXPECT_STREQ(L"Done.", shown);
}

TEST(WidgetWindows, ProgressTravelsAsPostedMessages) {
    TestPage page;
    ASSERT_TRUE(page.Get());
    auto bar = MakeProgressWidget(page.Get(), kProgressMessage, 100);
    ASSERT_TRUE(bar);
    HWND handle = HandleOf(*bar);
    MSG msg;

    bar->SetPosition(150);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, kProgressMessage, kProgressMessage, PM_NOREMOVE));
    EXPECT_EQ(page.Get(), msg.hwnd);
    EXPECT_EQ(100u, msg.wParam);
    EXPECT_EQ(0, SendMessageW(handle, PBM_GETPOS, 0, 0)); // not applied before the pump
    bar->PumpProgress();
    EXPECT_EQ(100, SendMessageW(handle, PBM_GETPOS, 0, 0));
    bar->SetPosition(150);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, kProgressMessage, kProgressMessage, PM_NOREMOVE));

    // A position out of range is taken out of the queue but not applied.
    PostMessageW(page.Get(), kProgressMessage, 101, 0);
    bar->PumpProgress();
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, kProgressMessage, kProgressMessage, PM_NOREMOVE));
    EXPECT_EQ(100, SendMessageW(handle, PBM_GETPOS, 0, 0));

    auto endless = MakeProgressWidget(page.Get(), kProgressMessage, 0);
    ASSERT_TRUE(endless);
    EXPECT_TRUE(GetWindowLongW(HandleOf(*endless), GWL_STYLE) & PBS_MARQUEE);
    endless->SetPosition(10);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, kProgressMessage, kProgressMessage, PM_NOREMOVE));
    endless->SetBarRange(50);
    EXPECT_FALSE(GetWindowLongW(HandleOf(*endless), GWL_STYLE) & PBS_MARQUEE);
}

TEST(WidgetWindows, RemovingAWidgetDestroysItsControl) {
    TestPage page;
    ASSERT_TRUE(page.Get());
    ICBSHorizontalLayout row;
    auto* icon = row.AddChild(MakeImageWidget(page.Get(), LoadIconW(nullptr, IDI_INFORMATION)));
    ASSERT_TRUE(icon);
    const LayoutSize iconSize = icon->SizeHint();
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), iconSize.width);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), iconSize.height);
    HWND handle = HandleOf(*icon);
    ASSERT_TRUE(IsWindow(handle));
    row.Hide();
    EXPECT_FALSE(GetWindowLongW(handle, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(row.RemoveChild(icon));
    EXPECT_FALSE(IsWindow(handle));
}

TEST(WidgetWindows, LinkTextMeasuresItself) {
    TestPage page;
    ASSERT_TRUE(page.Get());
    auto link = MakeLinkTextWidget(page.Get(), L"Read the <a href=\"x\">licence terms</a> first.", 1200, true,
                                   kAlignLeft);
    ASSERT_TRUE(link);
    const LayoutSize single = link->SizeHint();
    EXPECT_GT(single.width, 0);
    EXPECT_GT(single.height, 0);
    ICBSVerticalLayout column;
    auto* placed = column.AddChild(std::move(link));
    column.SetGeometry({0, 0, single.width / 2, 200});
    EXPECT_GT(placed->SizeHint().height, single.height);
}
