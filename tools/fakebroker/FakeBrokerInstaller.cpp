// Stands in for the MQTT broker's installer and the WebView2 bootstrapper in the tests: it leaves a mark
// beside itself, takes a moment as an installer would, and ends; a copy whose name holds "fail" exits 1.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring mark = self;
    mark = mark.substr(0, mark.find_last_of(L'\\') + 1) + L"broker-ran.txt";
    HANDLE file = CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    Sleep(1500);
    return std::wstring(self).find(L"fail") == std::wstring::npos ? 0 : 1;
}
