#include "CabinetTestSupport.h"

#include "extraction/CabinetExtractor_win.h"
#include "extraction/CabinetStreams_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>

using namespace CabinetTest;

namespace {

// The files of sample.cab, in the cabinet's order.
const std::vector<std::wstring> kSampleFiles = {L"readme.txt", L"empty.txt", L"docs\\guide.txt",
                                                L"docs\\deep\\data.bin"};

struct Source {
    const char* name;
    std::function<CabinetExtractor(const std::wstring& destination)> make;
};

} // namespace

TEST(CabinetExtractor, ExtractsSubFoldersByteForByteFromFileResourceAndMemory) {
    const std::string resource = ReadBytes(DataFile(L"sample.res"));
    const uint32_t cabinetSize = static_cast<uint32_t>(resource.size() - 4);
    const Source sources[] = {
        {"file",
         [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"sample.cab"), to); }},
        {"resource",
         [](const std::wstring& to) { return CabinetExtractor::FromResource(L"SAMPLE_CABINET", to); }},
        {"memory",
         [&](const std::wstring& to) {
             return CabinetExtractor::FromMemory(resource.data(), resource.size(), to);
         }},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        ScratchFolder scratch(L"cabinet-sample");
        // The destination does not exist yet: it is created with the cabinet's own folders.
        const std::wstring destination = scratch / L"out";
        RecordingReceiver receiver;
        CabinetExtractor extractor = source.make(destination);
        ASSERT_EQ(ExtractionOutcome::Extracted, extractor.ExtractAll(&receiver));

        std::vector<std::wstring> expectedFiles;
        for (const auto& name : kSampleFiles) {
            expectedFiles.push_back(destination + L"\\" + name);
            EXPECT_EQ(ReadBytes(DataFile(L"source\\" + name)), ReadBytes(destination + L"\\" + name))
                << std::string(name.begin(), name.end());
        }
        EXPECT_EQ(expectedFiles, receiver.files);
        EXPECT_TRUE(receiver.filesExistingAtStart.empty());

        // Every byte count is followed by its percentage; both only grow and end at the whole cabinet.
        ASSERT_FALSE(receiver.bytesReported.empty());
        ASSERT_EQ(receiver.bytesReported.size(), receiver.percents.size());
        for (size_t i = 0; i + 1 < receiver.events.size(); ++i) {
            if (receiver.events[i].starts_with(L"bytes "))
                EXPECT_TRUE(receiver.events[i + 1].starts_with(L"percent ")) << i;
        }
        // Once the files start, the cabinet is read front to back (its headers may be read more than once).
        uint32_t lastBytes = 0;
        bool filesStarted = false;
        for (const auto& event : receiver.events) {
            filesStarted = filesStarted || event.starts_with(L"file ");
            if (filesStarted && event.starts_with(L"bytes ")) {
                const uint32_t bytes = std::stoul(event.substr(6));
                EXPECT_GE(bytes, lastBytes);
                lastBytes = bytes;
            }
        }
        EXPECT_EQ(cabinetSize, receiver.bytesReported.back());
        EXPECT_EQ(100, receiver.percents.back());
    }
}

