#include "support/FileUtilities_win.h"

#include "support/FilePath.h"
#include "support/FolderPath.h"
#include "support/Format.h"
#include "support/Handle_win.h"

#include <sddl.h>
#include <shlobj.h>

#include <optional>

namespace ICBSFileUtilities {

std::wstring KnownFolderPath(const GUID& id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path)
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

namespace {

// Above this length CreateDirectoryW and friends need the extended-length form; directories have the
// lower limit (MAX_PATH less room for an 8.3 file name), so it serves for every call.
constexpr size_t kClassicPathLimit = MAX_PATH - 12;
// A file another program holds open is tried once more after this pause.
constexpr DWORD kSharingRetryDelayMs = 1000;
// Who may do what in a restricted folder: anonymous logons nothing; guests, users and signed-in users
// read, write and execute; administrators everything; inherited by files and subfolders.
constexpr wchar_t kRestrictedFolderSecurity[] =
    L"D:(D;OICI;GA;;;AN)(A;OICI;GRGWGX;;;BG)(A;OICI;GRGWGX;;;BU)(A;OICI;GRGWGX;;;AU)(A;OICI;GA;;;BA)";

std::wstring SystemPath(const std::wstring& path) {
    return path.size() >= kClassicPathLimit ? ExtendedLengthPath(path) : path;
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
    while (path.size() > 1 && IsSeparator(path.back()))
        path.pop_back();
    return path;
}

std::wstring Child(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty())
        return name;
    return IsSeparator(folder.back()) ? folder + name : folder + L"\\" + name;
}

// The attributes of what is at the path: from the find functions, which also see files that cannot be
// opened, and failing that from GetFileAttributesW, which also answers for drive roots and paths with a
// trailing separator.
std::optional<DWORD> Attributes(const std::wstring& path) {
    if (path.empty())
        return std::nullopt;
    const std::wstring systemPath = SystemPath(path);
    WIN32_FIND_DATAW data = {};
    FindHandle find(FindFirstFileW(systemPath.c_str(), &data));
    if (find)
        return data.dwFileAttributes;
    const DWORD attributes = GetFileAttributesW(systemPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return attributes;
}

bool IsLinkFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

struct Entry {
    std::wstring name;
    DWORD attributes;
};

// The entries of a folder without "." and "..", read completely before anything is changed.
std::optional<std::vector<Entry>> ReadFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW data = {};
    FindHandle find(FindFirstFileW(SystemPath(Child(folder, L"*.*")).c_str(), &data));
    if (!find)
        return std::nullopt;
    std::vector<Entry> entries;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            entries.push_back({name, data.dwFileAttributes});
    } while (FindNextFileW(find.Get(), &data));
    return entries;
}

bool DeleteOneFile(const std::wstring& path, DWORD attributes) {
    const std::wstring systemPath = SystemPath(path);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(systemPath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (DeleteFileW(systemPath.c_str()))
            return true;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return true;
        if (error != ERROR_SHARING_VIOLATION || attempt > 0)
            return false;
        Sleep(kSharingRetryDelayMs);
    }
    return false;
}

// Removes an empty folder, or a link to a folder (the link only).
bool RemoveFolder(const std::wstring& path, DWORD attributes) {
    const std::wstring systemPath = SystemPath(path);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(systemPath.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return RemoveDirectoryW(systemPath.c_str()) != FALSE;
}

bool DeleteFolderTree(const std::wstring& path, DWORD attributes) {
    if (IsLinkFolder(attributes))
        return RemoveFolder(path, attributes);
    if (const auto entries = ReadFolder(path)) {
        for (const Entry& entry : *entries) {
            const std::wstring child = Child(path, entry.name);
            const bool deleted = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY)
                                     ? DeleteFolderTree(child, entry.attributes)
                                     : DeleteOneFile(child, entry.attributes);
            if (!deleted)
                return false;
        }
    }
    return RemoveFolder(path, attributes);
}

} // namespace

std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length == 0)
            return path;
        if (length < buffer.size())
            break;
        buffer.resize(length + 1);
    }
    const std::wstring full(buffer.data(), length);
    if (full.size() > 2 && IsSeparator(full[0]) && IsSeparator(full[1]))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool Exists(const std::wstring& path) {
    return Attributes(path).has_value();
}

