// The disk operations of ICBSFilePath.
#include "support/FilePath.h"

#include "support/FileUtilities_win.h"
#include "support/Format.h"
#include "support/Handle_win.h"

bool ICBSFilePath::Exists() const {
    return ICBSFileUtilities::Exists(FullPath());
}

int64_t ICBSFilePath::Size() const {
    FileHandle file(CreateFileW(FullPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return 0;
    return size.QuadPart;
}

std::optional<FileVersionNumbers> ICBSFilePath::VersionNumbers() const {
    const std::wstring path = FullPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof *info)
        return std::nullopt;
    return FileVersionNumbers{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                              HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

std::wstring ICBSFilePath::Version() const {
    const auto version = VersionNumbers();
    return version ? Format(L"%i.%i.%i.%i", version->major, version->minor, version->build, version->revision)
                   : std::wstring();
}

bool ICBSFilePath::CopyTo(const std::wstring& target, bool failIfExists) const {
    return ICBSFileUtilities::CopyFile(FullPath(), target, failIfExists);
}

ICBSFilePath ICBSFilePath::ModulePath(HINSTANCE__* module) {
    // Grows past the classic limit instead of cutting a long path short.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return ICBSFilePath(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}
