#include "wizard/WizardDialog_win.h"

#include "StringIds.h"
#include "launcher/SetupLog.h"

#include "server/ServerConfiguration.h"
#include <algorithm>

namespace {

constexpr unsigned kWindowIconId = 133;
constexpr COLORREF kWhite = RGB(255, 255, 255);
// Pages sit this far inside the frame.
constexpr int kPageMarginX = 20;
constexpr int kPageMarginY = 10;

std::vector<WizardPackageFacts> FactsOf(const PackageList& packages) {
    std::vector<WizardPackageFacts> facts;
    for (const PackageInfo& package : packages)
        facts.push_back({package.ProductName(), package.ProductId(), package.InstallerType(),
                         !ServerEntriesOf(package.ProductName()).empty()});
    return facts;
}

int ControlId(WizardButton button) {
    switch (button) {
    case WizardButton::Back:
        return WizardControl::Back;
    case WizardButton::Next:
        return WizardControl::Next;
    case WizardButton::Cancel:
        break;
    }
    return WizardControl::Cancel;
}

} // namespace

CWizardDialog::CWizardDialog(SetupContext& context, WizardServicesIF& services, HWND parent,
                             PageFactory factory, HMODULE resources)
    : CDialogBase(kWizardDialogTemplateId, true, resources), PageFrame(context, services), parent_(parent) {
    const std::vector<WizardPackageFacts> facts = FactsOf(context.packages);
    flags_ = ComputeWizardFlags(facts);
    kinds_ = BuildWizardPageList(facts, context.mode.IsUninstall());

    if (!factory)
        factory = &MakeWizardPage;
    std::vector<WizardPageIF*> slots;
    for (WizardPageKind kind : kinds_) {
        pages_.push_back(kind == WizardPageKind::Empty ? nullptr : factory(kind, *this));
        slots.push_back(pages_.back().get());
    }
    navigator_ = std::make_unique<WizardNavigator>(std::move(slots), FinishIndexOf(kinds_),
                                                   static_cast<WizardNavigationHostIF&>(*this));
}

// Pages go before the dialog's fonts and brush, which they borrow.
CWizardDialog::~CWizardDialog() {
    pages_.clear();
}

INT_PTR CWizardDialog::Run() {
    SetLastError(ERROR_SUCCESS);
    const INT_PTR ended = RunModal(parent_, Languages().CurrentLanguageId());
    // A wizard that never came up did nothing: that must not end the run as a success.
    if (ended == -1 && Result().code == ResultCode::Success) {
        Log(kLogLevelFailure,
            Format(L"VNT (c): The wizard could not be started (error %u).\r\n", GetLastError()));
        Result().Set(ResultCode::InstallFailed, 0, false);
        Services().ReportResult();
    }
    return ended;
}

WizardPageBase* CWizardDialog::CurrentPage() const {
    const int index = navigator_->CurrentIndex();
    return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[index].get() : nullptr;
}

HWND CWizardDialog::Button(WizardButton button) const {
    return Handle() ? GetDlgItem(Handle(), ControlId(button)) : nullptr;
}

void CWizardDialog::EnableButton(WizardButton button, bool enable) {
    if (HWND control = Button(button))
        EnableWindow(control, enable ? TRUE : FALSE);
}

void CWizardDialog::SetButtonText(WizardButton button, const std::wstring& text) {
    if (HWND control = Button(button))
        SetWindowTextW(control, text.c_str());
}

void CWizardDialog::FocusButton(WizardButton button) {
    PostMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Button(button)), TRUE);
}

void CWizardDialog::WidenButton(WizardButton button, int pixels) {
    HWND control = Button(button);
    RECT rect;
    if (!control || !GetWindowRect(control, &rect))
        return;
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(control, nullptr, rect.left - pixels, rect.top, rect.right - rect.left + pixels,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWizardDialog::ButtonShortfall(WizardButton button, const std::wstring& text) const {
    HWND control = Button(button);
    RECT client;
    if (!control || !GetClientRect(control, &client))
        return 0;
    const WindowDC dc(control);
    const SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, 0, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_SINGLELINE);
    // The button's frame and the focus rectangle take a few pixels on each side.
    constexpr int kFramePadding = 12;
    return std::max(0, static_cast<int>(needed.right) + kFramePadding - static_cast<int>(client.right));
}

void CWizardDialog::ShowLanguageBox(bool show) {
    if (HWND box = Handle() ? GetDlgItem(Handle(), WizardControl::LanguageBox) : nullptr)
        ShowWindow(box, show ? SW_SHOW : SW_HIDE);
}

void CWizardDialog::EnableWizard(bool enable) {
    EnableWindow(Handle(), enable ? TRUE : FALSE);
}

void CWizardDialog::PostNext() {
    // The command the Next button sends, whether or not the button is enabled now.
    PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(WizardControl::Next, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(Handle(), WizardControl::Next)));
}

