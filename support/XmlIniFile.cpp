#include "support/XmlIniFile.h"

#include "support/ByteFile.h"
#include "support/StringUtil.h"

#include <algorithm>

namespace {

constexpr std::wstring_view kWhiteSpace = L" \t\r\n\v\f";
constexpr std::wstring_view kCommentOpen = L"<!--";
constexpr std::wstring_view kCommentClose = L"-->";
// Lines that Save writes afresh, recognised by these beginnings.
constexpr std::wstring_view kDroppedPrefixes[] = {L"<?xml", L"<confi", L"</config"};

// The root element of the XML processing servers' configuration.
constexpr std::wstring_view kDeclaration = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
constexpr std::wstring_view kConfigNamespace = L"http://www.quenlis.com/schemas/zorvexxml/config";
constexpr std::wstring_view kConfigSchema = L"http://www.quenlis.com/schemas/zorvexxml/config/config.xsd";
constexpr std::wstring_view kSchemaInstanceNamespace = L"http://www.w3.org/2001/XMLSchema-instance";
constexpr std::wstring_view kSchemaNamespace = L"http://www.w3.org/2001/XMLSchema";
constexpr std::wstring_view kRootEnd = L"\n</config>\n";
constexpr std::wstring_view kIndent = L"    ";

const std::wstring& EmptyValue() {
    static const std::wstring empty;
    return empty;
}

void SplitName(std::wstring_view name, std::wstring& group, std::wstring& key) {
    const size_t dot = name.find(L'.');
    if (dot == std::wstring_view::npos) {
        group.clear();
        key = name;
    } else {
        group = name.substr(0, dot);
        key = name.substr(dot + 1);
    }
}

size_t SkipWhiteSpace(const std::wstring& text, size_t at) {
    const size_t found = text.find_first_not_of(kWhiteSpace, std::min(at, text.size()));
    return found == std::wstring::npos ? text.size() : found;
}

std::wstring RootStartTag() {
    std::wstring tag = L"<config xmlns=\"";
    tag.append(kConfigNamespace).append(L"\" xsi:schemaLocation=\"").append(kConfigNamespace);
    tag.append(L" ").append(kConfigSchema).append(L"\" xmlns:xsi=\"").append(kSchemaInstanceNamespace);
    tag.append(L"\" xmlns:xs=\"").append(kSchemaNamespace).append(L"\">\n");
    return tag;
}

std::wstring RebuiltText(const ICBSXMLIniFile::Line& line) {
    const std::wstring name = line.group.empty() ? line.key : line.group + L"." + line.key;
    const std::wstring element = L"<" + name + L">" + line.value + L"</" + name + L">";
    std::wstring text(kIndent);
    if (line.commented)
        return text.append(kCommentOpen).append(element).append(kCommentClose);
    return text.append(element);
}

// After an element (or where none was found): only white space may follow, and on a commented line the
// comment's end. A commented line holds an element only when the comment ends right after it.
void CheckTrailer(ICBSXMLIniFile::Line& line, size_t at) {
    const std::wstring& text = line.text;
    at = SkipWhiteSpace(text, at);
    if (!line.commented) {
        line.malformed = at < text.size();
        return;
    }
    line.isElement = line.isElement && std::wstring_view(text).substr(at).starts_with(kCommentClose);
    const size_t close = text.find(kCommentClose, at);
    line.malformed =
        close == std::wstring::npos || SkipWhiteSpace(text, close + kCommentClose.size()) < text.size();
}

} // namespace

bool ICBSXMLIniFile::ParseLine(const std::wstring& text, Line& line) {
    line = Line{};
    line.text = text;
    size_t at = SkipWhiteSpace(text, 0);
    if (at == text.size())
        return true; // a blank line
    const std::wstring_view rest = std::wstring_view(text).substr(at);
    for (const auto prefix : kDroppedPrefixes) {
        if (rest.starts_with(prefix))
            return false;
    }
    if (rest.starts_with(kCommentOpen)) {
        line.commented = true;
        at = SkipWhiteSpace(text, at + kCommentOpen.size());
    }
    if (at == text.size() || text[at] != L'<') {
        CheckTrailer(line, at);
        return true;
    }
    const size_t nameStart = at + 1;
    const size_t nameEnd = text.find_first_of(std::wstring(L"/>").append(kWhiteSpace), nameStart);
    if (nameEnd == std::wstring::npos) {
        line.malformed = true;
        return true;
    }
    const std::wstring name = text.substr(nameStart, nameEnd - nameStart);
    if (text[nameEnd] == L'/') {
        if (nameEnd + 1 < text.size() && text[nameEnd + 1] == L'>') {
            // An empty element: the whole name is the key, dot or not.
            line.isElement = true;
            line.key = name;
            CheckTrailer(line, nameEnd + 2);
        } else {
            line.malformed = true;
        }
        return true;
    }
    // Attributes up to the ">" are skipped; they survive only in the text.
    const size_t startTagEnd = text[nameEnd] == L'>' ? nameEnd : text.find(L'>', nameEnd);
    if (startTagEnd == std::wstring::npos) {
        line.malformed = true;
        return true;
    }
    const std::wstring endTag = L"</" + name + L">";
    const size_t endTagAt = text.find(endTag, startTagEnd + 1);
    if (endTagAt == std::wstring::npos)
        return true; // content on several lines: plain text, not an error
    line.isElement = true;
    SplitName(name, line.group, line.key);
    line.value = text.substr(startTagEnd + 1, endTagAt - startTagEnd - 1);
    CheckTrailer(line, endTagAt + endTag.size());
    return true;
}

