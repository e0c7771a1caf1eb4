#include "server/PasswordProtection_win.h"

#include "support/Handle_win.h"

#include <vector>

namespace {

// The packages derive the same key from these 32 bytes; changing them breaks every installed decoder.
constexpr char kPassPhrase[] = "a3f19c07e2b85d46c1097fe3b2d8a564";

class PasswordKey {
public:
    PasswordKey() {
        // A user who never had a key container has no default one: the key is then made without one
        // (it is derived, never stored), rather than the password travelling in plain text.
        if (!CryptAcquireContextW(provider_.Receive(), nullptr, MS_DEF_PROV_W, PROV_RSA_FULL, 0) &&
            !CryptAcquireContextW(provider_.Receive(), nullptr, MS_DEF_PROV_W, PROV_RSA_FULL,
                                  CRYPT_VERIFYCONTEXT))
            return;
        CryptHash hash;
        if (!CryptCreateHash(provider_.Get(), CALG_SHA1, 0, 0, hash.Receive()))
            return;
        if (!CryptHashData(hash.Get(), reinterpret_cast<const BYTE*>(kPassPhrase), sizeof(kPassPhrase) - 1,
                           0))
            return;
        CryptDeriveKey(provider_.Get(), CALG_RC4, hash.Get(), CRYPT_EXPORTABLE | CRYPT_CREATE_SALT,
                       key_.Receive());
    }
    HCRYPTKEY Get() const { return key_.Get(); }

private:
    CryptProvider provider_; // declared first: the key goes before its provider
    CryptKey key_;
};

const PasswordKey& Key() {
    static const PasswordKey key;
    return key;
}

} // namespace

std::wstring ProtectServicePassword(const std::wstring& password) {
    const HCRYPTKEY key = Key().Get();
    if (!key)
        return password;
    std::vector<BYTE> bytes;
    for (const wchar_t c : password) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>((c >> 8) & 0xFF));
    }
    DWORD length = static_cast<DWORD>(bytes.size());
    // RC4 keeps the length; the buffer holds at least one byte so that an empty password has an address.
    bytes.resize(bytes.size() + 1);
    if (!CryptEncrypt(key, 0, TRUE, 0, bytes.data(), &length, static_cast<DWORD>(bytes.size())))
        return {};
    DWORD characters = 0;
    if (!CryptBinaryToStringW(bytes.data(), length, CRYPT_STRING_BASE64, nullptr, &characters))
        return {};
    std::wstring text(characters, L'\0');
    if (!CryptBinaryToStringW(bytes.data(), length, CRYPT_STRING_BASE64, text.data(), &characters))
        return {};
    text.resize(characters);
    return text;
}
