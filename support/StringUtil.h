// Small helpers on std::wstring used by the portable core: case-insensitive comparison, trimming,
// splitting and joining. Case folding covers ASCII and Latin-1 letters, which is all that the command
// line, resource names and product identifiers use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

wchar_t FoldCase(wchar_t c);
std::wstring ToLower(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
std::wstring Trim(std::wstring_view text, std::wstring_view characters = L" \t");
// Splits at every separator; empty pieces are dropped.
std::vector<std::wstring> SplitNonEmpty(std::wstring_view text, wchar_t separator);
std::wstring Join(const std::vector<std::wstring>& pieces, std::wstring_view separator);
// Parses the whole text as a signed decimal as strtol does (leading white space and a sign allowed);
// true when nothing is left over. An empty text passes with value 0.
bool ParseWholeDecimal(std::wstring_view text, long long& value);
// The leading decimal number of a text, as atoi reads it (blanks and a sign first; anything else counts as
// 0), held at the int32 range instead of overflowing.
int32_t LeadingDecimal(std::wstring_view text);
// A command line that runs exactly `path`, also when the path holds spaces.
std::wstring QuotedCommandLine(std::wstring_view path);
// Splits at every separator, keeping empty pieces; an empty text gives no pieces.
std::vector<std::wstring_view> SplitKeepingEmpty(std::wstring_view text, wchar_t separator);
