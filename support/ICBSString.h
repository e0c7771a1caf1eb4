// ICBSString: the support library's wide string. It is a std::wstring (and converts to and from one
// freely) with the helpers every text-handling part of the launcher needs: comparison with or without
// regard to case, splitting, trimming, case conversion, decimal parsing, safe formatting and conversion to
// UTF-8 and other code pages. It owns nothing beyond its characters.
//
// Case folding covers ASCII and Latin-1 letters (see StringUtil.h), which is all that the command line,
// resource names, product identifiers and configuration keys use.
#pragma once

#include "support/Format.h"

#include <optional>
#include <string>
#include <string_view>

// Code page numbers as the system names them.
constexpr unsigned kCodePageAnsi = 0; // the system's ANSI code page
constexpr unsigned kCodePageOem = 1;  // the system's OEM (console) code page
constexpr unsigned kCodePageUtf8 = 65001;

// What decoding does with bytes that are not valid text in their code page: replace them (with the code
// page's default character, U+FFFD for UTF-8) or refuse the whole text. Names from outside, such as the
// entries of a downloaded cabinet, are refused rather than guessed at.
enum class InvalidBytes { Replace, Refuse };

// Converts between wide text and the bytes of a code page other than UTF-8. The portable core has no
// tables of its own; the Windows layer installs the system's converter (CodePage_win.h). Each function
// returns false when the code page is unknown or the text cannot be converted.
struct CodePageConverter {
    bool (*toBytes)(std::wstring_view text, unsigned codePage, std::string& bytes);
    bool (*fromBytes)(std::string_view bytes, unsigned codePage, InvalidBytes invalid, std::wstring& text);
};
// Installs the converter used for code pages other than UTF-8; nullptr removes it. The converter must
// outlive its use.
void SetCodePageConverter(const CodePageConverter* converter);

class ICBSString : public std::wstring {
public:
    using std::wstring::wstring;
    ICBSString() = default;
    ICBSString(const std::wstring& text) : std::wstring(text) {}
    ICBSString(std::wstring&& text) : std::wstring(std::move(text)) {}
    explicit ICBSString(std::wstring_view text) : std::wstring(text) {}

    // Negative, zero or positive as this text sorts before, equal to or after the other.
    int Compare(std::wstring_view other, bool ignoreCase = false) const;
    bool Equals(std::wstring_view other, bool ignoreCase = false) const;
    bool StartsWith(std::wstring_view prefix, bool ignoreCase = false) const;
    bool EndsWith(std::wstring_view suffix, bool ignoreCase = false) const;
    // Position of the first occurrence at or after from; npos when there is none.
    size_t Find(std::wstring_view what, size_t from = 0, bool ignoreCase = false) const;
    bool Contains(std::wstring_view what, bool ignoreCase = false) const {
        return Find(what, 0, ignoreCase) != npos;
    }

    // Splits around the first (or last) occurrence of the separator, which belongs to neither part.
    // Without one: false, left is the whole text and right is empty.
    bool SplitAtFirst(std::wstring_view separator, ICBSString& left, ICBSString& right) const;
    bool SplitAtLast(std::wstring_view separator, ICBSString& left, ICBSString& right) const;

    // Removes every character of the set from both ends.
    ICBSString& Trim(std::wstring_view characters = L" \t\r\n");
    ICBSString Trimmed(std::wstring_view characters = L" \t\r\n") const;

    ICBSString& MakeLower();
    ICBSString& MakeUpper();
    ICBSString Lower() const;
    ICBSString Upper() const;

    // The whole text as a signed decimal (leading white space and a sign allowed, nothing left over);
    // nothing for an empty text or one that is not a number.
    std::optional<long long> ParseDecimal() const;
    // The decimal number at the start of the text, 0 when it does not start with one ("12ab" gives 12).
    long long DecimalValue() const;

    // printf-style formatting through the project's safe formatter (Format.h).
    template <class... Args> static ICBSString Format(std::wstring_view format, const Args&... args) {
        return ICBSString(::Format(format, args...));
    }
    template <class... Args> ICBSString& AppendFormat(std::wstring_view format, const Args&... args) {
        append(::Format(format, args...));
        return *this;
    }

    // UTF-8 in both directions on every platform. Unpaired surrogates and invalid byte sequences become
    // U+FFFD, so a conversion never fails.
    std::string ToUtf8() const;
    static ICBSString FromUtf8(std::string_view bytes);
    // Any code page: UTF-8 as above, others through the installed converter (nothing without one).
    // Decoding with InvalidBytes::Refuse gives nothing for bytes that are not valid in the code page.
    std::optional<std::string> ToCodePage(unsigned codePage) const;
    static std::optional<ICBSString> FromCodePage(std::string_view bytes, unsigned codePage,
                                                  InvalidBytes invalid = InvalidBytes::Replace);
};