bool IsFolder(const std::wstring& path) {
    const auto attributes = Attributes(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureParentFolder(const std::wstring& path) {
    if (LastPathSeparator(path) == std::wstring::npos)
        return false;
    const std::wstring folder = FolderPart(path);
    if (folder.empty() || folder == path)
        return false;
    if (CreateFolder(folder, false))
        return true;
    EnsureParentFolder(folder);
    return CreateFolder(folder, false);
}

bool CreateFolder(const std::wstring& path, bool restricted) {
    if (path.empty())
        return false;
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, FALSE};
    LocalMemory descriptor;
    if (restricted) {
        // Looked up at run time, as the function is missing from the oldest systems.
        using Convert = BOOL(WINAPI*)(LPCWSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
        const ModuleHandle advapi(LoadLibraryW(L"Advapi32.dll"));
        if (!advapi)
            return false;
        const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
            GetProcAddress(advapi.Get(), "ConvertStringSecurityDescriptorToSecurityDescriptorW")));
        if (!convert || !convert(kRestrictedFolderSecurity, SDDL_REVISION_1, descriptor.Receive(), nullptr))
            return false;
        security.lpSecurityDescriptor = descriptor.Get();
    }
    if (CreateDirectoryW(SystemPath(path).c_str(), restricted ? &security : nullptr))
        return true;
    // Already there (or a drive root, which cannot be created): fine, as long as it is a folder.
    return IsFolder(path);
}

bool DeleteTree(const std::wstring& path) {
    // A bare root or a path that does not parse is never a tree to delete: refusing it keeps an empty
    // or broken package folder from turning into the current folder or a whole drive.
    const ICBSFolderPath parsed(path);
    if (!parsed.IsValid() || parsed.Components().empty())
        return false;
    const std::wstring folder = WithoutTrailingSeparators(path);
    const auto attributes = Attributes(folder);
    if (!attributes || !(*attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return DeleteFolderTree(folder, *attributes);
}

bool CopyFile(const std::wstring& source, const std::wstring& target, bool failIfExists) {
    EnsureParentFolder(target);
    const std::wstring from = SystemPath(source);
    const std::wstring to = SystemPath(target);
    // A kept target keeps its attributes; one about to be replaced must not be read-only.
    if (!failIfExists) {
        const DWORD attributes = GetFileAttributesW(to.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return ::CopyFileW(from.c_str(), to.c_str(), failIfExists) != FALSE;
}

uint32_t FileSize32(const std::wstring& path) {
    FileHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return 0;
    return size.QuadPart > 0xFFFFFFFFLL ? 0xFFFFFFFFu : static_cast<uint32_t>(size.QuadPart);
}

int CountFolders(const std::wstring& path) {
    if (!IsFolder(path))
        return 0;
    int count = 1;
    if (const auto entries = ReadFolder(WithoutTrailingSeparators(path))) {
        for (const Entry& entry : *entries) {
            if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            // A link may point back up the tree; entering it could recurse without end.
            count += IsLinkFolder(entry.attributes) ? 1 : CountFolders(Child(path, entry.name));
        }
    }
    return count;
}

std::wstring CreateUniqueFile(const std::wstring& folder, const std::wstring& namePattern, int tries) {
    // An empty folder means the current one, not the root of the current drive.
    const std::wstring prefix = folder.empty() || IsSeparator(folder.back()) ? folder : folder + L"\\";
    for (int i = 0; i < tries; ++i) {
        const std::wstring candidate = prefix + Format(namePattern, i);
        FileHandle file(CreateFileW(SystemPath(candidate).c_str(), 0, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return candidate;
        if (GetLastError() == ERROR_ACCESS_DENIED)
            return {};
    }
    return {};
}

std::wstring CurrentFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

std::wstring TempFolder() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data = {};
    FindHandle find(FindFirstFileW(SystemPath(Child(folder, pattern)).c_str(), &data));
    if (!find)
        return files;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(Child(folder, data.cFileName));
    } while (FindNextFileW(find.Get(), &data));
    return files;
}

} // namespace ICBSFileUtilities
