// Helpers of the file-utility tests: a scratch folder per test, file contents, the EVERYONE entry of an
// access list, and links to folders made whichever way the system under test supports.
#pragma once

#include "support/FileUtilities_win.h"

#include <windows.h>

#include <aclapi.h>
#include <winioctl.h>

#include <string>
#include <vector>

namespace FileTest {

inline bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool WriteText(const std::wstring& path, const std::string& bytes,
                      DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

inline std::string ReadText(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(4096, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes.substr(0, read);
}

inline std::wstring ProgramPath() {
    std::vector<wchar_t> buffer(32768);
    return std::wstring(buffer.data(), GetModuleFileNameW(nullptr, buffer.data(), 32768));
}

// A fresh, empty folder under the temporary folder, removed with its content when the test ends.
class Folder {
public:
    explicit Folder(const std::wstring& name) {
        const std::wstring base = ICBSFileUtilities::TempFolder() + L"launcher-file-tests";
        CreateDirectoryW(base.c_str(), nullptr);
        path_ = base + L"\\" + name + L"-" + std::to_wstring(GetCurrentProcessId());
        ICBSFileUtilities::DeleteTree(path_);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~Folder() {
        // A program that just ended in this folder may keep it busy for a moment.
        if (!ICBSFileUtilities::DeleteTree(path_)) {
            Sleep(500);
            ICBSFileUtilities::DeleteTree(path_);
        }
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// The rights of the explicit entry that grants EVERYONE access, inherited by files and folders; 0 without.
inline DWORD InheritedRightsOfEveryone(const std::wstring& path) {
    ACL* acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return 0;
    BYTE world[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof world;
    CreateWellKnownSid(WinWorldSid, nullptr, world, &size);
    ULONG count = 0;
    EXPLICIT_ACCESS_W* entries = nullptr;
    DWORD rights = 0;
    if (GetExplicitEntriesFromAclW(acl, &count, &entries) == ERROR_SUCCESS) {
        for (ULONG i = 0; i < count; ++i) {
            const TRUSTEE_W& who = entries[i].Trustee;
            if (who.TrusteeForm == TRUSTEE_IS_SID && EqualSid(reinterpret_cast<PSID>(who.ptstrName), world) &&
                entries[i].grfAccessMode == GRANT_ACCESS &&
                (entries[i].grfInheritance & SUB_CONTAINERS_AND_OBJECTS_INHERIT) ==
                    SUB_CONTAINERS_AND_OBJECTS_INHERIT)
                rights |= entries[i].grfAccessPermissions;
        }
        LocalFree(entries);
    }
    LocalFree(descriptor);
    return rights;
}

// Wine runs Windows programs on a Unix file system and can start Unix programs too.
inline bool IsWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

inline std::wstring QuotedUnixPath(const std::wstring& path) {
    using Convert = char*(CDECL*)(LPCWSTR);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = convert ? convert(path.c_str()) : nullptr;
    const std::string text = unix ? unix : "";
    HeapFree(GetProcessHeap(), 0, unix);
    return L"\"" + std::wstring(text.begin(), text.end()) + L"\"";
}

// Runs a Unix program under Wine and waits for it.
inline void RunUnix(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = program + L" " + arguments;
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW((L"Z:" + program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return;
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

inline bool IsLinkFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & link) == link;
}

inline bool MakeJunction(const std::wstring& link, const std::wstring& target) {
    if (!CreateDirectoryW(link.c_str(), nullptr))
        return false;
    HANDLE folder = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // A mount-point reparse buffer: tag, lengths, then the substitute and print names, each ending in 0.
    const std::wstring substitute = L"\\??\\" + target;
    const std::wstring names = substitute + L'\0' + target + L'\0';
    std::vector<WORD> buffer(8 + names.size());
    *reinterpret_cast<DWORD*>(buffer.data()) = IO_REPARSE_TAG_MOUNT_POINT;
    const size_t unit = sizeof(WORD);
    buffer[2] = static_cast<WORD>(8 + names.size() * unit);
    buffer[5] = static_cast<WORD>(substitute.size() * unit);
    buffer[6] = static_cast<WORD>((substitute.size() + 1) * unit);
    buffer[7] = static_cast<WORD>(target.size() * unit);
    std::copy(names.begin(), names.end(), buffer.begin() + 8);
    DWORD returned = 0;
    const bool made =
        DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(),
                        static_cast<DWORD>(buffer.size() * unit), nullptr, 0, &returned, nullptr);
    CloseHandle(folder);
    if (made && IsLinkFolder(link))
        return true;
    RemoveDirectoryW(link.c_str());
    return false;
}

enum class LinkKind { None, Junction, SymbolicLink, UnixSymbolicLink };

// Makes link a link to the folder target: a junction, else a directory symbolic link, else (under Wine,
// whose file system is Unix) a Unix symbolic link, which Wine shows as a link to a folder.
inline LinkKind MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    if (MakeJunction(link, target))
        return LinkKind::Junction;
    constexpr DWORD kAllowUnprivileged = 0x2;
    if (CreateSymbolicLinkW(link.c_str(), target.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | kAllowUnprivileged) &&
        IsLinkFolder(link))
        return LinkKind::SymbolicLink;
    if (IsWine()) {
        RunUnix(L"/bin/ln", L"-s " + QuotedUnixPath(target) + L" " + QuotedUnixPath(link));
        // Wine may report a Unix program ended before it has run: give the link a moment to appear.
        for (int attempt = 0; attempt < 40 && !IsLinkFolder(link); ++attempt)
            Sleep(50);
        if (IsLinkFolder(link))
            return LinkKind::UnixSymbolicLink;
    }
    return LinkKind::None;
}

// Removes a link made by MakeFolderLink (the link only).
inline void RemoveFolderLink(const std::wstring& link, LinkKind kind) {
    if (kind == LinkKind::UnixSymbolicLink) {
        RunUnix(L"/bin/rm", L"-f " + QuotedUnixPath(link));
        for (int attempt = 0; attempt < 40 && GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
             ++attempt)
            Sleep(50);
    } else if (kind != LinkKind::None)
        RemoveDirectoryW(link.c_str());
}

} // namespace FileTest
