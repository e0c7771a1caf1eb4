// The three dialogs of the service configuration page: they show a record, and their OK hands what the
// user entered to the page's rules.
#include "StringIds.h"
#include "server/ServiceConfigurationRules.h"
#include "server/ServiceConfigurationWizardPage_win.h"

#include <commctrl.h>
#include <commdlg.h>

namespace {

constexpr unsigned kConnectionTemplateId = 1192, kServiceTemplateId = 1210, kPasswordTemplateId = 158;

// The connection dialog.
constexpr int kHeadingId = 1193, kExplanationId = 1203, kEnabledId = 1194;
constexpr int kPortLabelId = 1195, kPortId = 1196;
constexpr int kCertificateLabelId = 1197, kCertificateId = 1198, kCertificateBrowseId = 1199;
constexpr int kPrivateKeyLabelId = 1200, kPrivateKeyId = 1201, kPrivateKeyBrowseId = 1202;
constexpr int kChainLabelId = 1206, kChainId = 1207, kChainBrowseId = 1208;
// The service dialog.
constexpr int kServiceExplanationId = 1230, kServiceNameLabelId = 1211, kServiceNameId = 1212;
constexpr int kDisplayNameLabelId = 1213, kDisplayNameId = 1214, kStartTypeLabelId = 1215,
              kStartTypeId = 1216;
constexpr int kLogonGroupId = 1221, kLocalSystemId = 1222, kLocalServiceId = 1223, kNetworkServiceId = 1224,
              kOtherUserId = 1225;
constexpr int kUserNameLabelId = 1226, kUserNameId = 1227, kPasswordLabelId = 1228, kPasswordId = 1229;
// The password dialog.
constexpr int kPromptId = 1247, kPromptServiceId = 1248, kPromptUserId = 1249, kPromptPasswordId = 1250;
constexpr int kPromptServiceLabelId = 1252, kPromptUserLabelId = 1253, kPromptPasswordLabelId = 1254;

constexpr size_t kBrowseBufferLength = 512;

std::wstring ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    const int length = item ? GetWindowTextLengthW(item) : 0;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    if (item)
        GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

void SetItem(HWND dialog, int id, const std::wstring& text) {
    SetDlgItemTextW(dialog, id, text.c_str());
}

void ShowItems(HWND dialog, std::initializer_list<int> ids, bool show) {
    for (int id : ids)
        ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

// Labels and buttons whose captions come from the string tables.
void SetItems(HWND dialog, std::initializer_list<std::pair<int, unsigned>> items,
              const std::function<std::wstring(unsigned)>& load) {
    for (const auto& [id, stringId] : items)
        SetItem(dialog, id, load(stringId));
}

} // namespace

// --- CConnectionDetailsDlg

ServiceConfigurationWizardPage::CConnectionDetailsDlg::CConnectionDetailsDlg(
    ServiceConfigurationWizardPage& page, size_t record, bool ssl)
    : CDialogBase(kConnectionTemplateId, false, page.Frame().Resources()), page_(page), record_(record),
      ssl_(ssl) {}

BOOL ServiceConfigurationWizardPage::CConnectionDetailsDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    HWND dialog = Handle();
    const auto load = [this](unsigned id) { return page_.LoadString(id); };
    const ServerConfiguration& record = page_.records_[record_];
    const ServerConfiguration& owner = page_.records_[record.serviceOwner];
    SetWindowTextW(dialog, load(ssl_ ? StringId::SslConnection : StringId::UnencryptedConnection).c_str());
    SetItem(dialog, kHeadingId, record.name);
    SetItems(dialog,
             {{kEnabledId, StringId::StatusEnabled},
              {kPortLabelId, StringId::PortNumberLabel},
              {kCertificateLabelId, StringId::CertificateLabel},
              {kPrivateKeyLabelId, StringId::PrivateKeyLabel},
              {kChainLabelId, StringId::CertificateChainLabel},
              {kCertificateBrowseId, StringId::BrowseCertificate},
              {kPrivateKeyBrowseId, StringId::BrowsePrivateKey},
              {kChainBrowseId, StringId::BrowseCertificateChain},
              {IDOK, StringId::ConnectionDialogOk},
              {IDCANCEL, StringId::ConnectionDialogCancel}},
             load);
    if (ssl_) {
        SetItem(dialog, kExplanationId, load(StringId::SslConnectionHint));
        CheckDlgButton(dialog, kEnabledId, record.sslEnabled ? BST_CHECKED : BST_UNCHECKED);
        SetItem(dialog, kPortId, std::to_wstring(record.sslPort));
        SetItem(dialog, kCertificateId, owner.certificate);
        SetItem(dialog, kPrivateKeyId, owner.privateKey);
        SetItem(dialog, kChainId, owner.certificateChain);
    } else {
        SetItem(dialog, kExplanationId, load(StringId::UnencryptedConnectionHint));
        CheckDlgButton(dialog, kEnabledId, record.webEnabled ? BST_CHECKED : BST_UNCHECKED);
        // Without an SSL server the unencrypted one is the only way in: it stays on.
        EnableWindow(GetDlgItem(dialog, kEnabledId), record.sslAvailable);
        ShowItems(dialog, {kEnabledId}, !record.webSwitchHidden);
        SetItem(dialog, kPortId, std::to_wstring(record.webPort));
        ShowItems(dialog,
                  {kCertificateLabelId, kCertificateId, kCertificateBrowseId, kPrivateKeyLabelId,
                   kPrivateKeyId, kPrivateKeyBrowseId, kChainLabelId, kChainId, kChainBrowseId},
                  false);
    }
    return TRUE;
}

