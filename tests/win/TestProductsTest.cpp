// What the install engine's tests ask of the test products, checked against Windows Installer itself:
// a removal that fails on request, a question to the user whose answer reaches the package, and a
// restart request. Each property names the product it aims at, so another product's name must change
// nothing.
#include "support/Registry_win.h"
#include "support/WindowsInstaller_win.h"
#include "tests/products/InstalledTestProduct.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace TestProducts;

UINT Operate(const Product& product, const std::wstring& properties) {
    WindowsInstaller::SetInternalUI(INSTALLUILEVEL_NONE);
    return WindowsInstaller::InstallProduct(DatabaseOf(product), properties);
}

std::optional<std::wstring> RegisteredValue(const Product& product, const wchar_t* name) {
    const RegistryKey key =
        RegistryKey::Open(HKEY_LOCAL_MACHINE, product.registrationKey, RegistryView::Bits64);
    return key.IsOpen() ? key.ReadString(name) : std::nullopt;
}

bool RegistrationKeyExists(const Product& product) {
    return RegistryKey::Open(HKEY_LOCAL_MACHINE, product.registrationKey, RegistryView::Bits64).IsOpen();
}

// Answers the packages' user messages as a launcher's message box would, and keeps what it was asked.
class UserAnswering {
public:
    explicit UserAnswering(int answer) : answer_(answer) {
        WindowsInstaller::SetExternalUI(&UserAnswering::Handle, INSTALLLOGMODE_USER, this);
    }
    ~UserAnswering() { WindowsInstaller::SetExternalUI(nullptr, 0, nullptr); }
    UserAnswering(const UserAnswering&) = delete;
    UserAnswering& operator=(const UserAnswering&) = delete;

    int questions = 0;
    UINT messageType = 0;
    std::wstring text;

private:
    static INT CALLBACK Handle(LPVOID context, UINT messageType, LPCWSTR message) {
        auto* self = static_cast<UserAnswering*>(context);
        if ((messageType & 0xFF000000) != INSTALLMESSAGE_USER)
            return 0;
        ++self->questions;
        self->messageType = messageType;
        self->text = message ? message : L"";
        return self->answer_;
    }
    int answer_;
};

TEST(TestProducts, FailTheirRemovalOnlyWhenItIsAskedForByName) {
    const std::wstring failRemoval = L"FAIL_REMOVAL=HalvoraServer";
    InstalledProduct installed(kHalvora101, {}, failRemoval);
    ASSERT_EQ(0u, installed.Result());
    EXPECT_EQ(0u, Operate(kHalvora101, L"REINSTALL=ALL REINSTALLMODE=omus " + failRemoval)); // repair
    EXPECT_EQ(0u, Operate(kHalvora101, L"ADDLOCAL=ALL " + failRemoval));                     // modify

    EXPECT_EQ(ERROR_INSTALL_FAILURE, Operate(kHalvora101, L"REMOVE=ALL " + failRemoval));
    EXPECT_TRUE(IsInstalled(kHalvora101));
    EXPECT_EQ(kHalvora101.versionString, RegisteredValue(kHalvora101, L"Version"));

    // Another product's name lets the removal go through.
    EXPECT_EQ(0u, Operate(kHalvora101, L"REMOVE=ALL FAIL_REMOVAL=Kestrum"));
    EXPECT_FALSE(IsInstalled(kHalvora101));
    EXPECT_FALSE(RegistrationKeyExists(kHalvora101));
}

TEST(TestProducts, AskTheUserWhenAskedToAndRegisterTheAnswer) {
    struct Case {
        int answer;
        UINT result;
        const wchar_t* registered; // UserAnswer, or nullptr for not installed
    };
    for (const Case c :
         {Case{IDYES, 0, L"6"}, Case{IDNO, 0, L"7"}, Case{IDCANCEL, ERROR_INSTALL_USEREXIT, nullptr}}) {
        SCOPED_TRACE(c.answer);
        UserAnswering user(c.answer);
        InstalledProduct installed(kKestrum317, {}, L"ASK_USER=Kestrum");
        EXPECT_EQ(c.result, installed.Result());
        EXPECT_EQ(1, user.questions);
        EXPECT_EQ(static_cast<UINT>(INSTALLMESSAGE_USER | MB_YESNO | MB_ICONQUESTION), user.messageType);
        EXPECT_NE(std::wstring::npos, user.text.find(kKestrum317.productName)) << user.text;
        EXPECT_EQ(c.registered != nullptr, IsInstalled(kKestrum317));
        if (c.registered)
            EXPECT_EQ(c.registered, RegisteredValue(kKestrum317, L"UserAnswer"));
    }
    EXPECT_FALSE(IsInstalled(kKestrum317));
    EXPECT_FALSE(RegistrationKeyExists(kKestrum317)); // the answer goes with the product

    // Not asked: no question, nothing registered beside the usual values.
    UserAnswering user(IDYES);
    {
        InstalledProduct installed(kKestrum317, {}, L"ASK_USER=HalvoraServer");
        ASSERT_EQ(0u, installed.Result());
        EXPECT_EQ(0, user.questions);
        EXPECT_TRUE(RegisteredValue(kKestrum317, L"Version").has_value());
        EXPECT_FALSE(RegisteredValue(kKestrum317, L"UserAnswer").has_value());
        // A repair asks nothing even when the product is named.
        EXPECT_EQ(0u, Operate(kKestrum317, L"REINSTALL=ALL REINSTALLMODE=omus ASK_USER=Kestrum"));
        EXPECT_EQ(0, user.questions);
    }
    EXPECT_FALSE(RegistrationKeyExists(kKestrum317));
}

TEST(TestProducts, AskForARestartWhenAskedToByName) {
    {
        InstalledProduct installed(kZorvex2024, {}, L"ASK_RESTART=ZorvexXMLServer");
        EXPECT_EQ(ERROR_SUCCESS_REBOOT_REQUIRED, installed.Result());
        EXPECT_TRUE(IsInstalled(kZorvex2024));
        EXPECT_EQ(0u, Operate(kZorvex2024, L"REINSTALL=ALL REINSTALLMODE=omus ASK_RESTART=Kestrum"));
        // A launcher that keeps the restart for itself still hears of it.
        EXPECT_EQ(ERROR_SUCCESS_REBOOT_REQUIRED,
                  Operate(kZorvex2024, L"REMOVE=ALL ASK_RESTART=ZorvexXMLServer REBOOT=ReallySuppress"));
        EXPECT_FALSE(IsInstalled(kZorvex2024));
    }
    EXPECT_FALSE(RegistrationKeyExists(kZorvex2024));
}

} // namespace