ICBSXMLIniFile::ICBSXMLIniFile(std::wstring path) : path_(std::move(path)) {
    if (const auto bytes = ByteFile::ReadAll(path_))
        Load(*bytes);
}

ICBSXMLIniFile::ICBSXMLIniFile(std::wstring path, std::string_view content) : path_(std::move(path)) {
    Load(content);
}

ICBSXMLIniFile::~ICBSXMLIniFile() {
    Save();
}

void ICBSXMLIniFile::Load(std::string_view bytes) {
    Line line;
    for (const std::wstring& text : ByteFile::SplitLines(bytes)) {
        if (ParseLine(text, line))
            lines_.push_back(std::move(line));
    }
}

bool ICBSXMLIniFile::HasErrors() const {
    return std::any_of(lines_.begin(), lines_.end(), [](const Line& line) { return line.malformed; });
}

bool ICBSXMLIniFile::IsModified() const {
    return std::any_of(lines_.begin(), lines_.end(), [](const Line& line) { return line.modified; });
}

const ICBSXMLIniFile::Line* ICBSXMLIniFile::FindActive(const std::wstring& group,
                                                       const std::wstring& key) const {
    for (const Line& line : lines_) {
        if (line.isElement && !line.commented && EqualsNoCase(line.group, group) &&
            EqualsNoCase(line.key, key))
            return &line;
    }
    return nullptr;
}

bool ICBSXMLIniFile::HasValue(const std::wstring& group, const std::wstring& key) const {
    return FindActive(group, key) != nullptr;
}

bool ICBSXMLIniFile::HasValue(const std::wstring& path) const {
    std::wstring group, key;
    SplitName(path, group, key);
    return HasValue(group, key);
}

const std::wstring& ICBSXMLIniFile::GetValue(const std::wstring& group, const std::wstring& key) const {
    const Line* line = FindActive(group, key);
    return line ? line->value : EmptyValue();
}

const std::wstring& ICBSXMLIniFile::GetValue(const std::wstring& path) const {
    std::wstring group, key;
    SplitName(path, group, key);
    return GetValue(group, key);
}

bool ICBSXMLIniFile::SetValue(const std::wstring& group, const std::wstring& key, const std::wstring& value) {
    size_t lastOfGroup = 0;
    bool groupFound = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        Line& line = lines_[i];
        if (!line.isElement || !EqualsNoCase(line.group, group))
            continue;
        lastOfGroup = i;
        groupFound = true;
        if (!EqualsNoCase(line.key, key))
            continue;
        if (line.commented) {
            if (value.empty())
                return false;
            // Activating the element is a change even when its value stays.
            line.commented = false;
            line.modified = true;
            line.value = value;
            return true;
        }
        if (value.empty()) {
            line.commented = true; // keeps its old value
            line.modified = true;
            return true;
        }
        if (line.value == value)
            return false;
        line.value = value;
        line.modified = true;
        return true;
    }
    if (value.empty())
        return false;
    Line added;
    added.isElement = true;
    added.modified = true;
    added.group = group;
    added.key = key;
    added.value = value;
    if (groupFound && lastOfGroup > 0) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastOfGroup), std::move(added));
    } else if (group.empty()) {
        lines_.insert(lines_.begin(), std::move(added));
    } else {
        const auto firstGrouped = std::find_if(lines_.begin(), lines_.end(), [](const Line& line) {
            return line.isElement && !line.group.empty();
        });
        const auto blank = lines_.insert(firstGrouped, Line{});
        lines_.insert(blank + 1, std::move(added));
    }
    return true;
}

bool ICBSXMLIniFile::SetValue(const std::wstring& path, const std::wstring& value) {
    std::wstring group, key;
    SplitName(path, group, key);
    return SetValue(group, key, value);
}

std::string ICBSXMLIniFile::Text() const {
    std::wstring text(kDeclaration);
    text.append(RootStartTag());
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0)
            text.append(L"\n");
        text.append(lines_[i].modified ? RebuiltText(lines_[i]) : lines_[i].text);
    }
    text.append(kRootEnd);
    return ByteFile::ToTextModeBytes(text);
}

bool ICBSXMLIniFile::Save() {
    if (!IsModified())
        return true;
    if (!ByteFile::WriteAll(path_, Text()))
        return false;
    for (Line& line : lines_) {
        if (line.modified) {
            line.text = RebuiltText(line);
            line.modified = false;
        }
    }
    return true;
}