TEST(CabinetExtractor, ExtractsWithoutReceiverAndReplacesExistingFiles) {
    ScratchFolder scratch(L"cabinet-replace");
    HANDLE old =
        CreateFileW((scratch / L"readme.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(old, "a much longer old text that must not survive at the end", 56, &written, nullptr);
    CloseHandle(old);
    ASSERT_EQ(ExtractionOutcome::Extracted,
              CabinetExtractor::FromFile(DataFile(L"sample.cab"), scratch.Path()).ExtractAll(nullptr));
    EXPECT_EQ(ReadBytes(DataFile(L"source\\readme.txt")), ReadBytes(scratch / L"readme.txt"));
}

namespace {

SYSTEMTIME LocalTimeOf(const FILETIME& universal) {
    SYSTEMTIME utc = {};
    SYSTEMTIME local = {};
    FileTimeToSystemTime(&universal, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local;
}

void ExpectStamp(const SYSTEMTIME& time) {
    EXPECT_EQ(2021, time.wYear);
    EXPECT_EQ(3, time.wMonth);
    EXPECT_EQ(4, time.wDay);
    EXPECT_EQ(5, time.wHour);
    EXPECT_EQ(6, time.wMinute);
    EXPECT_EQ(8, time.wSecond);
}

// Whether this file system keeps a creation time that a program sets (Wine's Unix file systems do not).
bool CreationTimeIsKept(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\probe";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    FILETIME old = {0x10000000, 0x01C00000};
    SetFileTime(file, &old, nullptr, nullptr);
    CloseHandle(file);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(probe.c_str(), GetFileExInfoStandard, &data);
    DeleteFileW(probe.c_str());
    return CompareFileTime(&data.ftCreationTime, &old) == 0;
}

} // namespace

TEST(CabinetExtractor, CreationTimeIsTheStoredDosTimeReadAsLocalTime) {
    // 2021-03-04 05:06:08 as the cabinet stores it.
    const USHORT date = (41 << 9) | (3 << 5) | 4;
    const USHORT time = (5 << 11) | (6 << 5) | 4;
    FILETIME universal = {};
    ASSERT_TRUE(CabinetStreams::DosDateTimeToUniversal(date, time, universal));
    ExpectStamp(LocalTimeOf(universal));

    ScratchFolder scratch(L"cabinet-stamped");
    ASSERT_EQ(ExtractionOutcome::Extracted,
              CabinetExtractor::FromFile(DataFile(L"stamped.cab"), scratch.Path()).ExtractAll(nullptr));
    // A name flagged as UTF-8 keeps its characters, whatever the ANSI code page.
    EXPECT_EQ("utf-8 name\r\n", ReadBytes(scratch / L"Gr\u00FC\u00DFe\\\u65E5\u672C.txt"));

    if (!CreationTimeIsKept(scratch.Path()))
        GTEST_SKIP() << "this file system does not keep creation times";
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW((scratch / L"stamp.txt").c_str(), GetFileExInfoStandard, &data));
    ExpectStamp(LocalTimeOf(data.ftCreationTime));
    EXPECT_NE(2021, LocalTimeOf(data.ftLastWriteTime).wYear); // the write time stays the time of extraction
}

TEST(CabinetExtractor, EntriesLeavingTheDestinationStopTheExtraction) {
    struct Case {
        const wchar_t* cabinet;
        std::wstring escapeTarget; // where the hostile entry would have landed; empty: beside the destination
    };
    wchar_t rootOfDrive[MAX_PATH] = {};
    GetFullPathNameW(L"\\e_escape_root.txt", MAX_PATH, rootOfDrive, nullptr);
    wchar_t onDriveC[MAX_PATH] = {};
    GetFullPathNameW(L"C:e_escape_drive.txt", MAX_PATH, onDriveC, nullptr);
    const Case cases[] = {
        {L"hostile_parent.cab", L"e_escape_parent.txt"},
        {L"hostile_nested.cab", L"e_escape_nested.txt"},
        {L"hostile_slash.cab", L"e_escape_slash.txt"},
        {L"hostile_root.cab", rootOfDrive},
        {L"hostile_drive.cab", onDriveC},
        {L"hostile_unc.cab", L"C:\\e_escape_unc.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.cabinet).c_str());
        ScratchFolder scratch(L"cabinet-hostile");
        const std::wstring destination = scratch / L"dest";
        const std::wstring target =
            c.escapeTarget.find(L'\\') == std::wstring::npos ? scratch / c.escapeTarget : c.escapeTarget;
        DeleteFileW(target.c_str());
        RecordingReceiver receiver;
        EXPECT_EQ(ExtractionOutcome::Failed,
                  CabinetExtractor::FromFile(DataFile(c.cabinet), destination).ExtractAll(&receiver));
        EXPECT_FALSE(Exists(target));
        // The harmless entry before it was written and stays; the hostile one was never started.
        EXPECT_EQ("harmless\r\n", ReadBytes(destination + L"\\ok.txt"));
        EXPECT_EQ(std::vector<std::wstring>{destination + L"\\ok.txt"}, receiver.files);
    }
}

TEST(CabinetExtractor, DamagedOrMissingCabinetsFailWithoutDiskFull) {
    const std::string resource = ReadBytes(DataFile(L"sample.res"));
    const std::string cutResource = resource.substr(0, resource.size() / 2); // its count claims more
    const Source sources[] = {
        {"truncated",
         [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"truncated.cab"), to); }},
        {"garbled",
         [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"garbled.cab"), to); }},
        {"missing file",
         [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"none.cab"), to); }},
        {"empty path", [](const std::wstring& to) { return CabinetExtractor::FromFile(L"", to); }},
        {"missing resource",
         [](const std::wstring& to) { return CabinetExtractor::FromResource(L"NO_SUCH", to); }},
        {"not a cabinet",
         [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"sample.res"), to); }},
        {"cut resource",
         [&](const std::wstring& to) {
             return CabinetExtractor::FromMemory(cutResource.data(), cutResource.size(), to);
         }},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        ScratchFolder scratch(L"cabinet-damaged");
        EXPECT_EQ(ExtractionOutcome::Failed, source.make(scratch.Path()).ExtractAll(nullptr));
    }
    // Nothing was left open: the next extraction works as usual.
    ScratchFolder scratch(L"cabinet-after-damage");
    EXPECT_EQ(ExtractionOutcome::Extracted,
              CabinetExtractor::FromFile(DataFile(L"sample.cab"), scratch.Path()).ExtractAll(nullptr));
}

