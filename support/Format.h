// Safe printf-style formatting of wide text for string tables, log lines and console output.
// Arguments are typed values, so a "%s" always means a wide string on every platform, and a format whose
// placeholders do not match its arguments (a bad translation) never reads past them: a placeholder with no
// argument is copied as written, and a placeholder of the wrong kind prints the argument as best it can.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

class FormatArg {
public:
    enum class Kind { Text, Signed, Unsigned, Real };

    FormatArg(const wchar_t* text) : kind_(Kind::Text), text_(text ? text : L"") {}
    FormatArg(const std::wstring& text) : kind_(Kind::Text), text_(text) {}
    FormatArg(std::wstring_view text) : kind_(Kind::Text), text_(text) {}
    FormatArg(double value) : kind_(Kind::Real), real_(value) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
    FormatArg(T value) : kind_(Kind::Signed), signed_(value) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T>, int> = 0>
    FormatArg(T value) : kind_(Kind::Unsigned), unsigned_(value) {}

    Kind kind() const { return kind_; }
    std::wstring_view text() const { return text_; }
    int64_t asSigned() const;
    uint64_t asUnsigned() const;
    double asReal() const;

private:
    Kind kind_;
    std::wstring_view text_;
    int64_t signed_ = 0;
    uint64_t unsigned_ = 0;
    double real_ = 0;
};

std::wstring FormatArgs(std::wstring_view format, std::span<const FormatArg> args);

template <class... Args> std::wstring Format(std::wstring_view format, const Args&... args) {
    const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
    return FormatArgs(format, list);
}