void CWizardDialog::Repaint() {
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool CWizardDialog::IsVisible() const {
    return Handle() && IsWindowVisible(Handle());
}

void CWizardDialog::SetVisible(bool visible) {
    if (!visible) {
        ShowWindow(Handle(), SW_HIDE);
        return;
    }
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetActiveWindow(Handle());
}

bool CWizardDialog::TranslateDialogMessage(MSG& message) {
    return Handle() && IsDialogMessageW(Handle(), &message);
}

HFONT CWizardDialog::Font(PageFont font) const {
    switch (font) {
    case PageFont::LargeBold:
        return LargeBoldFont();
    case PageFont::Bold:
        return BoldFont();
    case PageFont::Medium:
        return MediumFont();
    case PageFont::Normal:
        break;
    case PageFont::Small:
        return SmallFont();
    }
    return NormalFont();
}

BOOL CWizardDialog::OnInitDialog() {
    CDialogBase::OnInitDialog();
    HWND window = Handle();
    if (!Mode().IsFullUserInterface()) {
        keepHidden_ = true;
        ShowWindow(window, SW_HIDE);
    }
    // The brush, the title and the icons come before the first page: in a run without a full user
    // interface the whole walk happens inside that first activation.
    whiteBrush_.Attach(CreateSolidBrush(kWhite));
    SetWindowTextW(window, WizardTitle().c_str());
    bigIcon_.Attach(
        static_cast<HICON>(LoadImageW(Resources(), MAKEINTRESOURCEW(kWindowIconId), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.Attach(
        static_cast<HICON>(LoadImageW(Resources(), MAKEINTRESOURCEW(kWindowIconId), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));

    HWND frame = GetDlgItem(window, WizardControl::Frame);
    RECT outer{};
    GetWindowRect(frame, &outer);
    const RECT pageRect{kPageMarginX, kPageMarginY, outer.right - outer.left - kPageMarginX,
                        outer.bottom - outer.top - kPageMarginY};
    for (const auto& page : pages_) {
        if (page && !page->CreatePageWindow(frame, pageRect))
            Log(kLogLevelFailure,
                Format(L"VNT (c): Cannot create the window of dialog %s\r\n", page->Name()));
    }
    EnableBack(false);
    navigator_->Start();
    return TRUE;
}

void CWizardDialog::ShowForFinish() {
    keepHidden_ = false;
    HWND window = Handle();
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

void CWizardDialog::RefreshTexts() {
    HWND window = Handle();
    if (!window)
        return;
    SetWindowTextW(window, WizardTitle().c_str());
    SetButtonText(WizardButton::Next, String(StringId::Next));
    SetButtonText(WizardButton::Cancel, String(StringId::Cancel));
    SetButtonText(WizardButton::Back, String(StringId::Back));
    if (OffersLanguageChoice()) {
        HWND box = GetDlgItem(window, WizardControl::LanguageBox);
        SendMessageW(box, CB_RESETCONTENT, 0, 0);
        const std::wstring current = Languages().CurrentDisplayName();
        for (const std::wstring& name : Languages().AvailableDisplayNames()) {
            const LRESULT index = SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            if (name == current)
                SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }
    if (WizardPageBase* page = CurrentPage())
        page->Relayout();
}

void CWizardDialog::OnLanguageChanged() {
    HWND box = GetDlgItem(Handle(), WizardControl::LanguageBox);
    const LRESULT selected = SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return;
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length == CB_ERR)
        return;
    std::wstring name(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(name.data()));
    name.resize(static_cast<size_t>(length));
    Languages().SelectByName(name);
    WizardPageBase* page = CurrentPage();
    if (page)
        ShowWindow(page->Handle(), SW_HIDE);
    RefreshTexts();
    if (page)
        ShowWindow(page->Handle(), SW_SHOW);
}

bool CWizardDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == WizardControl::Next && code == BN_CLICKED)
            navigator_->GoNext();
        else if (id == WizardControl::Cancel && code == BN_CLICKED)
            navigator_->CancelWizard();
        else if (id == WizardControl::Back && code == BN_CLICKED)
            navigator_->GoBack();
        else if (id == WizardControl::LanguageBox && code == CBN_SELCHANGE)
            OnLanguageChanged();
        else
            return false;
        result = TRUE;
        return true;
    }
    case WM_WINDOWPOSCHANGING:
        if (keepHidden_)
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        return false;
    default:
        return false;
    }
}
