#include "launcher/SubPackageSelection.h"

#include <gtest/gtest.h>

namespace {
std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::wstring Avoid(const std::wstring& name, const std::wstring& pattern) {
    return L"VNT (c): Avoid skipping of sub-package " + name + L" due to pattern '" + pattern + L"'.\r\n";
}
std::wstring Default(const std::wstring& name) {
    return L"VNT (c): set default handling of package " + name + L" due to command line argument.\r\n";
}
std::wstring Skip(const std::wstring& name) {
    return L"VNT (c): skipped handling of package " + name + L" due to command line argument.\r\n";
}
} // namespace

TEST(SubPackageSelection, SelectsByPatternAndLogsWhy) {
    const std::vector<std::wstring> three = {L"Kestrum Main Server", L"Kestrum Companion", L"Other Tool"};
    const std::optional<bool> keep; // the package keeps its default
    const struct {
        std::vector<std::wstring> names;
        const wchar_t* option;
        std::vector<std::optional<bool>> selection;
        std::vector<std::wstring> lines;
    } cases[] = {
        // No option (or "all", which the parser stores as empty): every default stands, nothing is logged.
        {three, L"", {keep, keep, keep}, {}},
        {three, L",,", {keep, keep, keep}, {}},
        // none: every sub-package is skipped; the main package is never touched.
        {three, L"none", {keep, false, false}, {Skip(L"Kestrum Companion"), Skip(L"Other Tool")}},
        {three, L"NoNe", {keep, false, false}, {Skip(L"Kestrum Companion"), Skip(L"Other Tool")}},
        {three, L",none,", {keep, false, false}, {Skip(L"Kestrum Companion"), Skip(L"Other Tool")}},
        // A substring of the product name, with letter case.
        {three,
         L"Kestrum",
         {keep, true, false},
         {Avoid(L"Kestrum Companion", L"Kestrum"), Default(L"Kestrum Companion"), Skip(L"Other Tool")}},
        {three, L"kestrum", {keep, false, false}, {Skip(L"Kestrum Companion"), Skip(L"Other Tool")}},
        // With more than one pattern, "none" is an ordinary pattern; the first matching pattern is named.
        {three,
         L"none,Tool,Other",
         {keep, false, true},
         {Skip(L"Kestrum Companion"), Avoid(L"Other Tool", L"Tool"), Default(L"Other Tool")}},
        {three,
         L"Comp,Kestrum",
         {keep, true, false},
         {Avoid(L"Kestrum Companion", L"Comp"), Default(L"Kestrum Companion"), Skip(L"Other Tool")}},
        {three,
         L"p",
         {keep, true, false},
         {Avoid(L"Kestrum Companion", L"p"), Default(L"Kestrum Companion"), Skip(L"Other Tool")}},
        // Only the main package: nothing to decide.
        {{L"Kestrum Main Server"}, L"none", {keep}, {}},
        {{}, L"none", {}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> lines;
        const auto selection =
            SelectSubPackages(c.names, c.option, [&](const std::wstring& line) { lines.push_back(line); });
        EXPECT_EQ(c.selection, selection) << Narrow(c.option);
        EXPECT_EQ(c.lines, lines) << Narrow(c.option);
    }
}
