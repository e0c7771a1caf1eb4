// A wizard page built the way the real pages are: a column of widgets (heading, wrapping text, a link,
// a multi-line check box, a progress bar) laid out by the layout engine, and a warning line below it.
// Every text comes from the string tables on each Relayout, so a language change reloads all of them.
#pragma once

#include "WizardTestPages.h"
#include "wizard/ControlWindow_win.h"
#include "wizard/ICBSVerticalLayout.h"
#include "wizard/WarningStaticText_win.h"
#include "wizard/Widgets_win.h"

#include <atomic>
#include <mutex>
#include <string>

class WidgetTestPage : public WizardPageBase {
public:
    static constexpr int kLinkId = 110;
    static constexpr int kCheckId = 111;
    static constexpr int kWarningId = 112;
    static constexpr UINT kProgressMessage = WM_USER + 2;
    static constexpr wchar_t kLinkAddress[] = L"https://support.example.invalid/notes";

    explicit WidgetTestPage(PageFrame& frame) : WizardPageBase(frame, L"SystemIntegrity") {}

    void CreateControls(HWND parent, int, int) override {
        const HFONT normal = Frame().Font(PageFont::Normal);
        heading_ = column_.AddChild(
            MakeTextWidget(parent, L"", false, kAlignLeft, Frame().Font(PageFont::LargeBold)));
        body_ = column_.AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
        link_ = column_.AddChild(MakeLinkTextWidget(parent, L"", kLinkId, true, kAlignLeft, normal));
        check_ = column_.AddChild(MakeCheckboxWidget(parent, L"", true, kCheckId, normal));
        progress_ = column_.AddChild(MakeProgressWidget(parent, kProgressMessage, 100));
        warning_.Create(parent, L"", kWarningId, RECT{0, 0, 0, 0}, Frame().Font(PageFont::Bold));
    }
    PageStep Prepare() override {
        Frame().ShowLanguageBox(true);
        ShowWindow(Handle(), SW_SHOW);
        return PageStep::Stay;
    }
    void Relayout() override {
        heading_->SetText(LoadString(150) + L"Halvora Server");
        body_->SetText(Format(LoadString(1403), L"Halvora Server"));
        link_->SetText(Format(L"<a href=\"%s\">%s</a>", kLinkAddress, LoadString(32)));
        check_->SetText(LoadString(39));
        SetWindowTextW(warning_.Handle(), LoadString(64).c_str());
        progress_->SetPosition(40);
        progress_->PumpProgress();

        RECT client;
        GetClientRect(Handle(), &client);
        column_.SetGeometry({0, 0, client.right, client.bottom});
        // The warning takes the rest of the page below the column.
        const LayoutRect& below = progress_->Geometry();
        const int top = below.y + below.height + ICBSLayoutWithChildren::kDefaultSpacing;
        MoveWindow(warning_.Handle(), 0, top, client.right, client.bottom - top, TRUE);
        ++relayouts;
    }
    bool OnLinkClicked(int id, int linkIndex, const std::wstring& url) override {
        std::lock_guard lock(mutex_);
        clickedLinks.push_back(Format(L"%d:%d:%s", id, linkIndex, url));
        return true;
    }

    std::vector<std::wstring> ClickedLinks() {
        std::lock_guard lock(mutex_);
        return clickedLinks;
    }
    HWND WarningWindow() const { return warning_.Handle(); }
    const ICBSCheckboxWidget& CheckBox() const { return *check_; }
    const ICBSProgressWidget& Progress() const { return *progress_; }

    std::atomic<int> relayouts{0};

private:
    ICBSVerticalLayout column_;
    ICBSTextWidget* heading_ = nullptr;
    ICBSTextWidget* body_ = nullptr;
    ICBSTextWithHyperlinksWidget* link_ = nullptr;
    ICBSCheckboxWidget* check_ = nullptr;
    ICBSProgressWidget* progress_ = nullptr;
    WarningStaticText warning_;
    std::mutex mutex_;
    std::vector<std::wstring> clickedLinks;
};
