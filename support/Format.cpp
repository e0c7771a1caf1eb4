#include "support/Format.h"

#include <algorithm>
#include <cstdio>

int64_t FormatArg::asSigned() const {
    switch (kind_) {
    case Kind::Signed: return signed_;
    case Kind::Unsigned: return static_cast<int64_t>(unsigned_);
    case Kind::Real: return static_cast<int64_t>(real_);
    default: return 0;
    }
}

uint64_t FormatArg::asUnsigned() const {
    switch (kind_) {
    case Kind::Signed:
        // printf's %u and %x of a negative int show its 32-bit pattern.
        return signed_ < 0 && signed_ >= INT32_MIN ? static_cast<uint32_t>(signed_) : static_cast<uint64_t>(signed_);
    case Kind::Unsigned: return unsigned_;
    case Kind::Real: return static_cast<uint64_t>(real_);
    default: return 0;
    }
}

double FormatArg::asReal() const {
    switch (kind_) {
    case Kind::Signed: return static_cast<double>(signed_);
    case Kind::Unsigned: return static_cast<double>(unsigned_);
    case Kind::Real: return real_;
    default: return 0;
    }
}

namespace {

struct Spec {
    bool left = false, plus = false, space = false, zero = false, alt = false;
    int width = 0;
    int precision = -1;
    wchar_t conversion = 0;
};

// Caps on width and precision keep a hostile format from asking for gigabytes of padding.
constexpr int kMaxField = 4096;

void Pad(std::wstring& out, const std::wstring& body, const Spec& spec, bool zeroPadAllowed) {
    const int fill = spec.width - static_cast<int>(body.size());
    if (fill <= 0) {
        out += body;
    } else if (spec.left) {
        out += body;
        out.append(fill, L' ');
    } else if (spec.zero && zeroPadAllowed) {
        // Zeros go after the sign or the 0x prefix.
        size_t prefix = 0;
        if (!body.empty() && (body[0] == L'-' || body[0] == L'+' || body[0] == L' '))
            prefix = 1;
        if (body.size() >= prefix + 2 && body[prefix] == L'0' && (body[prefix + 1] == L'x' || body[prefix + 1] == L'X'))
            prefix += 2;
        out.append(body, 0, prefix);
        out.append(fill, L'0');
        out.append(body, prefix, std::wstring::npos);
    } else {
        out.append(fill, L' ');
        out += body;
    }
}

std::wstring Digits(uint64_t value, unsigned base, bool upper) {
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring text;
    do {
        text.insert(text.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    return text;
}

std::wstring Integer(const FormatArg& arg, const Spec& spec) {
    const wchar_t c = spec.conversion;
    std::wstring sign;
    std::wstring digits;
    if (c == L'd' || c == L'i') {
        const int64_t value = arg.asSigned();
        const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        digits = Digits(magnitude, 10, false);
        sign = value < 0 ? L"-" : spec.plus ? L"+" : spec.space ? L" " : L"";
    } else {
        const unsigned base = c == L'o' ? 8 : (c == L'x' || c == L'X') ? 16 : 10;
        const uint64_t value = arg.asUnsigned();
        digits = Digits(value, base, c == L'X');
        if (spec.alt && value != 0 && base == 16)
            sign = c == L'X' ? L"0X" : L"0x";
        if (spec.alt && base == 8 && digits[0] != L'0')
            digits.insert(digits.begin(), L'0');
    }
    if (spec.precision == 0 && digits == L"0")
        digits.clear();
    if (spec.precision > static_cast<int>(digits.size()))
        digits.insert(0, spec.precision - digits.size(), L'0');
    return sign + digits;
}

std::wstring Real(const FormatArg& arg, const Spec& spec) {
    char format[16] = "%";
    size_t n = 1;
    if (spec.plus)
        format[n++] = '+';
    if (spec.space)
        format[n++] = ' ';
    if (spec.alt)
        format[n++] = '#';
    format[n++] = '.';
    format[n++] = '*';
    format[n++] = static_cast<char>(spec.conversion);
    format[n] = 0;
    char buffer[kMaxField + 400];
    const int precision = spec.precision < 0 ? 6 : spec.precision;
    const int length = std::snprintf(buffer, sizeof buffer, format, precision, arg.asReal());
    if (length < 0)
        return {};
    return std::wstring(buffer, buffer + std::min<size_t>(length, sizeof buffer - 1));
}

// Parses one conversion (flags, width, precision, kind) starting after '%'. Returns the index after it, or npos when the
// text is not a conversion this formatter knows.
size_t ParseSpec(std::wstring_view format, size_t i, Spec& spec) {
    for (; i < format.size(); ++i) {
        const wchar_t c = format[i];
        if (c == L'-')
            spec.left = true;
        else if (c == L'+')
            spec.plus = true;
        else if (c == L' ')
            spec.space = true;
        else if (c == L'0')
            spec.zero = true;
        else if (c == L'#')
            spec.alt = true;
        else
            break;
    }
    for (; i < format.size() && format[i] >= L'0' && format[i] <= L'9'; ++i)
        spec.width = std::min(kMaxField, spec.width * 10 + (format[i] - L'0'));
    if (i < format.size() && format[i] == L'.') {
        spec.precision = 0;
        for (++i; i < format.size() && format[i] >= L'0' && format[i] <= L'9'; ++i)
            spec.precision = std::min(kMaxField, spec.precision * 10 + (format[i] - L'0'));
    }
    // Length modifiers carry no meaning for typed arguments.
    while (i < format.size()) {
        if (format.substr(i, 3) == L"I64" || format.substr(i, 3) == L"I32") {
            i += 3;
        } else if (format[i] == L'l' || format[i] == L'h' || format[i] == L'z' || format[i] == L'j' ||
                   format[i] == L't' || format[i] == L'L' || format[i] == L'w') {
            ++i;
        } else {
            break;
        }
    }
    if (i >= format.size())
        return std::wstring_view::npos;
    const wchar_t c = format[i];
    if (std::wstring_view(L"diuoxXcsSfFeEgG").find(c) == std::wstring_view::npos)
        return std::wstring_view::npos;
    spec.conversion = c;
    return i + 1;
}

std::wstring Convert(const FormatArg& arg, const Spec& spec) {
    switch (spec.conversion) {
    case L's':
    case L'S': {
        if (arg.kind() != FormatArg::Kind::Text) {
            Spec asNumber = spec;
            asNumber.conversion = arg.kind() == FormatArg::Kind::Unsigned ? L'u' : L'd';
            asNumber.precision = -1;
            return Integer(arg, asNumber);
        }
        std::wstring_view text = arg.text();
        if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < text.size())
            text = text.substr(0, spec.precision);
        return std::wstring(text);
    }
    case L'c':
        if (arg.kind() == FormatArg::Kind::Text)
            return arg.text().empty() ? std::wstring() : std::wstring(1, arg.text()[0]);
        return std::wstring(1, static_cast<wchar_t>(arg.asUnsigned()));
    case L'f':
    case L'F':
    case L'e':
    case L'E':
    case L'g':
    case L'G': return Real(arg, spec);
    default:
        if (arg.kind() == FormatArg::Kind::Text)
            return std::wstring(arg.text());
        return Integer(arg, spec);
    }
}

} // namespace

std::wstring FormatArgs(std::wstring_view format, std::span<const FormatArg> args) {
    std::wstring out;
    out.reserve(format.size() + 16 * args.size());
    size_t next = 0;
    for (size_t i = 0; i < format.size();) {
        const wchar_t c = format[i];
        if (c != L'%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            out += L'%';
            i += 2;
            continue;
        }
        Spec spec;
        const size_t end = ParseSpec(format, i + 1, spec);
        if (end == std::wstring_view::npos || next >= args.size()) {
            // Unknown conversion or no argument left: copy the text as it stands.
            const size_t stop = end == std::wstring_view::npos ? i + 1 : end;
            out.append(format.substr(i, stop - i));
            i = stop;
            continue;
        }
        const FormatArg& arg = args[next++];
        const bool numeric = spec.conversion != L's' && spec.conversion != L'S' && spec.conversion != L'c';
        // As in printf, a precision on an integer conversion turns zero padding off.
        const bool zeroPad = numeric && !(spec.precision >= 0 && std::wstring_view(L"diuoxX").find(spec.conversion) !=
                                                                     std::wstring_view::npos);
        Pad(out, Convert(arg, spec), spec, zeroPad);
        i = end;
    }
    return out;
}
