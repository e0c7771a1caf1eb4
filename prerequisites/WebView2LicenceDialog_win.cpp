#include "prerequisites/WebView2LicenceDialog_win.h"

#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

namespace {

constexpr unsigned kTemplateId = 161;
constexpr int kTextId = 1380;
constexpr int kPrivacyButtonId = 3;
constexpr wchar_t kLicenceResourceName[] = L"#163";
constexpr wchar_t kLicenceResourceType[] = L"RTF";
constexpr wchar_t kPrivacyStatementUrl[] = L"https://go.microsoft.com/fwlink/?LinkId=521839";

// Hands the resource's bytes to the rich-text box, which reads them as RTF.
struct ResourceReader {
    const char* bytes;
    size_t size;
    size_t read = 0;
    static DWORD CALLBACK Read(DWORD_PTR cookie, BYTE* buffer, LONG wanted, LONG* given) {
        auto& reader = *reinterpret_cast<ResourceReader*>(cookie);
        const size_t count = std::min<size_t>(static_cast<size_t>(wanted), reader.size - reader.read);
        std::copy_n(reader.bytes + reader.read, count, buffer);
        reader.read += count;
        *given = static_cast<LONG>(count);
        return 0;
    }
};

void OpenInBrowser(HWND owner, const std::wstring& url) {
    ShellExecuteW(owner, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

CWebView2EULADlg::CWebView2EULADlg(HMODULE resources) : CDialogBase(kTemplateId, false, resources) {
    // The template's rich-text class exists once the library is loaded.
    richEdit_.Attach(LoadLibraryExW(L"riched20.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

bool CWebView2EULADlg::Accepted(HWND parent, uint16_t languageId) {
    return RunModal(parent, languageId) == IDOK;
}

BOOL CWebView2EULADlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    HWND text = GetDlgItem(Handle(), kTextId);
    SendMessageW(text, EM_AUTOURLDETECT, TRUE, 0);
    SendMessageW(text, EM_SETEVENTMASK, 0, ENM_LINK);
    HRSRC found = FindResourceW(Resources(), kLicenceResourceName, kLicenceResourceType);
    HGLOBAL loaded = found ? LoadResource(Resources(), found) : nullptr;
    if (const void* bytes = loaded ? LockResource(loaded) : nullptr) {
        ResourceReader reader{static_cast<const char*>(bytes), SizeofResource(Resources(), found)};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&reader), 0, &ResourceReader::Read};
        SendMessageW(text, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    }
    // On the button rather than in the text, which would select all of itself with the focus.
    SetFocus(GetDlgItem(Handle(), IDOK));
    return FALSE;
}

bool CWebView2EULADlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_NOTIFY) {
        const auto* link = reinterpret_cast<const ENLINK*>(lParam);
        if (link->nmhdr.idFrom != kTextId || link->nmhdr.code != EN_LINK || link->msg != WM_LBUTTONUP)
            return false;
        std::wstring url(static_cast<size_t>(link->chrg.cpMax - link->chrg.cpMin), L'\0');
        TEXTRANGEW range{link->chrg, url.data()};
        url.resize(1 + url.size());
        range.lpstrText = url.data();
        SendMessageW(link->nmhdr.hwndFrom, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        url.resize(wcslen(url.c_str()));
        OpenInBrowser(Handle(), url);
        result = TRUE;
        return true;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    switch (LOWORD(wParam)) {
    case kPrivacyButtonId:
        OpenInBrowser(Handle(), kPrivacyStatementUrl);
        break;
    case IDOK:
    case IDCANCEL:
        EndDialog(LOWORD(wParam));
        break;
    default:
        return false;
    }
    result = TRUE;
    return true;
}
