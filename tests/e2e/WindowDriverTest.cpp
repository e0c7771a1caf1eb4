// The window driver against windows of a thread of the test program itself: a message box and a small
// form with the controls that wizard pages use.
#include "WindowDriver.h"
#include "LauncherRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace e2e;

namespace {

constexpr int kCheckId = 101;
constexpr int kComboId = 102;
constexpr int kEditId = 103;
constexpr int kDisabledId = 104;

// A top-level window with a check box, a combo box, an edit control and a disabled button, run by its
// own thread; it counts the notifications its controls send.
class Form {
public:
    Form() {
        thread_ = std::thread([this] { Run(); });
        while (!ready_.load())
            Sleep(10);
    }
    ~Form() {
        if (window_)
            PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    HWND Window() const { return window_; }
    int Clicks() const { return clicks_; }
    int SelectionChanges() const { return selectionChanges_; }
    int EditChanges() const { return editChanges_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_COMMAND && form) {
            if (LOWORD(wParam) == kCheckId && HIWORD(wParam) == BN_CLICKED)
                ++form->clicks_;
            if (LOWORD(wParam) == kComboId && HIWORD(wParam) == CBN_SELCHANGE)
                ++form->selectionChanges_;
            if (LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE)
                ++form->editChanges_;
        }
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Run() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"WindowDriverTestForm";
        RegisterClassW(&windowClass);
        HWND window =
            CreateWindowExW(0, L"WindowDriverTestForm", L"Driver form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                            0, 400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
        if (!window) {
            ready_ = true; // the test fails on the missing window
            return;
        }
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const auto child = [&](const wchar_t* className, const wchar_t* text, DWORD style, int id, int y) {
            return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, y, 200, 24, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), windowClass.hInstance,
                                   nullptr);
        };
        child(L"Button", L"&Install the broker", BS_AUTOCHECKBOX, kCheckId, 10);
        HWND combo = child(L"ComboBox", L"", CBS_DROPDOWNLIST, kComboId, 40);
        for (const wchar_t* item : {L"English", L"Deutsch",
                                    L"Fran\x00E7"
                                    L"ais"})
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        child(L"Edit", L"8080", 0, kEditId, 80);
        EnableWindow(child(L"Button", L"&Next >", BS_PUSHBUTTON, kDisabledId, 110), FALSE);
        window_ = window;
        ready_ = true;
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> ready_{false};
    std::atomic<int> clicks_{0}, selectionChanges_{0}, editChanges_{0};
};

} // namespace

TEST(WindowDriver, ReadsAndAnswersAMessageBox) {
    // Shared with the thread, which outlives the test when its box never appears and cannot be answered.
    const auto answer = std::make_shared<std::atomic<int>>(0);
    std::thread box(
        [answer] { *answer = MessageBoxW(nullptr, L"Remove the old version?", L"Setup", MB_YESNO); });
    HWND window = WindowDriver::WaitForWindowOfClass(GetCurrentProcessId(), WindowDriver::kDialogClass);
    if (!window) {
        box.detach();
        FAIL() << "no message box: is there a display?";
    }
    EXPECT_EQ(L"Setup", WindowDriver::Caption(window));
    EXPECT_EQ(L"Remove the old version?", WindowDriver::MessageBoxText(window));
    EXPECT_FALSE(WindowDriver::PressButton(window, L"Cancel")); // there is none
    EXPECT_TRUE(WindowDriver::PressButton(window, L"No"));
    box.join();
    EXPECT_EQ(IDNO, answer->load());
    EXPECT_TRUE(WindowDriver::WaitUntilGone(window, 1000));
}

TEST(WindowDriver, DrivesTheControlsOfAForm) {
    Form form;
    ASSERT_NE(nullptr, form.Window()) << "cannot create a window: is there a display?";
    HWND window = WindowDriver::WaitForWindow(
        GetCurrentProcessId(), [](HWND w) { return WindowDriver::Caption(w) == L"Driver form"; });
    ASSERT_EQ(form.Window(), window);

    const auto controls = WindowDriver::Controls(window);
    ASSERT_EQ(4u, controls.size());
    EXPECT_EQ(L"&Install the broker", controls[0].text);
    EXPECT_EQ(kCheckId, controls[0].id);
    EXPECT_FALSE(controls[3].enabled);

    HWND check = WindowDriver::ButtonByText(window, L"Install the broker").window;
    ASSERT_NE(nullptr, check);
    EXPECT_EQ(BST_UNCHECKED, WindowDriver::CheckState(check));
    EXPECT_TRUE(WindowDriver::SetChecked(check, true));
    EXPECT_EQ(BST_CHECKED, WindowDriver::CheckState(check));
    EXPECT_TRUE(WindowDriver::SetChecked(check, true)); // already so: no click
    EXPECT_TRUE(WindowDriver::SetChecked(check, false));
    EXPECT_EQ(2, form.Clicks());

    HWND combo = WindowDriver::ControlById(window, kComboId).window;
    EXPECT_EQ((std::vector<std::wstring>{L"English", L"Deutsch",
                                         L"Fran\x00E7"
                                         L"ais"}),
              WindowDriver::ComboItems(combo));
    EXPECT_TRUE(WindowDriver::SelectComboItem(combo, 2));
    EXPECT_FALSE(WindowDriver::SelectComboItem(combo, 7));

    HWND edit = WindowDriver::ControlById(window, kEditId).window;
    EXPECT_EQ(L"8080", WindowDriver::Text(edit));
    EXPECT_TRUE(WindowDriver::SetEditText(edit, L"8443"));
    EXPECT_EQ(L"8443", WindowDriver::Text(edit));

    // Disabled buttons cannot be pressed.
    EXPECT_FALSE(WindowDriver::PressButton(window, L"Next >"));
    EXPECT_FALSE(WindowDriver::PressButtonById(window, kDisabledId));

    // Posted notifications arrive in order behind the clicks.
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while ((form.SelectionChanges() < 1 || form.EditChanges() < 1) && GetTickCount64() < deadline)
        Sleep(10);
    EXPECT_EQ(1, form.SelectionChanges());
    EXPECT_GE(form.EditChanges(), 1); // the control itself may notify as well
}

TEST(WindowDriver, MnemonicsAreLeftOut) {
    EXPECT_EQ(L"Next >", WindowDriver::WithoutMnemonics(L"&Next >"));
    EXPECT_EQ(L"Save & exit", WindowDriver::WithoutMnemonics(L"Save && e&xit"));
    EXPECT_EQ(L"End", WindowDriver::WithoutMnemonics(L"End&"));
}
