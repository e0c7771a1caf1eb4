#include "launcher/UsageText.h"

#include "StringIds.h"

#include <algorithm>
#include <vector>

namespace {

constexpr size_t kCommandIndent = 4;
constexpr size_t kOptionIndent = 8;
constexpr size_t kPropertyIndent = 12;
constexpr size_t kGroupHeaderIndent = 4;
constexpr size_t kTabAfterLineFeedWidth = 4;

constexpr std::wstring_view kReplacementToken = L"%s";
constexpr std::wstring_view kEntrySeparator = L"\r\n\r\n";

// The next token at text[i]; i moves past it. Tokens usually begin with the space that separates
// them from the previous word, so that a wrapped line can drop it.
std::wstring_view NextToken(std::wstring_view text, size_t& i, std::wstring_view replacement) {
    if (text.substr(i).starts_with(kReplacementToken)) {
        i += kReplacementToken.size();
        return replacement;
    }
    const size_t start = i;
    size_t end = text.size();
    if (text[i] == L'"') {
        const size_t close = text.find(L'"', i + 1);
        end = close == std::wstring_view::npos ? text.size() : close + 1;
    } else {
        for (size_t stop : {text.find(L' ', i + 1), text.find(L'\n', i + 1),
                            text.find(kReplacementToken, i + 1), text.find(L'"', i + 1)})
            end = std::min(end, stop);
    }
    i = end;
    return text.substr(start, end - start);
}

std::wstring CommandEntry(const UsageCommand& command, std::wstring_view executableName,
                          const StringLoader& load) {
    std::wstring entry(executableName);
    entry += L" " + command.syntax + L"\n";
    return entry + WrapText(load(command.descriptionId), kCommandIndent, executableName);
}

std::wstring OptionEntry(const UsageOption& option, std::wstring_view executableName,
                         const StringLoader& load) {
    return L"    " + option.syntax + L"\n" +
           WrapText(load(option.descriptionId), kOptionIndent, executableName);
}

std::wstring PropertyEntry(const UsageProperty& property, const StringLoader& load) {
    return std::wstring(8, L' ') + property.name + L"=" + load(property.valueTextId) + L"\n" +
           WrapText(load(property.descriptionId), kPropertyIndent);
}

} // namespace

std::wstring WrapText(std::wstring_view text, size_t indent, std::wstring_view replacement) {
    if (text.empty())
        return {};
    const std::wstring margin(indent, L' ');
    std::wstring out = margin;
    size_t column = indent;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L'\n') {
            // A tab right after a line feed stays in the text (it begins the next token), but the line
            // is pushed in by four spaces so that the example it introduces stands out.
            for (; i < text.size() && text[i] == L'\n'; ++i) {
                out += L'\n';
                out += margin;
                column = indent;
                if (i + 1 < text.size() && text[i + 1] == L'\t') {
                    out.append(kTabAfterLineFeedWidth, L' ');
                    column += kTabAfterLineFeedWidth;
                }
            }
            continue;
        }
        std::wstring_view token = NextToken(text, i, replacement);
        if (column + token.size() > kUsageLineWidth) {
            out += L'\n';
            out += margin;
            column = indent;
            if (token.starts_with(L' '))
                token.remove_prefix(1);
        } else if (column == indent && token.starts_with(L' ')) {
            token.remove_prefix(1);
        }
        out += token;
        column += token.size();
    }
    return out;
}

std::wstring ExecutableFileName(std::wstring_view modulePath) {
    size_t separator = modulePath.rfind(L'\\');
    if (separator == std::wstring_view::npos)
        separator = modulePath.rfind(L'/');
    return std::wstring(separator == std::wstring_view::npos ? modulePath : modulePath.substr(separator + 1));
}

std::wstring ComposeUsageText(const UsageTable& table, std::wstring_view executableName,
                              const StringLoader& load) {
    std::wstring text = L"\r\n";
    text += executableName;
    text += L" - " + load(StringId::UsageSyntaxTitle) + L"\r\n\r\n";

    for (const auto& command : table.commands)
        text += CommandEntry(command, executableName, load) + std::wstring(kEntrySeparator);

    // The commands share their options; each is explained once, where it is first met.
    text += load(StringId::UsageAdditionalOptions) + L"\r\n";
    std::vector<bool> printed(table.options.size(), false);
    for (const auto& command : table.commands) {
        for (size_t index : command.options) {
            if (index >= table.options.size() || printed[index])
                continue;
            printed[index] = true;
            text += OptionEntry(table.options[index], executableName, load) + std::wstring(kEntrySeparator);
        }
    }

    text += WrapText(load(StringId::UsagePropertiesIntro), 0) + std::wstring(kEntrySeparator);

    for (const auto& group : table.groups) {
        text += WrapText(load(group.headerId), kGroupHeaderIndent) + L"\r\n";
        for (const auto& row : group.rows)
            text += PropertyEntry(row, load) + std::wstring(kEntrySeparator);
    }
    return text;
}
