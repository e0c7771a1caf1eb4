// ICBSFolderPath: a folder path parsed into its root (a drive "C:" or a UNC server "\\srv"), whether it is
// absolute, and its folder names. A plain value that owns its strings. Parsing and printing are portable;
// the disk operations live in FolderPath_win.cpp.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class ICBSFolderPath {
public:
    ICBSFolderPath() = default;
    // Parses the text; a text that cannot be parsed leaves an empty path for which IsValid() is false.
    explicit ICBSFolderPath(std::wstring_view text) { Parse(text); }

    // Either separator is accepted and doubled separators collapse. "name\.." pairs cancel out; a ".."
    // with nothing before it to cancel fails unless it leads the text. A drive without a separator
    // after it ("C:dir", relative to that drive's current folder) fails.
    bool Parse(std::wstring_view text);
    bool IsValid() const { return valid_; }

    const std::wstring& Text() const { return text_; }
    const std::wstring& Root() const { return root_; }
    bool IsAbsolute() const { return absolute_; }
    const std::vector<std::wstring>& Components() const { return components_; }
    bool IsEmpty() const { return root_.empty() && !absolute_ && components_.empty(); }

    // Root, "\" when absolute, the folder names joined by "\"; with trailingSeparator one "\" is added
    // unless the text is empty or already ends in one.
    std::wstring ToString(bool trailingSeparator = false) const;
    // A copy without the last folder name (the same path when there is none).
    ICBSFolderPath Parent() const;
    // Appends a relative path (no root, or the same root, and not absolute); anything else changes
    // nothing and gives false.
    bool Append(std::wstring_view path);

    // Same root, same absoluteness and the same folder names, letter case ignored.
    bool operator==(const ICBSFolderPath& other) const;
    bool operator!=(const ICBSFolderPath& other) const { return !(*this == other); }

    // On disk (Windows only).
    bool Exists() const; // something is there, and it is a folder
    bool Create() const; // the folder and any missing parents
    // Deletes the folder tree. Refuses an empty path and a bare root, so that a failed parse can never
    // turn into deleting the current folder or a drive.
    bool Delete() const;
    // Full paths of the files (not folders) here that match the pattern ("*.msi").
    std::vector<std::wstring> ListFiles(std::wstring_view pattern) const;

private:
    void Clear();

    std::wstring text_;
    std::wstring root_;
    bool absolute_ = false;
    bool valid_ = true;
    std::vector<std::wstring> components_;
};
