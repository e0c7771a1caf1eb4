// The harness of the wizard tests: the wizard runs modally on the test's thread with test pages from
// WizardTestPages.h, while a driver acts from a second thread as a user would; helpers to wait, read texts
// and pixels, and take screenshots.
#pragma once

#include "WidgetTestPage.h"
#include "WizardTestPages.h"

#include "WindowCapture.h"
#include "WizardDriver.h"
#include "support/Handle_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

namespace {

constexpr DWORD kWaitMs = 20'000;
// Half-second tries a hidden wizard gets to end by itself before it is cancelled.
constexpr int kHiddenRunGraceTries = 20;

std::wstring ThisFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs) {
    const ULONGLONG start = GetTickCount64();
    while (!condition()) {
        if (GetTickCount64() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// The pixels of `control`, as the screen shows it, that have exactly `colour`.
int CountPixels(HWND control, COLORREF colour) {
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            count += GetPixel(dc, x, y) == colour;
    ReleaseDC(control, dc);
    return count;
}

RECT ClientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

// The height of one line of text in the control's font.
int LineHeight(HWND control) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return metrics.tmHeight;
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// The wizard runs modally on the test's thread; the driver acts from a second thread, as a user would.
class WizardDialogTest : public testing::Test {
protected:
    void TearDown() override { wizard_.reset(); }
    void SetUp() override {
        module_.Attach(
            LoadLibraryExW((ThisFolder() + L"SetupLauncher.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module_.IsValid()) << "SetupLauncher.exe beside the test program";
        host_ = std::make_unique<TestWizardHost>(module_.Get());
        // One Windows Installer package of the main server line: a list with most kinds of slot.
        PackageDescription main;
        main.productName = L"Halvora Server";
        main.productId = L"HV::Z";
        main.version = L"10.1.0.1";
        main.main = true;
        host_->packages.Add(PackageInfo(main));
    }

    // The launcher's page of a slot, except the pages that wait for the user in an interactive run with
    // nothing a test of another page needs (their own tests drive them): those pass on.
    static std::unique_ptr<WizardPageBase> OtherPage(WizardPageKind kind, PageFrame& frame) {
        if (kind == WizardPageKind::HVOptions || kind == WizardPageKind::Mosquitto ||
            kind == WizardPageKind::ServiceConfiguration)
            return std::make_unique<PassingTestPage>(frame, WizardPageLogName(kind));
        return MakeWizardPage(kind, frame);
    }

    // Test pages on the welcome, unpack and finish slots; every other slot passes on.
    CWizardDialog::PageFactory TestPages() {
        return [this](WizardPageKind kind, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
            switch (kind) {
            case WizardPageKind::Welcome: {
                auto page = std::make_unique<TextTestPage>(frame, L"Welcome", 150, 35, true);
                welcome_ = page.get();
                return page;
            }
            case WizardPageKind::Unpack: {
                auto page = std::make_unique<WorkerTestPage>(frame);
                worker_ = page.get();
                return page;
            }
            case WizardPageKind::Finish:
                return std::make_unique<FinishTestPage>(frame);
            default:
                return OtherPage(kind, frame);
            }
        };
    }

    // The page `make` builds on the slot `kind` (kept in `page` for the test), the test finish page, and
    // passing pages on every other slot.
    template <class Page>
    static CWizardDialog::PageFactory
    OnePage(WizardPageKind kind, std::function<std::unique_ptr<Page>(PageFrame&)> make, Page*& page) {
        return [kind, make, &page](WizardPageKind slot, PageFrame& frame) -> std::unique_ptr<WizardPageBase> {
            if (slot == kind) {
                auto made = make(frame);
                page = made.get();
                return made;
            }
            if (slot == WizardPageKind::Finish)
                return std::make_unique<FinishTestPage>(frame);
            return std::make_unique<PassingTestPage>(frame, WizardPageLogName(slot));
        };
    }
    // The wizard once `page` (as the test keeps it) is current, shown and waiting with Next enabled; null
    // after the time limit.
    template <class Page> static HWND WaitForWaitingPage(Page* const& page) {
        HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
        if (!wizard || !WaitUntil([&] {
                return page && WizardDriver::CurrentPage(wizard) == page->Handle() &&
                       IsWindowVisible(page->Handle()) && WizardDriver::ReadButtons(wizard).nextEnabled;
            }))
            return nullptr;
        Sleep(200); // let the page paint
        return wizard;
    }

    // Runs the wizard with `drive` on a second thread; whatever the driver leaves open is cancelled.
    INT_PTR Run(CWizardDialog::PageFactory factory, const std::function<void()>& drive) {
        // The wizard (and its pages, which the tests inspect afterwards) lives until the test ends.
        host_->DecideMode();
        wizard_ = std::make_unique<CWizardDialog>(host_->context, *host_, nullptr, std::move(factory),
                                                  module_.Get());
        const DWORD uiThread = GetCurrentThreadId();
        uiThread_ = uiThread;
        std::thread driver([&] {
            drive();
            // A hidden wizard is a silent run, which ends by itself, though a page of it may still be
            // pumping messages while its worker drains: only a stuck one is cancelled, after a while.
            for (int tries = 0; tries < 60; ++tries) {
                HWND window = FindWizard(uiThread);
                if (!window)
                    break;
                if (IsWindowVisible(window) || tries >= kHiddenRunGraceTries)
                    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                Sleep(500);
            }
        });
        const INT_PTR result = wizard_->Run();
        driver.join();
        // A quit message reposted by the dialog must not reach the next test.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        return result;
    }

    static HWND FindWizard(DWORD thread) {
        HWND found = nullptr;
        EnumThreadWindows(
            thread,
            [](HWND window, LPARAM param) {
                wchar_t name[16] = {};
                GetClassNameW(window, name, 16);
                if (std::wstring(name) == L"#32770") {
                    *reinterpret_cast<HWND*>(param) = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    HWND WaitForWizard() {
        HWND window = nullptr;
        WaitUntil([&] { return (window = FindWizard(uiThread_)) != nullptr; });
        return window;
    }
    bool WaitForLog(const std::wstring& line) {
        return WaitUntil([&] { return host_->Logged(line); });
    }
    static void Command(HWND wizard, int id, int code = BN_CLICKED) {
        PostMessageW(wizard, WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(wizard, id)));
    }
    void Screenshot(HWND wizard, const wchar_t* name) {
        Sleep(300); // let the page paint
        const std::wstring folder = ThisFolder() + L"screenshots";
        CreateDirectoryW(folder.c_str(), nullptr);
        EXPECT_TRUE(WizardDriver::Screenshot(wizard, folder + L"\\" + name));
    }

    ModuleHandle module_;
    std::unique_ptr<TestWizardHost> host_;
    std::unique_ptr<CWizardDialog> wizard_;
    TextTestPage* welcome_ = nullptr;
    WorkerTestPage* worker_ = nullptr;
    DWORD uiThread_ = 0;
};

} // namespace
