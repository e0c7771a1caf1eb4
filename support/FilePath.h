// ICBSFilePath: a file path split into its folder (an ICBSFolderPath), file name, base name and
// extension. A plain value that owns its strings. Splitting is portable; the disk operations live in
// FilePath_win.cpp.
#pragma once

#include "support/FolderPath.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct HINSTANCE__; // HMODULE, without pulling <windows.h> into the portable core

// Where a path splits into its folder and its file name: the last "\" or "/", npos when there is none.
size_t LastPathSeparator(std::wstring_view path);
// The file name: after the last separator, the whole text when there is none.
std::wstring FileNamePart(std::wstring_view path);
// The folder: before the last separator, without it; empty when there is none.
std::wstring FolderPart(std::wstring_view path);

// The four numbers of a file's version resource.
struct FileVersionNumbers {
    int major = 0, minor = 0, build = 0, revision = 0;
};

class ICBSFilePath {
public:
    ICBSFilePath() = default;
    // Splits at the last "\" or "/": the part before it (with the separator, so that "C:\x.txt" lies in
    // the folder "C:\") is the folder, the rest the file name. Without a separator the whole text is
    // the file name.
    explicit ICBSFilePath(std::wstring_view text);
    // A file in a folder. A name that holds a separator has its folder part appended to the folder when
    // that part is relative (an absolute one is ignored). With an extension the file name is
    // name + "." + extension.
    ICBSFilePath(const ICBSFolderPath& folder, std::wstring_view name,
                 std::optional<std::wstring_view> extension = std::nullopt);

    const std::wstring& Text() const { return text_; }
    const ICBSFolderPath& Folder() const { return folder_; }
    const std::wstring& FileName() const { return fileName_; }
    const std::wstring& BaseName() const { return baseName_; }
    // After the last "." of the file name, without the dot; empty when there is none.
    const std::wstring& Extension() const { return extension_; }
    bool IsValid() const { return folder_.IsValid(); }

    // The folder with a trailing separator, then the file name.
    std::wstring FullPath() const;
    void SetExtension(std::wstring_view extension);

    // On disk (Windows only).
    bool Exists() const;  // a file or a folder is there
    int64_t Size() const; // 0 when the file cannot be opened for reading
    // The file version as "major.minor.build.revision"; empty when the file has no version resource.
    std::wstring Version() const;
    // The same as numbers; none when the file has no version resource.
    std::optional<FileVersionNumbers> VersionNumbers() const;
    bool CopyTo(const std::wstring& target, bool failIfExists) const;
    // The file of a loaded module; nullptr means the program itself.
    static ICBSFilePath ModulePath(HINSTANCE__* module);

private:
    void SetFileName(std::wstring_view name);

    std::wstring text_;
    ICBSFolderPath folder_;
    std::wstring fileName_;
    std::wstring baseName_;
    std::wstring extension_;
};
