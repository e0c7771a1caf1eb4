#include "support/StringUtil.h"

#include <algorithm>
#include <climits>
#include <cwchar>

wchar_t FoldCase(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<wchar_t>(c + 32);
    return c;
}

std::wstring ToLower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& c : out)
        c = FoldCase(c);
    return out;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::wstring Trim(std::wstring_view text, std::wstring_view characters) {
    const size_t first = text.find_first_not_of(characters);
    if (first == std::wstring_view::npos)
        return {};
    const size_t last = text.find_last_not_of(characters);
    return std::wstring(text.substr(first, last - first + 1));
}

std::vector<std::wstring> SplitNonEmpty(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::wstring_view::npos)
            end = text.size();
        if (end > start)
            pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

std::wstring Join(const std::vector<std::wstring>& pieces, std::wstring_view separator) {
    std::wstring out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i)
            out += separator;
        out += pieces[i];
    }
    return out;
}

bool ParseWholeDecimal(std::wstring_view text, long long& value) {
    value = 0;
    const std::wstring copy(text);
    if (copy.empty())
        return true;
    wchar_t* end = nullptr;
    value = std::wcstoll(copy.c_str(), &end, 10);
    return end == copy.c_str() + copy.size();
}

int32_t LeadingDecimal(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - L'0'), INT_MAX);
    return static_cast<int32_t>(negative ? -value : value);
}

std::vector<std::wstring_view> SplitKeepingEmpty(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring_view> pieces;
    if (text.empty())
        return pieces;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        pieces.push_back(
            text.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos)
            return pieces;
        start = end + 1;
    }
}

std::wstring QuotedCommandLine(std::wstring_view path) {
    std::wstring line = L"\"";
    line += path;
    line += L"\"";
    return line;
}
