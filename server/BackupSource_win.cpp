#include "server/BackupSource_win.h"

#include "support/FileUtilities_win.h"
#include "support/Handle_win.h"

namespace {

uint64_t SizeOf(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

std::optional<std::vector<Backup::FolderEntry>> ListFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    FindHandle find(FindFirstFileW((folder + L"\\*.*").c_str(), &found));
    if (!find)
        return std::nullopt;
    std::vector<Backup::FolderEntry> entries;
    do {
        Backup::FolderEntry entry;
        entry.name = found.cFileName;
        entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.size = entry.folder ? 0 : SizeOf(found.nFileSizeHigh, found.nFileSizeLow);
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find.Get(), &found));
    return entries;
}

uint64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
}

std::optional<Backup::ClusterFacts> Clusters(const std::wstring& path) {
    if (path.empty())
        return std::nullopt;
    // The volume is named by a folder on it, written with its trailing separator.
    const std::wstring folder = path.back() == L'\\' ? path : path + L"\\";
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(folder.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return std::nullopt;
    return Backup::ClusterFacts{sectorsPerCluster, bytesPerSector, freeClusters};
}

} // namespace

Backup::MeasuringSource WindowsMeasuringSource() {
    return {ListFolder, FileSize, ICBSFileUtilities::IsFolder, Clusters};
}
