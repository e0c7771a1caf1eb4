#include "support/CodePage_win.h"

#include "support/ICBSString.h"

#include <windows.h>

#include <climits>

namespace {

bool ToBytes(std::wstring_view text, unsigned codePage, std::string& bytes) {
    bytes.clear();
    if (text.empty())
        return true;
    if (text.size() > INT_MAX)
        return false;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return false;
    bytes.resize(size);
    return WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), size, nullptr, nullptr) ==
           size;
}

bool FromBytes(std::string_view bytes, unsigned codePage, InvalidBytes invalid, std::wstring& text) {
    text.clear();
    if (bytes.empty())
        return true;
    if (bytes.size() > INT_MAX)
        return false;
    const int length = static_cast<int>(bytes.size());
    const DWORD flags = invalid == InvalidBytes::Refuse ? MB_ERR_INVALID_CHARS : 0;
    const int size = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return false;
    text.resize(size);
    return MultiByteToWideChar(codePage, flags, bytes.data(), length, text.data(), size) == size;
}

const CodePageConverter kSystemConverter{ToBytes, FromBytes};

} // namespace

void UseSystemCodePages() {
    SetCodePageConverter(&kSystemConverter);
}
