#include "support/FilePath.h"

size_t LastPathSeparator(std::wstring_view path) {
    return path.find_last_of(L"\\/");
}

std::wstring FileNamePart(std::wstring_view path) {
    const size_t separator = LastPathSeparator(path);
    return std::wstring(separator == std::wstring_view::npos ? path : path.substr(separator + 1));
}

std::wstring FolderPart(std::wstring_view path) {
    const size_t separator = LastPathSeparator(path);
    return separator == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, separator));
}

ICBSFilePath::ICBSFilePath(std::wstring_view text) : text_(text) {
    const size_t at = LastPathSeparator(text);
    if (at == std::wstring_view::npos) {
        SetFileName(text);
        return;
    }
    folder_.Parse(text.substr(0, at + 1));
    SetFileName(text.substr(at + 1));
}

ICBSFilePath::ICBSFilePath(const ICBSFolderPath& folder, std::wstring_view name,
                           std::optional<std::wstring_view> extension)
    : folder_(folder) {
    const size_t at = LastPathSeparator(name);
    if (at != std::wstring_view::npos) {
        folder_.Append(name.substr(0, at + 1));
        name = name.substr(at + 1);
    }
    if (extension)
        SetFileName(std::wstring(name) + L"." + std::wstring(*extension));
    else
        SetFileName(name);
    text_ = FullPath();
}

void ICBSFilePath::SetFileName(std::wstring_view name) {
    fileName_ = name;
    const size_t dot = fileName_.rfind(L'.');
    if (dot == std::wstring::npos) {
        baseName_ = fileName_;
        extension_.clear();
    } else {
        baseName_ = fileName_.substr(0, dot);
        extension_ = fileName_.substr(dot + 1);
    }
}

std::wstring ICBSFilePath::FullPath() const {
    return folder_.ToString(true) + fileName_;
}

void ICBSFilePath::SetExtension(std::wstring_view extension) {
    extension_ = extension;
    fileName_ = baseName_ + L"." + extension_;
}
