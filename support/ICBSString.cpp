#include "support/ICBSString.h"

#include "support/StringUtil.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cwchar>
#include <type_traits>

namespace {

std::atomic<const CodePageConverter*> g_converter{nullptr};

// Wide text is UTF-16 where wchar_t has 16 bits (Windows) and UTF-32 elsewhere.
constexpr bool kWideIsUtf16 = WCHAR_MAX <= 0xFFFF;
constexpr char32_t kReplacement = 0xFFFD;

char32_t CodeUnit(wchar_t c) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
}

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

wchar_t UpperCase(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<wchar_t>(c - 32);
    if (c == 0xFF) // y with diaeresis: its capital lies outside Latin-1
        return static_cast<wchar_t>(0x178);
    return c;
}

wchar_t Fold(wchar_t c, bool ignoreCase) {
    return ignoreCase ? FoldCase(c) : c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t c) {
    if (kWideIsUtf16 && c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

// The length of a UTF-8 sequence that starts with lead, and the range its second byte must fall in so
// that overlong forms, surrogates and values above U+10FFFF are refused; 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead, unsigned char& low, unsigned char& high) {
    low = 0x80;
    high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
        return 4;
    }
    return 0;
}

// False (with the text so far) at the first broken sequence when invalid bytes are refused.
bool DecodeUtf8(std::string_view bytes, InvalidBytes invalid, std::wstring& out) {
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        unsigned char low = 0, high = 0;
        const int length = SequenceLength(lead, low, high);
        char32_t c = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        // Take continuation bytes while they are valid; a broken sequence becomes one replacement
        // character and decoding resumes at the first byte that did not fit.
        int taken = 1;
        while (length > 0 && taken < length && i + taken < bytes.size()) {
            const auto next = static_cast<unsigned char>(bytes[i + taken]);
            if (next < (taken == 1 ? low : 0x80) || next > (taken == 1 ? high : 0xBF))
                break;
            c = (c << 6) | (next & 0x3F);
            ++taken;
        }
        const bool whole = length > 0 && taken == length;
        if (!whole && invalid == InvalidBytes::Refuse)
            return false;
        AppendWide(out, whole ? c : kReplacement);
        i += taken;
    }
    return true;
}

} // namespace

void SetCodePageConverter(const CodePageConverter* converter) {
    g_converter.store(converter);
}

int ICBSString::Compare(std::wstring_view other, bool ignoreCase) const {
    const size_t common = std::min(size(), other.size());
    for (size_t i = 0; i < common; ++i) {
        const wchar_t a = Fold((*this)[i], ignoreCase);
        const wchar_t b = Fold(other[i], ignoreCase);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (size() == other.size())
        return 0;
    return size() < other.size() ? -1 : 1;
}

bool ICBSString::Equals(std::wstring_view other, bool ignoreCase) const {
    return ignoreCase ? EqualsNoCase(*this, other) : std::wstring_view(*this) == other;
}

bool ICBSString::StartsWith(std::wstring_view prefix, bool ignoreCase) const {
    return size() >= prefix.size() && ICBSString(substr(0, prefix.size())).Equals(prefix, ignoreCase);
}

bool ICBSString::EndsWith(std::wstring_view suffix, bool ignoreCase) const {
    return size() >= suffix.size() && ICBSString(substr(size() - suffix.size())).Equals(suffix, ignoreCase);
}

size_t ICBSString::Find(std::wstring_view what, size_t from, bool ignoreCase) const {
    if (!ignoreCase)
        return find(what, from);
    return ::ToLower(*this).find(::ToLower(what), from);
}

namespace {

// The text before and after a separator of `separatorSize` at `at`; without one (npos) the whole text is
// the left part.
bool SplitAround(const ICBSString& text, size_t at, size_t separatorSize, ICBSString& left,
                 ICBSString& right) {
    const ICBSString whole(text); // left or right may be this very string
    if (at == ICBSString::npos) {
        left = whole;
        right.clear();
        return false;
    }
    left = whole.substr(0, at);
    right = whole.substr(at + separatorSize);
    return true;
}

} // namespace

bool ICBSString::SplitAtFirst(std::wstring_view separator, ICBSString& left, ICBSString& right) const {
    return SplitAround(*this, separator.empty() ? npos : find(separator), separator.size(), left, right);
}

bool ICBSString::SplitAtLast(std::wstring_view separator, ICBSString& left, ICBSString& right) const {
    return SplitAround(*this, separator.empty() ? npos : rfind(separator), separator.size(), left, right);
}

ICBSString& ICBSString::Trim(std::wstring_view characters) {
    assign(::Trim(*this, characters));
    return *this;
}

ICBSString ICBSString::Trimmed(std::wstring_view characters) const {
    return ICBSString(::Trim(*this, characters));
}

ICBSString& ICBSString::MakeLower() {
    assign(::ToLower(*this));
    return *this;
}

ICBSString& ICBSString::MakeUpper() {
    for (auto& c : *this)
        c = UpperCase(c);
    return *this;
}

ICBSString ICBSString::Lower() const {
    return ICBSString(*this).MakeLower();
}
ICBSString ICBSString::Upper() const {
    return ICBSString(*this).MakeUpper();
}

std::optional<long long> ICBSString::ParseDecimal() const {
    long long value = 0;
    if (::Trim(*this, L" \t").empty() || !ParseWholeDecimal(*this, value))
        return std::nullopt;
    return value;
}

long long ICBSString::DecimalValue() const {
    return std::wcstoll(c_str(), nullptr, 10);
}

std::string ICBSString::ToUtf8() const {
    std::string out;
    out.reserve(size());
    for (size_t i = 0; i < size(); ++i) {
        char32_t c = CodeUnit((*this)[i]);
        if (IsHighSurrogate(c) && i + 1 < size() && IsLowSurrogate(CodeUnit((*this)[i + 1]))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (CodeUnit((*this)[i + 1]) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

ICBSString ICBSString::FromUtf8(std::string_view bytes) {
    ICBSString out;
    DecodeUtf8(bytes, InvalidBytes::Replace, out);
    return out;
}

std::optional<std::string> ICBSString::ToCodePage(unsigned codePage) const {
    if (codePage == kCodePageUtf8)
        return ToUtf8();
    const CodePageConverter* converter = g_converter.load();
    std::string bytes;
    if (!converter || !converter->toBytes(*this, codePage, bytes))
        return std::nullopt;
    return bytes;
}

std::optional<ICBSString> ICBSString::FromCodePage(std::string_view bytes, unsigned codePage,
                                                   InvalidBytes invalid) {
    std::wstring text;
    if (codePage == kCodePageUtf8) {
        if (!DecodeUtf8(bytes, invalid, text))
            return std::nullopt;
        return ICBSString(std::move(text));
    }
    const CodePageConverter* converter = g_converter.load();
    if (!converter || !converter->fromBytes(bytes, codePage, invalid, text))
        return std::nullopt;
    return ICBSString(std::move(text));
}
