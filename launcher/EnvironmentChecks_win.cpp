#include "launcher/EnvironmentChecks_win.h"

#include "launcher/OperatingSystem.h"
#include "support/Registry_win.h"

#include <d2d1.h>

#include <algorithm>

namespace {

template <class Function> Function Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// Releases a COM interface pointer when it goes out of scope.
template <class T> class ComPtr {
public:
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    T** Receive() { return &p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

bool IsTerminalServer() {
    const RegistryKey key = RegistryKey::Open(
        HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\ProductOptions", RegistryView::Default);
    const auto suites = key.IsOpen() ? key.ReadMultiString(L"ProductSuite") : std::nullopt;
    return suites && std::find(suites->begin(), suites->end(), L"Terminal Server") != suites->end();
}

} // namespace

bool HasDirect2D() {
    ModuleHandle library(LoadLibraryW(L"D2D1.dll"));
    using CreateFactory = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    const auto create = Lookup<CreateFactory>(library.Get(), "D2D1CreateFactory");
    if (!create)
        return false;
    static const IID kFactory10 = {
        0x06152247, 0x6F50, 0x465A, {0x92, 0x45, 0x11, 0x8B, 0xFD, 0x3B, 0x60, 0x07}};
    static const IID kFactory11 = {
        0xBB12D362, 0xDAEE, 0x4B9A, {0xAA, 0x1D, 0x14, 0xBA, 0x40, 0x1C, 0xFA, 0x1F}};
    D2D1_FACTORY_OPTIONS options = {D2D1_DEBUG_LEVEL_NONE};
    bool found = false;
    {
        ComPtr<IUnknown> factory;
        if (SUCCEEDED(create(D2D1_FACTORY_TYPE_SINGLE_THREADED, kFactory10, &options,
                             reinterpret_cast<void**>(factory.Receive()))) &&
            factory) {
            ComPtr<IUnknown> factory11;
            found = SUCCEEDED(
                        factory->QueryInterface(kFactory11, reinterpret_cast<void**>(factory11.Receive()))) &&
                    factory11;
        }
    } // the factories are released before the library
    return found;
}

bool IsAdministrator() {
    // Looked up at run time: a system without them cannot tell, and then the user is not trusted.
    ModuleHandle advapi(LoadLibraryW(L"advapi32.dll"));
    using Allocate = BOOL(WINAPI*)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                                   DWORD, DWORD, PSID*);
    using Free = PVOID(WINAPI*)(PSID);
    using CheckMembership = BOOL(WINAPI*)(HANDLE, PSID, PBOOL);
    const auto allocate = Lookup<Allocate>(advapi.Get(), "AllocateAndInitializeSid");
    const auto free = Lookup<Free>(advapi.Get(), "FreeSid");
    const auto check = Lookup<CheckMembership>(advapi.Get(), "CheckTokenMembership");
    if (!allocate || !free || !check || !Lookup<FARPROC>(advapi.Get(), "OpenProcessToken") ||
        !Lookup<FARPROC>(advapi.Get(), "GetTokenInformation") || !Lookup<FARPROC>(advapi.Get(), "EqualSid"))
        return false;

    // Both identifiers are freed through the looked-up FreeSid, whatever the outcome.
    class Sid {
    public:
        explicit Sid(Free free) : free_(free) {}
        ~Sid() {
            if (sid_)
                free_(sid_);
        }
        Sid(const Sid&) = delete;
        Sid& operator=(const Sid&) = delete;
        PSID* Receive() { return &sid_; }
        PSID Get() const { return sid_; }

    private:
        Free free_;
        PSID sid_ = nullptr;
    };
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    Sid administrators(free);
    Sid powerUsers(free);
    allocate(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
             administrators.Receive());
    allocate(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_POWER_USERS, 0, 0, 0, 0, 0, 0,
             powerUsers.Receive());
    const auto isMember = [check](const Sid& group) {
        BOOL member = FALSE;
        return group.Get() && check(nullptr, group.Get(), &member) && member;
    };
    return isMember(administrators) || isMember(powerUsers);
}

uint16_t NativeProcessorArchitecture() {
    SYSTEM_INFO info = {};
    using NativeInfo = void(WINAPI*)(LPSYSTEM_INFO);
    const auto native = Lookup<NativeInfo>(GetModuleHandleW(L"kernel32.dll"), "GetNativeSystemInfo");
    if (native)
        native(&info);
    else
        GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

bool Is64BitSystem() {
    return Is64BitArchitecture(NativeProcessorArchitecture());
}

bool IsSetupRunning(KernelHandle& holder, unsigned systemMajorVersion) {
    const bool machineWide = systemMajorVersion >= 5 || IsTerminalServer();
    HANDLE mutex = CreateMutexW(nullptr, FALSE, machineWide ? kSetupMutexName : kSetupMutexLocalName);
    const DWORD error = GetLastError();
    if (!mutex)
        return true;
    holder.Attach(mutex);
    return error == ERROR_ALREADY_EXISTS;
}