void ServiceConfigurationWizardPage::CConnectionDetailsDlg::Browse(int editId) {
    std::wstring buffer = ItemText(Handle(), editId);
    buffer.resize(kBrowseBufferLength, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Handle();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (GetOpenFileNameW(&dialog))
        SetItem(Handle(), editId, buffer.c_str());
}

bool ServiceConfigurationWizardPage::CConnectionDetailsDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM,
                                                                          INT_PTR& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    HWND dialog = Handle();
    switch (LOWORD(wParam)) {
    case kCertificateBrowseId:
        Browse(kCertificateId);
        break;
    case kPrivateKeyBrowseId:
        Browse(kPrivateKeyId);
        break;
    case kChainBrowseId:
        Browse(kChainId);
        break;
    case IDOK: {
        ConnectionEdit edit;
        edit.ssl = ssl_;
        edit.enabled = IsDlgButtonChecked(dialog, kEnabledId) == BST_CHECKED;
        edit.portText = ItemText(dialog, kPortId);
        if (ssl_) {
            edit.certificate = ItemText(dialog, kCertificateId);
            edit.privateKey = ItemText(dialog, kPrivateKeyId);
            edit.certificateChain = ItemText(dialog, kChainId);
        }
        ApplyConnectionEdit(page_.records_, record_, edit);
        EndDialog(IDOK);
        break;
    }
    case IDCANCEL:
        EndDialog(IDCANCEL);
        break;
    default:
        return false;
    }
    result = TRUE;
    return true;
}

// --- CServiceDetailsDlg

ServiceConfigurationWizardPage::CServiceDetailsDlg::CServiceDetailsDlg(ServiceConfigurationWizardPage& page,
                                                                       size_t record)
    : CDialogBase(kServiceTemplateId, false, page.Frame().Resources()), page_(page), record_(record) {}

void ServiceConfigurationWizardPage::CServiceDetailsDlg::AddToolTip(HWND tip, int controlId,
                                                                    unsigned stringId) {
    const std::wstring text = page_.LoadString(stringId);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(Handle(), controlId));
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

BOOL ServiceConfigurationWizardPage::CServiceDetailsDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    HWND dialog = Handle();
    const auto load = [this](unsigned id) { return page_.LoadString(id); };
    const ServerConfiguration& record = page_.records_[record_];
    SetWindowTextW(dialog, load(StringId::ServiceConfiguration).c_str());
    SetItems(dialog,
             {{kServiceExplanationId, StringId::ServiceConfigurationHint},
              {kServiceNameLabelId, StringId::ServiceNameLabel},
              {kDisplayNameLabelId, StringId::DisplayNameLabel},
              {kStartTypeLabelId, StringId::StartTypeLabel},
              {kLogonGroupId, StringId::LogonUserLabel},
              {kLocalSystemId, StringId::ServiceDialogLocalSystem},
              {kLocalServiceId, StringId::ServiceDialogLocalService},
              {kNetworkServiceId, StringId::ServiceDialogNetworkService},
              {kOtherUserId, StringId::OtherUser},
              {kUserNameLabelId, StringId::UserNameLabel},
              {kPasswordLabelId, StringId::PasswordLabel},
              {IDOK, StringId::ServiceDialogOk},
              {IDCANCEL, StringId::ServiceDialogCancel}},
             load);
    SetItem(dialog, kServiceNameId, record.serviceName);
    SetItem(dialog, kDisplayNameId, record.serviceDisplayName);
    HWND list = GetDlgItem(dialog, kStartTypeId);
    for (const int startType : kStartTypeChoices) {
        const LRESULT item = SendMessageW(list, CB_ADDSTRING, 0,
                                          reinterpret_cast<LPARAM>(load(StartTypeNameId(startType)).c_str()));
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), startType);
        if (startType == record.startType)
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
    CheckRadioButton(dialog, kLocalSystemId, kOtherUserId, kLocalSystemId + record.accountKind);
    SetItem(dialog, kUserNameId, record.userName);
    SetItem(dialog, kPasswordId, record.password);
    EnableUserControls();

    toolTip_.Attach(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                    GetModuleHandleW(nullptr), nullptr));
    if (toolTip_) {
        AddToolTip(toolTip_.Get(), kUserNameId, StringId::UserNameFormat);
        AddToolTip(toolTip_.Get(), kStartTypeId, StringId::StartTypeDescription);
    }
    return TRUE;
}

