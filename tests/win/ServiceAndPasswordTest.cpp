// What the launcher reads of registered services, against services the test registers with the service
// control manager itself, and the protected form of a password deciphered again with the same key.
#include "server/PasswordProtection_win.h"
#include "server/ServiceInfo_win.h"
#include "support/Registry_win.h"

#include <gtest/gtest.h>

namespace {

// A registered service that is deleted again when the test ends; its program never runs.
class TestService {
public:
    TestService(const wchar_t* name, DWORD startType, const wchar_t* account, bool delayed) : name_(name) {
        manager_.Attach(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        service_.Attach(CreateServiceW(manager_.Get(), name, L"Quenlis Test Service", SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, startType, SERVICE_ERROR_NORMAL,
                                       L"C:\\windows\\system32\\notepad.exe", nullptr, nullptr, nullptr,
                                       account, account ? L"secret" : nullptr));
        if (!service_)
            return;
        wchar_t text[] = L"Serves the tests.";
        SERVICE_DESCRIPTIONW description{text};
        ChangeServiceConfig2W(service_.Get(), SERVICE_CONFIG_DESCRIPTION, &description);
        SERVICE_DELAYED_AUTO_START_INFO info{delayed};
        if (!ChangeServiceConfig2W(service_.Get(), SERVICE_CONFIG_DELAYED_AUTO_START_INFO, &info)) {
            // Wine's manager does not know the setting: write it where Windows keeps it.
            RegistryKey key = RegistryKey::Open(HKEY_LOCAL_MACHINE,
                                                std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + name,
                                                RegistryView::Default, KEY_WRITE);
            EXPECT_TRUE(key.WriteDword(L"DelayedAutostart", delayed ? 1 : 0));
        }
    }
    ~TestService() {
        if (service_)
            DeleteService(service_.Get());
    }
    bool Created() const { return service_.IsValid(); }

private:
    std::wstring name_;
    ServiceHandle manager_, service_;
};

} // namespace

TEST(ServiceInfo, ReadsStartTypeDelayAndAccountAsRegistered) {
    struct Case {
        const wchar_t* name;
        DWORD startType;
        const wchar_t* account; // null: Local System
        bool delayed;
        const wchar_t* expectedAccount;
    };
    const Case cases[] = {
        {L"QuenlisTestDelayed", SERVICE_AUTO_START, nullptr, true, L"LocalSystem"},
        {L"QuenlisTestLocalUser", SERVICE_DEMAND_START, L".\\builder", false, L"builder"},
        {L"QuenlisTestLowerCase", SERVICE_DISABLED, L"localsystem", false, L"localsystem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        TestService registered(c.name, c.startType, c.account, c.delayed);
        ASSERT_TRUE(registered.Created()) << GetLastError();
        const ServiceInfo info(c.name);
        ASSERT_TRUE(info.Exists());
        EXPECT_EQ(c.startType, info.StartType());
        EXPECT_EQ(c.delayed, info.DelayedStart());
        EXPECT_EQ(std::wstring(c.expectedAccount), info.Account());
        EXPECT_EQ(std::wstring(c.account ? c.account : L"LocalSystem"), info.RawAccount());
        EXPECT_EQ(L"Quenlis Test Service", info.DisplayName());
        EXPECT_EQ(L"Serves the tests.", info.Description());
    }
    EXPECT_FALSE(ServiceInfo(L"QuenlisNoSuchService").Exists());
}

// The packages decipher what the launcher writes: deciphering with a key derived the same way gives the
// password back. Three characters are six bytes, and eight Base64 characters with the line end.
TEST(PasswordProtection, DeciphersWithTheSameKeyAndBreaksLinesAt64) {
    EXPECT_EQ(L"ZTySdimD\r\n", ProtectServicePassword(L"abc"));

    const std::wstring password = L"P\u00e4ssw\u00f6rd with a long tail 0123456789 0123456789";
    const std::wstring text = ProtectServicePassword(password);
    ASSERT_GT(text.size(), 66u);
    EXPECT_EQ(L"\r\n", text.substr(64, 2)); // a line break after 64 characters
    EXPECT_EQ(L"\r\n", text.substr(text.size() - 2));

    DWORD size = 0;
    ASSERT_TRUE(CryptStringToBinaryW(text.c_str(), 0, CRYPT_STRING_BASE64, nullptr, &size, nullptr, nullptr));
    std::vector<BYTE> bytes(size);
    ASSERT_TRUE(
        CryptStringToBinaryW(text.c_str(), 0, CRYPT_STRING_BASE64, bytes.data(), &size, nullptr, nullptr));
    CryptProvider provider;
    ASSERT_TRUE(
        CryptAcquireContextW(provider.Receive(), nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
    CryptHash hash;
    ASSERT_TRUE(CryptCreateHash(provider.Get(), CALG_SHA1, 0, 0, hash.Receive()));
    const char phrase[] = "a3f19c07e2b85d46c1097fe3b2d8a564";
    ASSERT_TRUE(CryptHashData(hash.Get(), reinterpret_cast<const BYTE*>(phrase), 32, 0));
    CryptKey key;
    ASSERT_TRUE(CryptDeriveKey(provider.Get(), CALG_RC4, hash.Get(), CRYPT_EXPORTABLE | CRYPT_CREATE_SALT,
                               key.Receive()));
    ASSERT_TRUE(CryptDecrypt(key.Get(), 0, TRUE, 0, bytes.data(), &size));
    ASSERT_EQ(password.size() * 2, size);
    std::wstring deciphered;
    for (DWORD i = 0; i + 1 < size; i += 2)
        deciphered += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    EXPECT_EQ(password, deciphered);
}
