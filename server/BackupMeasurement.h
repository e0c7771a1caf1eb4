// The backup measurement of the main server line's data: the worker's whole walk over the data folder's
// files and the solutions tree, and the values it shares with the page. The Windows side hands in how to
// list a folder, a file's size and the disk's clusters; the page owns one BackupMeasurement, the worker
// writes it and the user-interface thread reads it while it waits.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Backup {

inline constexpr uint64_t kBytesPerMiB = 1048576;

// The page's wait for its worker: a wait on the thread, then a pause before the values are shown again.
// The one-second drain afterwards is the worker protocol's own.
inline constexpr unsigned kWorkerWaitSliceMs = 300;
inline constexpr unsigned kRefreshPauseMs = 200;
inline constexpr std::wstring_view kWorkerCreatedLogLine = L"VNT (c): CreatedBackupWorkerThread\r\n";

// What the disk reports for the data folder's volume, as the platform's cluster query gives it.
struct ClusterFacts {
    uint32_t sectorsPerCluster = 0;
    uint32_t bytesPerSector = 0;
    uint32_t freeClusters = 0;
};
// Free MiB from the clusters, multiplied in 64 bits; unreadable facts count as no free space.
uint64_t FreeMiB(const std::optional<ClusterFacts>& clusters);

// One entry of a folder listing, "." and ".." included or not.
struct FolderEntry {
    std::wstring name;
    bool folder = false;
    bool link = false; // a reparse point: a junction or a symbolic link, to a folder or to a file
    uint64_t size = 0; // a file's full size
};

// The disk as the measurement sees it.
struct MeasuringSource {
    // The entries of a folder in listing order; none when it is not a folder or cannot be listed.
    std::function<std::optional<std::vector<FolderEntry>>(const std::wstring& folder)> listFolder;
    // A file's full size; 0 when it is missing.
    std::function<uint64_t(const std::wstring& path)> fileSize;
    std::function<bool(const std::wstring& path)> folderExists;
    // The data folder's volume; none when it cannot be read.
    std::function<std::optional<ClusterFacts>(const std::wstring& path)> clusters;
};

// The measured values. Only the worker writes them; the user-interface thread reads them at any time and
// never sees half of a 64-bit value.
class BackupMeasurement {
public:
    uint64_t FreeMiB() const { return freeMiB_.load(); }
    uint64_t BackupBytes() const { return backupBytes_.load(); }
    // The progress range: one step for the data folder's files and one for every folder of the solutions
    // tree, a link to a folder counted as one.
    uint64_t FoldersToVisit() const { return foldersToVisit_.load(); }
    uint64_t FoldersVisited() const { return foldersVisited_.load(); }

    void SetFreeMiB(uint64_t mib) { freeMiB_.store(mib); }
    void SetFoldersToVisit(uint64_t count) { foldersToVisit_.store(count); }
    void AddBytes(uint64_t bytes) { backupBytes_.fetch_add(bytes); }
    void FolderVisited() { foldersVisited_.fetch_add(1); }

private:
    std::atomic<uint64_t> freeMiB_{0};
    std::atomic<uint64_t> backupBytes_{0};
    std::atomic<uint64_t> foldersToVisit_{0};
    std::atomic<uint64_t> foldersVisited_{0};
};

// The folder and every folder below it; a link to a folder counts as one and is not entered, so a link
// to another disk or back up the tree is neither counted nor walked. 0 when there is no folder.
uint64_t CountFolders(const std::wstring& folder, const MeasuringSource& source);

// The worker: the free space, the progress range, the data folder's three files, then the solutions tree
// depth first, subfolders before the folder that holds them. Links are not followed: a link to a folder
// adds nothing and is one step of the progress; a link to a file adds the size its listing gives. The
// folders given are measured as named. Stops early when stop says so (checked between entries); every
// step of the progress is also announced through progressed.
void Measure(const std::wstring& dataFolder, const std::wstring& solutionsFolder,
             const MeasuringSource& source, const std::function<bool()>& stop,
             const std::function<void()>& progressed, BackupMeasurement& values);

// The progress bar's range and position, which the bar takes as ints.
struct ProgressBarState {
    int range = 0;
    int position = 0;
};
ProgressBarState ProgressBar(uint64_t foldersToVisit, uint64_t foldersVisited);

} // namespace Backup
