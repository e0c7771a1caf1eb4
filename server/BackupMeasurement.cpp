#include "server/BackupMeasurement.h"

#include "server/ServerDataSettings.h"

#include <algorithm>
#include <climits>

namespace Backup {

namespace {

bool IsDotEntry(const FolderEntry& entry) {
    return entry.name == L"." || entry.name == L"..";
}

// Walks a folder that exists (and is not a link): its subfolders first, then its files, then one step.
// An explicit stack keeps a deep tree from exhausting the worker's stack.
void Walk(const std::wstring& root, const MeasuringSource& source, const std::function<bool()>& stop,
          const std::function<void()>& progressed, BackupMeasurement& values) {
    struct Pending {
        std::wstring folder;
        std::vector<FolderEntry> entries;
        size_t next = 0;
    };
    const auto step = [&] {
        values.FolderVisited();
        if (progressed)
            progressed();
    };
    std::vector<Pending> stack;
    const auto enter = [&](const std::wstring& folder) {
        stack.push_back({folder, source.listFolder(folder).value_or(std::vector<FolderEntry>()), 0});
    };
    enter(root);
    while (!stack.empty()) {
        if (stop())
            return;
        Pending& top = stack.back();
        if (top.next == top.entries.size()) {
            stack.pop_back();
            step();
            continue;
        }
        const FolderEntry& entry = top.entries[top.next++];
        if (IsDotEntry(entry))
            continue;
        if (!entry.folder)
            values.AddBytes(entry.size);
        else if (entry.link)
            step();
        else
            enter(ServerData::InFolder(top.folder, entry.name));
    }
}

} // namespace

uint64_t FreeMiB(const std::optional<ClusterFacts>& clusters) {
    if (!clusters)
        return 0;
    // The platform gives 32-bit counts; their product passes 4 GiB on any disk with more free space.
    const uint64_t clusterBytes = uint64_t{clusters->sectorsPerCluster} * clusters->bytesPerSector;
    return clusterBytes * clusters->freeClusters / kBytesPerMiB;
}

uint64_t CountFolders(const std::wstring& folder, const MeasuringSource& source) {
    if (folder.empty())
        return 0;
    std::vector<std::wstring> pending{folder};
    uint64_t count = 0;
    bool first = true;
    while (!pending.empty()) {
        const std::wstring current = std::move(pending.back());
        pending.pop_back();
        const auto entries = source.listFolder(current);
        if (first && !entries)
            return 0;
        first = false;
        ++count;
        if (!entries)
            continue;
        for (const FolderEntry& entry : *entries) {
            if (!entry.folder || IsDotEntry(entry))
                continue;
            if (entry.link)
                ++count;
            else
                pending.push_back(ServerData::InFolder(current, entry.name));
        }
    }
    return count;
}

void Measure(const std::wstring& dataFolder, const std::wstring& solutionsFolder,
             const MeasuringSource& source, const std::function<bool()>& stop,
             const std::function<void()>& progressed, BackupMeasurement& values) {
    if (stop())
        return;
    values.SetFreeMiB(FreeMiB(source.clusters(dataFolder)));
    values.SetFoldersToVisit(1 + CountFolders(solutionsFolder, source));
    if (!dataFolder.empty() && source.folderExists(dataFolder)) {
        for (const std::wstring_view name : ServerData::kBackedUpFiles)
            values.AddBytes(source.fileSize(ServerData::InFolder(dataFolder, name)));
        values.FolderVisited();
        if (progressed)
            progressed();
    }
    if (!solutionsFolder.empty() && source.folderExists(solutionsFolder))
        Walk(solutionsFolder, source, stop, progressed, values);
}

ProgressBarState ProgressBar(uint64_t foldersToVisit, uint64_t foldersVisited) {
    const uint64_t range = std::min<uint64_t>(foldersToVisit, INT_MAX);
    // Folders made while the walk runs may be visited without having been counted.
    return {static_cast<int>(range), static_cast<int>(std::min(foldersVisited, range))};
}

} // namespace Backup