void ServiceConfigurationWizardPage::CServiceDetailsDlg::EnableUserControls() {
    const bool otherUser = IsDlgButtonChecked(Handle(), kOtherUserId) == BST_CHECKED;
    for (const int id : {kUserNameLabelId, kUserNameId, kPasswordLabelId, kPasswordId})
        EnableWindow(GetDlgItem(Handle(), id), otherUser);
}

bool ServiceConfigurationWizardPage::CServiceDetailsDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM,
                                                                       INT_PTR& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    HWND dialog = Handle();
    const int id = LOWORD(wParam);
    if (id >= kLocalSystemId && id <= kOtherUserId) {
        EnableUserControls();
    } else if (id == IDOK) {
        ServiceEdit edit;
        HWND list = GetDlgItem(dialog, kStartTypeId);
        const LRESULT item = SendMessageW(list, CB_GETCURSEL, 0, 0);
        edit.startType =
            item >= 0 ? static_cast<int>(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(item), 0))
                      : page_.records_[record_].startType;
        edit.accountKind = AccountKind::LocalSystem;
        for (int kind = AccountKind::LocalSystem; kind <= AccountKind::OtherUser; ++kind)
            if (IsDlgButtonChecked(dialog, kLocalSystemId + kind) == BST_CHECKED)
                edit.accountKind = kind;
        edit.userName = ItemText(dialog, kUserNameId);
        edit.password = ItemText(dialog, kPasswordId);
        ApplyServiceEdit(page_.records_[record_], edit);
        EndDialog(IDOK);
    } else if (id == IDCANCEL) {
        EndDialog(IDCANCEL);
    } else {
        return false;
    }
    result = TRUE;
    return true;
}

// --- CPasswordDialog

ServiceConfigurationWizardPage::CPasswordDialog::CPasswordDialog(ServiceConfigurationWizardPage& page,
                                                                 const ServerConfiguration& record)
    : CDialogBase(kPasswordTemplateId, false, page.Frame().Resources()), page_(page), record_(record) {}

BOOL ServiceConfigurationWizardPage::CPasswordDialog::OnInitDialog() {
    CDialogBase::OnInitDialog();
    HWND dialog = Handle();
    const auto load = [this](unsigned id) { return page_.LoadString(id); };
    SetWindowTextW(dialog, load(StringId::ServiceRegistration).c_str());
    SetItems(dialog,
             {{kPromptId, StringId::RegistrationPrompt},
              {kPromptServiceLabelId, StringId::RegistrationServiceNameLabel},
              {kPromptUserLabelId, StringId::RegistrationLogonAccountLabel},
              {kPromptPasswordLabelId, StringId::RegistrationPasswordLabel},
              {IDOK, StringId::ServiceDialogOk},
              {IDCANCEL, StringId::ServiceDialogCancel}},
             load);
    SetItem(dialog, kPromptServiceId, record_.serviceDisplayName);
    SetItem(dialog, kPromptUserId, record_.userName);
    SetFocus(GetDlgItem(dialog, kPromptPasswordId));
    return FALSE;
}

bool ServiceConfigurationWizardPage::CPasswordDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM,
                                                                    INT_PTR& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    if (LOWORD(wParam) == IDOK) {
        password_ = ItemText(Handle(), kPromptPasswordId);
        EndDialog(IDOK);
    } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(IDCANCEL);
    } else {
        return false;
    }
    result = TRUE;
    return true;
}
