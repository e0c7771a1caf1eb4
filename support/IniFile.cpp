#include "support/IniFile.h"

#include "support/ByteFile.h"
#include "support/StringUtil.h"

namespace {

constexpr std::wstring_view kPathSeparator = L"::";
// A line without "=" continues the previous value on a new, indented line.
constexpr std::wstring_view kContinuation = L"\r\n\t";

const std::wstring& EmptyValue() {
    static const std::wstring empty;
    return empty;
}

void SplitPath(const std::wstring& path, std::wstring& section, std::wstring& key) {
    const size_t at = path.find(kPathSeparator);
    if (at == std::wstring::npos) {
        section.clear();
        key = path;
    } else {
        section = path.substr(0, at);
        key = path.substr(at + kPathSeparator.size());
    }
}

bool IsComment(const std::wstring& line) {
    return line.starts_with(L"//") || line.starts_with(L";");
}

} // namespace

ICBSIniFile::ICBSIniFile(std::wstring path) : path_(std::move(path)) {
    if (const auto bytes = ByteFile::ReadAll(path_))
        Load(*bytes);
}

ICBSIniFile::ICBSIniFile(std::wstring path, std::string_view content) : path_(std::move(path)) {
    Load(content);
}

ICBSIniFile::~ICBSIniFile() {
    Save();
}

void ICBSIniFile::Load(std::string_view bytes) {
    std::wstring section; // the unnamed one until the first header
    std::wstring previousKey;
    // The entry holding the previous key's value; null when that value was empty (and so not stored).
    // Continuation lines append to it in place, which keeps long continued values linear.
    Entry* previous = nullptr;
    for (const std::wstring& rawLine : ByteFile::SplitLines(bytes)) {
        const std::wstring line = Trim(rawLine, L" \t\r\n");
        if (line.empty() || IsComment(line)) {
            SetValue(section, L"", line);
            continue;
        }
        if (line.front() == L'[') {
            const size_t first = line.find_first_not_of(L"[]");
            section = first == std::wstring::npos
                          ? L""
                          : line.substr(first, line.find_last_not_of(L"[]") - first + 1);
            continue;
        }
        const size_t equals = line.find(L'=');
        if (equals != std::wstring::npos) {
            previousKey = Trim(std::wstring_view(line).substr(0, equals));
            Set(section, previousKey, Trim(std::wstring_view(line).substr(equals + 1)), &previous);
            continue;
        }
        if (previousKey.empty()) {
            // Nothing to continue: keep the line as it is instead of a growing copy of every earlier one.
            SetValue(section, L"", line);
            continue;
        }
        if (previous && FindEntry(section, previousKey) == previous) {
            previous->value.append(kContinuation).append(line);
            modified_ = true;
        } else {
            std::wstring value = previous ? previous->value : std::wstring();
            value.append(kContinuation).append(line);
            Set(section, previousKey, value, &previous);
        }
    }
    modified_ = false;
}

ICBSIniFile::Section* ICBSIniFile::FindSection(const std::wstring& name) const {
    const auto found = sectionIndex_.find(ToLower(name));
    return found == sectionIndex_.end() ? nullptr : found->second;
}

const ICBSIniFile::Entry* ICBSIniFile::FindEntry(const std::wstring& section, const std::wstring& key) const {
    const Section* found = FindSection(section);
    if (!found)
        return nullptr;
    const auto entry = found->keys.find(ToLower(key));
    return entry == found->keys.end() ? nullptr : &*entry->second;
}

bool ICBSIniFile::HasValue(const std::wstring& section, const std::wstring& key) const {
    return FindEntry(section, key) != nullptr;
}

bool ICBSIniFile::HasValue(const std::wstring& path) const {
    std::wstring section, key;
    SplitPath(path, section, key);
    return HasValue(section, key);
}

const std::wstring& ICBSIniFile::GetValue(const std::wstring& section, const std::wstring& key) const {
    const Entry* entry = FindEntry(section, key);
    return entry ? entry->value : EmptyValue();
}

const std::wstring& ICBSIniFile::GetValue(const std::wstring& path) const {
    std::wstring section, key;
    SplitPath(path, section, key);
    return GetValue(section, key);
}

bool ICBSIniFile::SetValue(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    Entry* stored = nullptr;
    return Set(section, key, value, &stored);
}

bool ICBSIniFile::SetValue(const std::wstring& path, const std::wstring& value) {
    std::wstring section, key;
    SplitPath(path, section, key);
    return SetValue(section, key, value);
}

bool ICBSIniFile::Set(const std::wstring& sectionName, const std::wstring& key, const std::wstring& value,
                      Entry** stored) {
    *stored = nullptr;
    Section* section = FindSection(sectionName);
    const std::wstring foldedKey = ToLower(key);
    if (section && !key.empty()) {
        const auto found = section->keys.find(foldedKey);
        if (found != section->keys.end()) {
            Entry& entry = *found->second;
            if (value.empty()) {
                section->entries.erase(found->second);
                section->keys.erase(found);
                modified_ = true;
                return true;
            }
            *stored = &entry;
            if (entry.value == value)
                return false;
            entry.value = value;
            modified_ = true;
            return true;
        }
    }
    if (!section) {
        // Made even when nothing is added to it below.
        auto created = std::make_unique<Section>();
        created->name = sectionName;
        section = created.get();
        sectionIndex_[ToLower(sectionName)] = section;
        if (sectionName.empty())
            sections_.insert(sections_.begin(), std::move(created));
        else
            sections_.push_back(std::move(created));
        modified_ = true;
    }
    if (!key.empty() && value.empty())
        return false;
    const auto added = section->entries.insert(section->entries.end(), Entry{key, value});
    if (!key.empty()) {
        section->keys[foldedKey] = added;
        *stored = &*added;
    }
    modified_ = true;
    return true;
}

std::string ICBSIniFile::Text() const {
    std::wstring text;
    for (const auto& section : sections_) {
        if (!section->name.empty())
            text.append(L"[").append(section->name).append(L"]\n");
        for (const Entry& entry : section->entries) {
            if (!entry.key.empty())
                text.append(entry.key).append(L" = ");
            text.append(entry.value).append(L"\n");
        }
    }
    return ByteFile::ToTextModeBytes(text);
}

bool ICBSIniFile::Save() {
    if (!modified_)
        return true;
    if (!ByteFile::WriteAll(path_, Text()))
        return false;
    modified_ = false;
    return true;
}
