#include "server/ServiceConfigurationWizardPage_win.h"

#include "StringIds.h"
#include "launcher/SetupLog.h"
#include "server/PasswordProtection_win.h"
#include "server/ServerFacts_win.h"
#include "server/ServiceConfigurationProperties.h"
#include "server/ServiceConfigurationRules.h"
#include "support/Format.h"
#include "support/StringUtil.h"
#include "wizard/Widgets_win.h"

#include <commctrl.h>

namespace {

constexpr int kTabControlId = 1166;
constexpr uint16_t kJapaneseLanguageId = 1041;
constexpr wchar_t kJapaneseFace[] = L"MS UI Gothic";
constexpr int kUnencryptedSummaryId = 1189, kSslSummaryId = 1190, kServiceSummaryId = 1191;
constexpr int kUnencryptedButtonId = 1173, kSslButtonId = 1175, kServiceButtonId = 1171;

// The groups inside the tab's display area, in pixels.
constexpr int kInset = 10;
constexpr int kCaptionHeight = 16;
constexpr int kSummaryHeight = 34;
constexpr int kButtonWidth = 80, kButtonHeight = 23;
constexpr int kGroupGap = 8;

void Place(HWND control, int left, int top, int width, int height) {
    if (control)
        MoveWindow(control, left, top, width, height, FALSE);
}

} // namespace

void ServiceConfigurationWizardPage::Group::Show(bool show) {
    const int command = show ? SW_SHOW : SW_HIDE;
    if (caption)
        ShowWindow(caption, command);
    summary.Show(show);
    if (button)
        ShowWindow(button, command);
}

ServiceConfigurationWizardPage::ServiceConfigurationWizardPage(PageFrame& frame)
    : WizardPageBase(frame, L"IncludedSubPackages") {
    WindowsServerFacts facts([&frame](unsigned id) { return frame.String(id); });
    records_ = BuildServerConfigurations(frame.Packages(), facts);
}

void ServiceConfigurationWizardPage::CreateControls(HWND parent, int width, int height) {
    if (records_.empty())
        return;
    const HFONT normal = Frame().Font(PageFont::Normal);
    tabs_.Create(parent, kTabControlId, {0, 0, width, height}, normal);
    for (Group* group : {&unencrypted_, &ssl_, &service_}) {
        group->caption = MakeChildControl(parent, L"Static", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, -1, {},
                                          Frame().Font(PageFont::Bold));
        group->summary.Create(parent, GroupIds(*group).summary, {}, normal);
        group->button = MakeChildControl(parent, L"Button", WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP,
                                         GroupIds(*group).button, {}, normal);
    }
}

ServiceConfigurationWizardPage::GroupControlIds
ServiceConfigurationWizardPage::GroupIds(const Group& group) const {
    if (&group == &ssl_)
        return {kSslSummaryId, kSslButtonId};
    if (&group == &service_)
        return {kServiceSummaryId, kServiceButtonId};
    return {kUnencryptedSummaryId, kUnencryptedButtonId};
}

// The groups go below the tabs, which are only measured once they exist.
void ServiceConfigurationWizardPage::PlaceGroups() {
    const RECT area = tabs_.DisplayArea();
    const int left = area.left + kInset;
    const int right = area.right - kInset;
    const int summaryWidth = right - left - kButtonWidth - kInset;
    int top = area.top + kInset;
    for (Group* group : {&unencrypted_, &ssl_, &service_}) {
        Place(group->caption, left, top, right - left, kCaptionHeight);
        top += kCaptionHeight + 2;
        group->summary.Move({left, top, left + summaryWidth, top + kSummaryHeight});
        Place(group->button, right - kButtonWidth, top, kButtonWidth, kButtonHeight);
        top += kSummaryHeight + kGroupGap;
    }
}

bool ServiceConfigurationWizardPage::Selected(size_t package) const {
    return Frame().Choices().Selected(package);
}

PageStep ServiceConfigurationWizardPage::Prepare() {
    if (!tabs_.Handle())
        return PageStep::Next;
    if (tabs_.TabCount() == 0) {
        const std::vector<size_t> tabs = PrepareFirstTime(
            records_, [this](size_t package) { return Selected(package); }, Frame().CommandLineProperties(),
            Frame().Packages());
        if (tabs.empty())
            return PageStep::Next;
        for (size_t index : tabs)
            tabs_.AddTab(records_[index].name, static_cast<LPARAM>(index));
        PlaceGroups();
    }
    ShowPrepared();
    return PageStep::Stay;
}

void ServiceConfigurationWizardPage::ShowPrepared() {
    Relayout();
    Frame().EnableButton(WizardButton::Back, false);
    if (Frame().IsInteractive()) {
        ShowWindow(tabs_.Handle(), SW_SHOW);
        ShowWindow(Handle(), SW_SHOW);
    }
    Frame().FocusButton(WizardButton::Next);
}

