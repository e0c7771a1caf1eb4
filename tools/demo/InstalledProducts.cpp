// A console tool for the demo: what Windows Installer reports installed, and the command the
// installed-programs entry of a product runs for Uninstall. Not shipped.
//   InstalledProducts list                        one line per installed product: name, version, state
//   InstalledProducts uninstall <code>            the entry's "UninstallString" of the product code
//   InstalledProducts run-uninstall <code> [...]  runs that command as the installed-programs list would,
//                                                 with the extra arguments after it; its exit code
#include <windows.h>

#include <msi.h>

#include <cstdio>
#include <string>

namespace {

std::wstring ProductInfo(const wchar_t* code, const wchar_t* property) {
    wchar_t value[512] = {};
    DWORD size = 512;
    return MsiGetProductInfoW(code, property, value, &size) == ERROR_SUCCESS ? std::wstring(value, size)
                                                                             : L"";
}

const wchar_t* StateText(INSTALLSTATE state) {
    switch (state) {
    case INSTALLSTATE_DEFAULT:
        return L"installed";
    case INSTALLSTATE_ADVERTISED:
        return L"advertised";
    case INSTALLSTATE_ABSENT:
        return L"installed for another user";
    default:
        return L"unknown";
    }
}

int List() {
    int count = 0;
    wchar_t code[39];
    for (DWORD index = 0; MsiEnumProductsW(index, code) == ERROR_SUCCESS; ++index) {
        wprintf(
            L"%ls  %ls  %ls  %ls\n", code, ProductInfo(code, INSTALLPROPERTY_INSTALLEDPRODUCTNAME).c_str(),
            ProductInfo(code, INSTALLPROPERTY_VERSIONSTRING).c_str(), StateText(MsiQueryProductStateW(code)));
        ++count;
    }
    wprintf(L"%d product(s) installed\n", count);
    return 0;
}

std::wstring ReadUninstallString(const wchar_t* code) {
    const std::wstring path =
        std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + code;
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
            continue;
        wchar_t value[1024] = {};
        DWORD size = sizeof value - sizeof(wchar_t);
        const LSTATUS status = RegQueryValueExW(key, L"UninstallString", nullptr, nullptr,
                                                reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
        if (status == ERROR_SUCCESS)
            return value;
    }
    fwprintf(stderr, L"no installed-programs entry with an UninstallString for %ls\n", code);
    return {};
}

int RunUninstall(const wchar_t* code, int extraCount, wchar_t** extra) {
    std::wstring command = ReadUninstallString(code);
    if (command.empty())
        return 1;
    for (int i = 0; i < extraCount; ++i)
        command += std::wstring(L" ") + extra[i];
    wprintf(L"running: %ls\n", command.c_str());
    fflush(stdout);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        fwprintf(stderr, L"cannot start it: error %lu\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"list")
        return List();
    if (argc == 3 && std::wstring(argv[1]) == L"uninstall") {
        const std::wstring command = ReadUninstallString(argv[2]);
        if (command.empty())
            return 1;
        wprintf(L"%ls\n", command.c_str());
        return 0;
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"run-uninstall")
        return RunUninstall(argv[2], argc - 3, argv + 3);
    fwprintf(
        stderr,
        L"usage: InstalledProducts list | uninstall <product code> | run-uninstall <product code> ...\n");
    return 2;
}
