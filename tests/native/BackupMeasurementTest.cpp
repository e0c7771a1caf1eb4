// The backup measurement over a made-up disk: totals past 4 GiB, links that must not be followed, the
// progress steps, the stop, and the free space from the disk's clusters.
#include "server/BackupMeasurement.h"

#include <gtest/gtest.h>

#include <map>

using namespace Backup;

namespace {

constexpr uint64_t kGiB = 1024ull * 1024 * 1024;
const std::wstring kData = L"C:\\Data";
const std::wstring kSolutions = L"C:\\Data\\SolutionFiles";

FolderEntry File(const wchar_t* name, uint64_t size) {
    return {name, false, false, size};
}
FolderEntry Folder(const wchar_t* name) {
    return {name, true, false, 0};
}
FolderEntry FolderLink(const wchar_t* name) {
    return {name, true, true, 0};
}

// Folders with their listings, files with their sizes, and links that lead elsewhere. A listing below a
// link is the listing of its target, as on a real disk, so following one would count another disk's data
// or go round for ever; the listing count stops such a walk.
struct FakeDisk {
    std::map<std::wstring, std::vector<FolderEntry>> folders;
    std::map<std::wstring, uint64_t> files;
    std::map<std::wstring, std::wstring> links;
    std::optional<ClusterFacts> clusters = ClusterFacts{8, 512, 1000000};
    int listings = 0;

    std::wstring Resolve(std::wstring path) const {
        for (const auto& [link, target] : links)
            if (path == link || path.starts_with(link + L"\\"))
                return Resolve(target + path.substr(link.size()));
        return path;
    }
    MeasuringSource Source() {
        MeasuringSource source;
        source.listFolder = [this](const std::wstring& folder) -> std::optional<std::vector<FolderEntry>> {
            if (++listings > 1000)
                return std::nullopt;
            const auto found = folders.find(Resolve(folder));
            if (found == folders.end())
                return std::nullopt;
            std::vector<FolderEntry> entries{Folder(L"."), Folder(L"..")};
            entries.insert(entries.end(), found->second.begin(), found->second.end());
            return entries;
        };
        source.fileSize = [this](const std::wstring& path) {
            const auto found = files.find(path);
            return found == files.end() ? uint64_t{0} : found->second;
        };
        source.folderExists = [this](const std::wstring& path) { return folders.count(Resolve(path)) > 0; };
        source.clusters = [this](const std::wstring&) { return clusters; };
        return source;
    }
};

// A server with a 5 GiB database and a solutions tree of three folders, one of them nested.
FakeDisk ServerDisk() {
    FakeDisk disk;
    disk.folders[kData] = {File(L"halvora.db", 5 * kGiB), Folder(L"SolutionFiles")};
    disk.files[kData + L"\\halvora.db"] = 5 * kGiB;
    disk.files[kData + L"\\halvoralog.db"] = 3 * kGiB + 7;
    disk.files[kData + L"\\halvoraserver.cfg"] = 100;
    disk.folders[kSolutions] = {Folder(L"a"), File(L"s.sln", 10)};
    disk.folders[kSolutions + L"\\a"] = {Folder(L"b"), File(L"big.bin", 4 * kGiB + 1)};
    disk.folders[kSolutions + L"\\a\\b"] = {File(L"x", 1), File(L"y", 2)};
    disk.folders[L"D:\\Elsewhere"] = {Folder(L"deep"), File(L"huge.bin", 100 * kGiB)};
    disk.folders[L"D:\\Elsewhere\\deep"] = {};
    return disk;
}

struct Outcome {
    uint64_t bytes;
    uint64_t range;
    uint64_t visited;
    int progressed;
};

Outcome MeasureOn(
    FakeDisk& disk, const std::wstring& data, const std::wstring& solutions,
    const std::function<bool()>& stop = [] { return false; }) {
    BackupMeasurement values;
    int progressed = 0;
    Measure(
        data, solutions, disk.Source(), stop, [&] { ++progressed; }, values);
    return {values.BackupBytes(), values.FoldersToVisit(), values.FoldersVisited(), progressed};
}

} // namespace