void ServiceConfigurationWizardPage::Relayout() {
    const LPARAM selected = tabs_.SelectedData();
    if (selected < 0 || static_cast<size_t>(selected) >= records_.size())
        return;
    const TabSummaries summaries = SummariesOf(records_[static_cast<size_t>(selected)]);
    // Japanese summaries in the system's Japanese interface font.
    const bool japanese = Frame().Languages().CurrentLanguageId() == kJapaneseLanguageId;
    const wchar_t* face = japanese ? kJapaneseFace : nullptr;
    const BYTE charset = japanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
    const auto pieces = [this](const Summary& summary) {
        std::vector<RichTextPiece> result;
        for (const SummaryPiece& piece : summary)
            result.push_back({piece.stringId ? LoadString(piece.stringId) : piece.text, piece.bold});
        return result;
    };
    SetWindowTextW(unencrypted_.caption, LoadString(StringId::UnencryptedConnection).c_str());
    unencrypted_.summary.SetPieces(pieces(summaries.unencrypted), face, charset);
    unencrypted_.Show(true); // hidden with the others when the page last deactivated
    SetWindowTextW(ssl_.caption, LoadString(StringId::SslConnection).c_str());
    ssl_.summary.SetPieces(pieces(summaries.ssl), face, charset);
    ssl_.Show(summaries.sslShown);
    SetWindowTextW(service_.caption, LoadString(StringId::ServiceConfiguration).c_str());
    service_.summary.SetPieces(pieces(summaries.service), face, charset);
    service_.Show(summaries.serviceShown);
    SetWindowTextW(unencrypted_.button, LoadString(StringId::ChangeUnencryptedConnection).c_str());
    SetWindowTextW(ssl_.button, LoadString(StringId::ChangeSslConnection).c_str());
    SetWindowTextW(service_.button, LoadString(StringId::ChangeServiceConfiguration).c_str());
    // A button draws a new caption at once, before the frame around the page may paint over it: it is
    // drawn again in the page's turn.
    for (const Group* group : {&unencrypted_, &ssl_, &service_})
        InvalidateRect(group->button, nullptr, TRUE);
}

void ServiceConfigurationWizardPage::Deactivate() {
    ShowWindow(Handle(), SW_HIDE);
    if (tabs_.Handle())
        ShowWindow(tabs_.Handle(), SW_HIDE);
    unencrypted_.Show(false);
    ssl_.Show(false);
    service_.Show(false);
    WizardPageBase::Deactivate();
}

HWND ServiceConfigurationWizardPage::Wizard() const {
    return GetAncestor(Handle(), GA_ROOT);
}

void ServiceConfigurationWizardPage::RunDialog(CDialogBase& dialog) {
    if (dialog.RunModal(Wizard(), Frame().Languages().CurrentLanguageId()) == -1)
        MessageBoxW(Wizard(), L"Error Creating Dialog Object", Frame().WizardTitle().c_str(),
                    MB_OK | MB_ICONERROR);
    Relayout();
}

bool ServiceConfigurationWizardPage::OnCommand(int id, int code) {
    if (code != BN_CLICKED)
        return false;
    const LPARAM selected = tabs_.SelectedData();
    if (selected < 0)
        return false;
    const size_t record = static_cast<size_t>(selected);
    if (id == kUnencryptedButtonId || id == kSslButtonId) {
        CConnectionDetailsDlg dialog(*this, record, id == kSslButtonId);
        RunDialog(dialog);
        return true;
    }
    if (id == kServiceButtonId) {
        CServiceDetailsDlg dialog(*this, record);
        RunDialog(dialog);
        return true;
    }
    return false;
}

LRESULT ServiceConfigurationWizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kTabControlId && header->code == TCN_SELCHANGE) {
            Relayout();
            return 0;
        }
    }
    return WizardPageBase::HandleMessage(message, wParam, lParam);
}

std::optional<std::wstring> ServiceConfigurationWizardPage::AskPassword(const ServerConfiguration& record) {
    // Nobody answers a dialog in an unattended run: the service goes without a password, and the log says so.
    if (!Frame().IsInteractive()) {
        WriteLog(
            kLogLevelProgress,
            Format(L"VNT (c): No password given for the logon user of service %s.\r\n", record.serviceName));
        return std::wstring();
    }
    CPasswordDialog dialog(*this, record);
    const INT_PTR answer = dialog.RunModal(Wizard(), Frame().Languages().CurrentLanguageId());
    if (answer == -1)
        MessageBoxW(Wizard(), L"Error Creating Dialog Object", Frame().WizardTitle().c_str(),
                    MB_OK | MB_ICONERROR);
    if (answer != IDOK)
        return std::nullopt;
    return dialog.Password();
}

PageStep ServiceConfigurationWizardPage::QueryNext() {
    const PackageSelected selected = [this](size_t package) { return Selected(package); };
    const std::vector<std::wstring> unreachable = RecordsWithoutConnection(records_, selected);
    if (!unreachable.empty()) {
        const std::wstring text = Format(LoadString(StringId::NoConnectionEnabled), Join(unreachable, L", "));
        // An unattended run was told so on its command line; it is logged, not asked about.
        if (!Frame().IsInteractive()) {
            WriteLog(kLogLevelProgress, L"VNT (c): " + text + L"\r\n");
        } else {
            MessageBoxW(Wizard(), text.c_str(), Frame().WizardTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
            return PageStep::Stay;
        }
    }
    const std::optional<std::wstring> properties = BuildServiceConfiguration(
        records_, selected, [](const std::wstring& password) { return ProtectServicePassword(password); },
        [this](const ServerConfiguration& record) { return AskPassword(record); },
        Frame().CommandLineProperties());
    if (!properties)
        return PageStep::Stay;
    Frame().Choices().serviceConfiguration = *properties;
    return PageStep::Next;
}
