#include "support/FolderPath.h"

#include "support/StringUtil.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Adds one folder name to a list, letting ".." cancel the name before it. A ".." with no name to cancel
// is kept only when leading is true (a relative path that starts by going up); otherwise it fails.
bool AddComponent(std::vector<std::wstring>& components, std::wstring name, bool leading) {
    if (name != L"..") {
        components.push_back(std::move(name));
        return true;
    }
    if (!components.empty() && components.back() != L"..") {
        components.pop_back();
        return true;
    }
    if (!leading)
        return false;
    components.push_back(std::move(name));
    return true;
}

bool ParseComponents(std::wstring_view text, std::vector<std::wstring>& components) {
    bool leading = true; // still within the ".." run that starts the text
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !IsSeparator(text[end]))
            ++end;
        if (end > start) {
            std::wstring name(text.substr(start, end - start));
            if (name != L"..")
                leading = false;
            if (!AddComponent(components, std::move(name), leading))
                return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

void ICBSFolderPath::Clear() {
    text_.clear();
    root_.clear();
    absolute_ = false;
    valid_ = true;
    components_.clear();
}

bool ICBSFolderPath::Parse(std::wstring_view text) {
    Clear();
    text_ = text;
    std::wstring_view rest = text;
    if (text.size() >= 2 && text[1] == L':') {
        root_ = text.substr(0, 2);
        rest = text.substr(2);
        // "C:dir" means a folder relative to drive C's current folder, which a path value cannot name.
        if (rest.empty() || !IsSeparator(rest[0]))
            valid_ = false;
        absolute_ = true;
    } else if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
        size_t end = 2;
        while (end < text.size() && !IsSeparator(text[end]))
            ++end;
        const std::wstring_view server = text.substr(2, end - 2);
        if (server.empty())
            valid_ = false;
        root_ = L"\\\\" + std::wstring(server);
        absolute_ = true;
        rest = text.substr(end);
    } else {
        absolute_ = !text.empty() && IsSeparator(text[0]);
    }
    if (valid_)
        valid_ = ParseComponents(rest, components_);
    if (!valid_) {
        const std::wstring kept = text_;
        Clear();
        text_ = kept;
        valid_ = false;
    }
    return valid_;
}

std::wstring ICBSFolderPath::ToString(bool trailingSeparator) const {
    std::wstring out = root_;
    if (absolute_)
        out += L'\\';
    out += Join(components_, L"\\");
    if (trailingSeparator && !out.empty() && out.back() != L'\\')
        out += L'\\';
    return out;
}

ICBSFolderPath ICBSFolderPath::Parent() const {
    ICBSFolderPath parent = *this;
    if (!parent.components_.empty())
        parent.components_.pop_back();
    return parent;
}

bool ICBSFolderPath::Append(std::wstring_view path) {
    // A text with a root always parses as absolute, so only root-less relative texts get through.
    const ICBSFolderPath other(path);
    if (!other.IsValid() || other.absolute_)
        return false;
    std::vector<std::wstring> joined = components_;
    for (const auto& name : other.components_)
        AddComponent(joined, name, true);
    components_ = std::move(joined);
    return true;
}

bool ICBSFolderPath::operator==(const ICBSFolderPath& other) const {
    if (!EqualsNoCase(root_, other.root_) || absolute_ != other.absolute_ ||
        components_.size() != other.components_.size())
        return false;
    for (size_t i = 0; i < components_.size(); ++i) {
        if (!EqualsNoCase(components_[i], other.components_[i]))
            return false;
    }
    return true;
}