TEST(CabinetExtractor, DestinationPathLongerThanThePathBufferFails) {
    ScratchFolder scratch(L"cabinet-long");
    // "readme.txt" still fits in 259 characters; "docs\guide.txt" does not and must not be written shortened.
    std::wstring destination = scratch.Path() + L"\\";
    destination += std::wstring(259 - 11 - destination.size(), L'd');
    ASSERT_EQ(248u, destination.size());
    RecordingReceiver receiver;
    EXPECT_EQ(ExtractionOutcome::Failed,
              CabinetExtractor::FromFile(DataFile(L"sample.cab"), destination).ExtractAll(&receiver));
    EXPECT_EQ((std::vector<std::wstring>{destination + L"\\readme.txt", destination + L"\\empty.txt"}),
              receiver.files);
    EXPECT_FALSE(Exists(destination + L"\\docs"));
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((destination + L"\\*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..")
                ++entries;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(2, entries);
}

TEST(CabinetExtractor, AFullDiskEndsInDiskFull) {
    // A 128 KB tmpfs mounted by the test fixture (tools/testdata/full_disk.sh); sample.cab holds 400 KB.
    const std::wstring volume = ProgramFolder() + L"\\testdata\\fulldisk";
    ULARGE_INTEGER available = {}, total = {};
    if (!GetDiskFreeSpaceExW((volume + L"\\").c_str(), &available, &total, nullptr) ||
        total.QuadPart > 1024 * 1024)
        GTEST_SKIP() << "no small volume mounted at testdata\\fulldisk (needs root)";
    ScratchFolder scratch(L"out", volume);
    EXPECT_EQ(ExtractionOutcome::DiskFull,
              CabinetExtractor::FromFile(DataFile(L"sample.cab"), scratch.Path()).ExtractAll(nullptr));
    EXPECT_TRUE(Exists(scratch / L"readme.txt"));
}

TEST(CabinetExtractor, ACabinetContinuedInANextCabinetFailsInsteadOfWaitingForIt) {
    const std::string resource = ReadBytes(DataFile(L"spanning.res"));
    const Source sources[] = {
        {"file",
         [](const std::wstring& to) { return CabinetExtractor::FromFile(DataFile(L"spanning.cab"), to); }},
        {"memory",
         [&](const std::wstring& to) {
             return CabinetExtractor::FromMemory(resource.data(), resource.size(), to);
         }},
    };
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        ScratchFolder scratch(L"cabinet-spanning");
        std::atomic<int> result = -1;
        std::thread worker(
            [&] { result = static_cast<int>(source.make(scratch.Path()).ExtractAll(nullptr)); });
        // A regression would loop for ever asking for the next cabinet: end the test program instead.
        for (int waited = 0; result < 0 && waited < 20000; waited += 50)
            Sleep(50);
        if (result < 0) {
            ADD_FAILURE() << "the extraction did not end";
            std::fflush(stdout);
            ExitProcess(1);
        }
        worker.join();
        EXPECT_EQ(static_cast<int>(ExtractionOutcome::Failed), result);
    }
}