TEST(BackupMeasurement, TotalsAndProgressStepsOverTrees) {
    const uint64_t serverFiles = 5 * kGiB + 3 * kGiB + 7 + 100;
    const uint64_t solutionFiles = 10 + 4 * kGiB + 1 + 1 + 2;
    struct Case {
        const char* what;
        std::function<void(FakeDisk&)> change;
        std::wstring solutions;
        uint64_t bytes;
        uint64_t range; // visited ends equal to it in every case
    };
    const Case cases[] = {
        {"server data and three solution folders", [](FakeDisk&) {}, kSolutions, serverFiles + solutionFiles,
         4},
        {"no solutions folder", [](FakeDisk& d) { d.folders.erase(kSolutions); }, kSolutions, serverFiles, 1},
        {"a missing server file adds nothing", [](FakeDisk& d) { d.files.erase(kData + L"\\halvoralog.db"); },
         kSolutions, serverFiles - (3 * kGiB + 7) + solutionFiles, 4},
        {"a junction back up the tree is one step and is not entered",
         [](FakeDisk& d) {
             d.folders[kSolutions + L"\\a\\b"].push_back(FolderLink(L"up"));
             d.links[kSolutions + L"\\a\\b\\up"] = kSolutions;
         },
         kSolutions, serverFiles + solutionFiles, 5},
        {"a link to another disk adds none of its data",
         [](FakeDisk& d) {
             d.folders[kSolutions].push_back(FolderLink(L"other"));
             d.links[kSolutions + L"\\other"] = L"D:\\Elsewhere";
         },
         kSolutions, serverFiles + solutionFiles, 5},
        {"a link to a file adds the size its listing gives",
         [](FakeDisk& d) {
             d.folders[kSolutions].push_back({L"link.bin", false, true, 0});
         },
         kSolutions, serverFiles + solutionFiles, 4},
        {"a solutions folder named elsewhere is measured as named", [](FakeDisk&) {}, L"D:\\Elsewhere",
         serverFiles + 100 * kGiB, 3},
        {"an empty solutions folder name walks nothing", [](FakeDisk&) {}, L"", serverFiles, 1},
    };
    for (const Case& c : cases) {
        FakeDisk disk = ServerDisk();
        c.change(disk);
        const Outcome outcome = MeasureOn(disk, kData, c.solutions);
        EXPECT_EQ(c.bytes, outcome.bytes) << c.what;
        EXPECT_EQ(c.range, outcome.range) << c.what;
        EXPECT_EQ(c.range, outcome.visited) << c.what;
        EXPECT_EQ(c.range, static_cast<uint64_t>(outcome.progressed)) << c.what;
        EXPECT_LT(disk.listings, 100) << c.what;
    }
}

TEST(BackupMeasurement, WithoutTheDataFolderOnlyTheSolutionsCount) {
    FakeDisk disk = ServerDisk();
    disk.folders.erase(kData);
    const Outcome outcome = MeasureOn(disk, kData, kSolutions);
    EXPECT_EQ(10 + 4 * kGiB + 1 + 1 + 2, outcome.bytes);
    EXPECT_EQ(4u, outcome.range);
    EXPECT_EQ(3u, outcome.visited);
}

TEST(BackupMeasurement, TheStopEndsTheWalkEarly) {
    FakeDisk disk = ServerDisk();
    EXPECT_EQ(0u, MeasureOn(disk, kData, kSolutions, [] { return true; }).range);

    int checks = 0;
    const Outcome outcome = MeasureOn(disk, kData, kSolutions, [&] { return ++checks > 3; });
    EXPECT_EQ(4u, outcome.range);
    EXPECT_LT(outcome.visited, 4u);
    EXPECT_LT(outcome.bytes, 5 * kGiB + 3 * kGiB + 107 + 4 * kGiB);
}

TEST(BackupMeasurement, FolderCountsDoNotFollowLinks) {
    FakeDisk disk = ServerDisk();
    disk.folders[kSolutions].push_back(FolderLink(L"loop"));
    disk.links[kSolutions + L"\\loop"] = kSolutions;
    EXPECT_EQ(4u, CountFolders(kSolutions, disk.Source()));
    EXPECT_EQ(0u, CountFolders(L"C:\\Missing", disk.Source()));
    EXPECT_EQ(0u, CountFolders(L"", disk.Source()));
}

TEST(BackupMeasurement, FreeSpaceIsMultipliedIn64Bits) {
    struct Case {
        std::optional<ClusterFacts> clusters;
        uint64_t mib;
    };
    const Case cases[] = {
        {std::nullopt, 0},
        {ClusterFacts{8, 512, 256}, 1},
        {ClusterFacts{8, 512, 255}, 0},
        // 5 GiB in 4 KiB clusters: 1310720 clusters, past 32 bits once multiplied.
        {ClusterFacts{8, 512, 1310720}, 5120},
        // A nearly full 32-bit cluster count of 64 KiB clusters: about 256 TiB.
        {ClusterFacts{128, 512, 0xFFFFFFFFu}, 0xFFFFFFFFull * 65536 / (1024 * 1024)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.mib, FreeMiB(c.clusters));
}

TEST(BackupMeasurement, TheProgressBarTakesIntsAndNeverPassesItsRange) {
    struct Case {
        uint64_t toVisit, visited;
        int range, position;
    };
    const Case cases[] = {
        {1, 0, 1, 0},
        {4, 4, 4, 4},
        {4, 6, 4, 4},
        {0x1'0000'0005ull, 3, 0x7FFFFFFF, 3},
        {0x1'0000'0005ull, 0x1'0000'0001ull, 0x7FFFFFFF, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        const ProgressBarState bar = ProgressBar(c.toVisit, c.visited);
        EXPECT_EQ(c.range, bar.range);
        EXPECT_EQ(c.position, bar.position);
    }
}
