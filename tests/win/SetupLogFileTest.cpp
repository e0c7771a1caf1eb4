#include "FileTestSupport.h"

#include "launcher/SetupLogFile_win.h"
#include "support/Format.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

using namespace FileTest;

namespace {

// The UTF-16LE bytes of text, whatever the size of wchar_t.
std::string Utf16Le(const std::wstring& text) {
    std::string bytes;
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

// Reads the file through a second handle while the log may still hold it open for writing.
std::string ReadWhileOpen(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<cannot open: " + std::to_string(GetLastError()) + ">";
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

} // namespace

// Created anew or appended to with "+": UTF-16LE, no byte-order mark, every line readable at once.
TEST(SetupLogFile, CreatesOrAppendsAndWritesUtf16WithoutMark) {
    const std::string earlier = Utf16Le(L"earlier run\r\n");
    const struct {
        const char* name;
        bool existing;
        bool append;
        std::string expected;
    } cases[] = {
        {"new file", false, false, ""},
        {"existing file replaced", true, false, ""},
        {"existing file appended to", true, true, earlier},
        {"missing file created for appending", false, true, ""},
    };
    for (const auto& c : cases) {
        Folder folder(L"log");
        const std::wstring path = folder / L"setup.log";
        if (c.existing)
            ASSERT_TRUE(WriteText(path, earlier));
        SetupLogFile log;
        ASSERT_TRUE(log.Open(path, c.append)) << c.name;
        EXPECT_TRUE(log.IsOpen());
        log.Write(L"=== first\r\n");
        // Flushed at once: another handle sees the line while the log is still open.
        EXPECT_EQ(c.expected + Utf16Le(L"=== first\r\n"), ReadWhileOpen(path)) << c.name;
        log.Write(L"VNT (c): \x00E9\x4E2D\xD83D\xDE00\r\n");
        EXPECT_EQ(c.expected + Utf16Le(L"=== first\r\nVNT (c): \x00E9\x4E2D\xD83D\xDE00\r\n"),
                  ReadWhileOpen(path))
            << c.name;
        log.Close();
        EXPECT_FALSE(log.IsOpen());
        const std::string bytes = ReadText(path);
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_FALSE(bytes[0] == '\xFF' && bytes[1] == '\xFE') << c.name << ": byte-order mark";
    }
}

// Around an installer action the log is closed and reopened for appending; nothing is lost.
TEST(SetupLogFile, ReopenedLogContinuesAtTheEnd) {
    Folder folder(L"log");
    const std::wstring path = folder / L"setup.log";
    SetupLogFile log;
    ASSERT_TRUE(log.Open(path, false));
    log.Write(L"before\r\n");
    log.Close();
    ASSERT_TRUE(WriteText(path, ReadText(path) + Utf16Le(L"installer's own\r\n")));
    ASSERT_TRUE(log.Open(path, true));
    log.Write(L"after\r\n");
    log.Close();
    EXPECT_EQ(Utf16Le(L"before\r\ninstaller's own\r\nafter\r\n"), ReadText(path));
}

TEST(SetupLogFile, FailureToOpenLeavesNoLog) {
    Folder folder(L"log");
    SetupLogFile log;
    EXPECT_FALSE(log.Open(folder / L"missing folder\\setup.log", false));
    EXPECT_FALSE(log.IsOpen());
    log.Write(L"ignored\r\n"); // silently nothing
    log.Close();
    EXPECT_FALSE(Exists(folder / L"missing folder"));
}

// The user-interface thread and a worker log at the same time: every line arrives whole, none is lost, and
// the verbosity of the log mode still decides which lines are written.
TEST(SetupLogWriter, LinesOfTwoThreadsLoggingAtOnceStayWhole) {
    Folder folder(L"log-threads");
    const std::wstring path = folder / L"setup.log";
    constexpr int kLinesPerThread = 3000;
    {
        SetupLogWriter log;
        log.Open(path, 0x10, 0); // "i": levels 1 to 3
        auto writeMany = [&log](wchar_t thread) {
            for (int i = 0; i < kLinesPerThread; ++i) {
                log.WriteLine(3, Format(L"VNT (c): thread %s line %d of a log written by two threads\r\n",
                                        std::wstring(1, thread), i));
                log.WriteLine(4, L"too verbose for the mode\r\n");
            }
        };
        std::thread worker(writeMany, L'w');
        writeMany(L'u');
        worker.join();
    }
    const std::string bytes = ReadWhileOpen(path);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    std::set<std::wstring> seen;
    size_t start = 0;
    for (size_t end = text.find(L"\r\n"); end != std::wstring::npos; end = text.find(L"\r\n", start)) {
        const std::wstring line = text.substr(start, end - start);
        wchar_t thread = 0;
        int number = -1, consumed = 0;
        const bool whole =
            swscanf(line.c_str(), L"VNT (c): thread %lc line %d of a log written by two threads%n", &thread,
                    &number, &consumed) == 2 &&
            static_cast<size_t>(consumed) == line.size();
        EXPECT_TRUE(whole) << "broken line: " << std::string(line.begin(), line.end());
        EXPECT_TRUE(seen.insert(line).second) << "line written twice";
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()); // nothing after the last line break
    EXPECT_EQ(seen.size(), 2u * kLinesPerThread);
}
