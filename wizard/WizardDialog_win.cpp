#include "wizard/WizardDialog_win.h"

#include "launcher/SetupLog.h"

namespace {

constexpr unsigned kWindowIconId = 133;
constexpr unsigned kStringNext = 54;
constexpr unsigned kStringBack = 56;
constexpr unsigned kStringCancel = 57;
constexpr COLORREF kWhite = RGB(255, 255, 255);
// Pages sit this far inside the frame.
constexpr int kPageMarginX = 20;
constexpr int kPageMarginY = 10;

std::vector<WizardPackageFacts> FactsOf(const std::vector<std::unique_ptr<PackageInfo>>& packages) {
    std::vector<WizardPackageFacts> facts;
    for (const auto& package : packages)
        facts.push_back({package->ProductName(), package->ProductId(), package->InstallerType(),
                         package->IsServerProduct()});
    return facts;
}

} // namespace

CWizardDialog::CWizardDialog(WizardHostIF& host, std::wstring title, HWND parent, PageFactory factory,
                             HMODULE resources)
    : CDialogBase(kWizardDialogTemplateId, true, resources), host_(host), title_(std::move(title)),
      parent_(parent) {
    const auto& packages = host_.Packages();
    const std::vector<WizardPackageFacts> facts = FactsOf(packages);
    mode_.uninstallRequested = host_.CommandLine().uninstall;
    mode_.repairRequested = host_.CommandLine().repair;
    mode_.mainProductInstalled = !packages.empty() && packages.front()->Installed();
    flags_ = ComputeWizardFlags(facts);
    fullUserInterface_ = IsFullUserInterface(host_.CommandLine().uiLevel);
    kinds_ = BuildWizardPageList(facts, mode_.uninstallRequested);

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
    const INT_PTR ended = RunModal(parent_, host_.Languages().CurrentLanguageId());
    // A wizard that never came up did nothing: that must not end the run as a success.
    if (ended == -1 && host_.Result().code == ResultCode::Success) {
        host_.WriteLogLine(
            kLogLevelFailure,
            Format(L"VNT (c): The wizard could not be started (error %u).\r\n", GetLastError()));
        host_.Result().Set(ResultCode::InstallFailed, 0, false);
        host_.ReportResult();
    }
    return ended;
}

WizardMode CWizardDialog::Mode() const {
    return mode_;
}

bool CWizardDialog::IsInteractive() const {
    return fullUserInterface_ && host_.QuickInstallList().empty();
}

WizardPageBase* CWizardDialog::PageAt(int index) const {
    return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[index].get() : nullptr;
}

WizardPageBase* CWizardDialog::CurrentPage() const {
    return PageAt(CurrentIndex());
}

std::wstring CWizardDialog::LoadString(unsigned id) const {
    return host_.Languages().LoadString(id);
}

void CWizardDialog::EnableButton(int id, bool enable) const {
    if (HWND button = Handle() ? GetDlgItem(Handle(), id) : nullptr)
        EnableWindow(button, enable ? TRUE : FALSE);
}

void CWizardDialog::SetInstallerResult(int32_t installerError) {
    ApplyInstallerResult(host_.Result(), installerError);
}

BOOL CWizardDialog::OnInitDialog() {
    CDialogBase::OnInitDialog();
    HWND window = Handle();
    if (!fullUserInterface_) {
        keepHidden_ = true;
        ShowWindow(window, SW_HIDE);
    }
    // The brush, the title and the icons come before the first page: in a run without a full user
    // interface the whole walk happens inside that first activation.
    whiteBrush_.Attach(CreateSolidBrush(kWhite));
    SetWindowTextW(window, title_.c_str());
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
            WriteLog(kLogLevelFailure,
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
    SetWindowTextW(window, host_.WizardTitle().c_str());
    SetDlgItemTextW(window, WizardControl::Next, LoadString(kStringNext).c_str());
    SetDlgItemTextW(window, WizardControl::Cancel, LoadString(kStringCancel).c_str());
    SetDlgItemTextW(window, WizardControl::Back, LoadString(kStringBack).c_str());
    if (OffersLanguageChoice()) {
        HWND box = GetDlgItem(window, WizardControl::LanguageBox);
        SendMessageW(box, CB_RESETCONTENT, 0, 0);
        const LanguageTable& languages = host_.Languages();
        const std::wstring current = languages.CurrentDisplayName();
        for (const std::wstring& name : languages.AvailableDisplayNames()) {
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
    host_.Languages().SelectByName(name);
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
            GoNext();
        else if (id == WizardControl::Cancel && code == BN_CLICKED)
            CancelWizard();
        else if (id == WizardControl::Back && code == BN_CLICKED)
            GoBack();
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
