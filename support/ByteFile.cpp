#include "support/ByteFile.h"
#include "support/ICBSString.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#else
#include <cerrno>
#endif

namespace ByteFile {

namespace {

#ifdef _WIN32
using NativePath = std::wstring;
NativePath ToNative(const std::wstring& path) {
    return path;
}
constexpr bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}
FILE* OpenFile(const NativePath& path, bool write) {
    return _wfopen(path.c_str(), write ? L"wb" : L"rb");
}
bool StatPath(const NativePath& path, bool& folder) {
    struct _stat64 info;
    if (_wstat64(path.c_str(), &info) != 0)
        return false;
    folder = (info.st_mode & _S_IFDIR) != 0;
    return true;
}
void MakeFolder(const NativePath& path) {
    _wmkdir(path.c_str());
}
#else
using NativePath = std::string;
// File names are UTF-8 here.
NativePath ToNative(const std::wstring& path) { return ICBSString(path).ToUtf8(); }
constexpr bool IsSeparator(char c) {
    return c == '/';
}
FILE* OpenFile(const NativePath& path, bool write) {
    return std::fopen(path.c_str(), write ? "wb" : "rb");
}
bool StatPath(const NativePath& path, bool& folder) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return false;
    folder = S_ISDIR(info.st_mode);
    return true;
}
void MakeFolder(const NativePath& path) {
    mkdir(path.c_str(), 0777);
}
#endif

// Every folder on the way to the file; a prefix that is a root or already exists just fails to be made.
void CreateParentFolders(const NativePath& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (IsSeparator(path[i]) && !IsSeparator(path[i - 1]))
            MakeFolder(path.substr(0, i));
    }
}

struct FileCloser {
    void operator()(FILE* file) const {
        if (file)
            std::fclose(file);
    }
};

} // namespace

bool Exists(const std::wstring& path) {
    bool folder = false;
    return !path.empty() && StatPath(ToNative(path), folder);
}

bool IsFolder(const std::wstring& path) {
    bool folder = false;
    return !path.empty() && StatPath(ToNative(path), folder) && folder;
}

std::optional<std::string> ReadAll(const std::wstring& path) {
    if (path.empty() || IsFolder(path))
        return std::nullopt;
    std::unique_ptr<FILE, FileCloser> file(OpenFile(ToNative(path), false));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, got);
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
}

bool WriteAll(const std::wstring& path, std::string_view bytes) {
    if (path.empty())
        return false;
    const NativePath native = ToNative(path);
    CreateParentFolders(native);
    std::unique_ptr<FILE, FileCloser> file(OpenFile(native, true));
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

std::vector<std::wstring> SplitLines(std::string_view bytes) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        else if (end > start && bytes[end - 1] == '\r')
            --end;
        std::wstring line(end - start, L'\0');
        for (size_t i = start; i < end; ++i)
            line[i - start] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
        lines.push_back(std::move(line));
        start = next;
    }
    return lines;
}

std::string ToTextModeBytes(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (const wchar_t c : text) {
        if (c == L'\n')
            bytes += '\r';
        const auto code = static_cast<unsigned long>(c);
        bytes += code <= 0xFF ? static_cast<char>(code) : '?';
    }
    return bytes;
}

} // namespace ByteFile
