// The backup measurement over a real data folder: nested solution folders with files of known sizes, a
// database file above 4 GiB (sparse, so it takes no disk), and a link back up the tree that must not be
// followed.
#include "FileTestSupport.h"
#include "server/BackupOptionsRules.h"
#include "server/BackupSource_win.h"

#include "support/Handle_win.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace FileTest;

namespace {

constexpr uint64_t kFiveGiB = 5ull << 30;

bool MakeSparseFile(const std::wstring& path, uint64_t size) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file)
        return false;
    DWORD returned = 0;
    DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get());
}

} // namespace

TEST(BackupSource, MeasuresRealFoldersInSixtyFourBitsWithoutFollowingLinks) {
    const Folder data(L"backup-data");
    ASSERT_TRUE(MakeSparseFile(data / L"halvora.db", kFiveGiB));
    ASSERT_TRUE(WriteText(data / L"halvoralog.db", std::string(1000, 'l')));
    ASSERT_TRUE(WriteText(data / L"halvoraserver.cfg", std::string(100, 'c')));
    const std::wstring solutions = data / L"SolutionFiles";
    for (const wchar_t* folder : {L"", L"\\a", L"\\a\\b", L"\\c"})
        CreateDirectoryW((solutions + folder).c_str(), nullptr);
    ASSERT_TRUE(WriteText(solutions + L"\\top.txt", std::string(10, 't')));
    ASSERT_TRUE(WriteText(solutions + L"\\a\\b\\deep.txt", std::string(20, 'd')));
    ASSERT_TRUE(WriteText(solutions + L"\\c\\side.txt", std::string(30, 's')));
    // A link back to the data folder: followed, it would count the database again, and loop.
    const bool linked = MakeJunction(solutions + L"\\a\\loop", data.Path());

    Backup::BackupMeasurement values;
    int steps = 0;
    Backup::Measure(
        data.Path(), solutions, WindowsMeasuringSource(), [] { return false; }, [&] { ++steps; }, values);
    EXPECT_EQ(kFiveGiB + 1100 + 60, values.BackupBytes());
    // The data folder's files, then the solutions folder and its three subfolders (and the link as one).
    const uint64_t folders = linked ? 6 : 5;
    EXPECT_EQ(folders, values.FoldersToVisit());
    EXPECT_EQ(folders, values.FoldersVisited());
    EXPECT_EQ(static_cast<int>(folders), steps);
    EXPECT_GT(values.FreeMiB(), 0u);
    EXPECT_EQ(L"5 GB", Backup::SizeText(Backup::NeededMiB(values.BackupBytes())));
}

// Benchmark, not a test (run by scripts/bench-backup.sh): the measurement's speed over a tree of many
// thousand files. Prints the counts and the time; never fails on a slow machine.
TEST(BackupSource, DISABLED_MeasuringSpeedOnManyFiles) {
    const Folder data(L"backup-bench");
    const std::wstring solutions = data / L"SolutionFiles";
    CreateDirectoryW(solutions.c_str(), nullptr);
    constexpr int kFolders = 100, kFilesPerFolder = 100;
    for (int f = 0; f < kFolders; ++f) {
        const std::wstring folder = solutions + L"\\s" + std::to_wstring(f);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < kFilesPerFolder; ++i)
            WriteText(folder + L"\\f" + std::to_wstring(i) + L".xml", std::string(100 + i, 'x'));
    }
    for (int round = 0; round < 3; ++round) {
        Backup::BackupMeasurement values;
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        Backup::Measure(
            data.Path(), solutions, WindowsMeasuringSource(), [] { return false; }, {}, values);
        QueryPerformanceCounter(&end);
        const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
        printf("== measure round %d: %d files in %llu folders, %llu bytes, %.1f ms (%.0f files/s)\n",
               round + 1, kFolders * kFilesPerFolder,
               static_cast<unsigned long long>(values.FoldersVisited()),
               static_cast<unsigned long long>(values.BackupBytes()), ms,
               kFolders * kFilesPerFolder * 1000.0 / ms);
    }
}
