#include "FileTestSupport.h"

#include "support/FileUtilities_win.h"

#include <gtest/gtest.h>

using namespace FileTest;
namespace Files = ICBSFileUtilities;

namespace {

std::wstring Cmd(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    return L"\"" + std::wstring(system) + L"\\cmd.exe\" /c " + arguments;
}

std::wstring Variable(const wchar_t* name) {
    wchar_t value[256];
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(name, value, 256);
    return length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND ? L"<unset>" : std::wstring(value, length);
}

} // namespace

// Not a test of its own: the child program of the time-out test.
TEST(WaitChild, DISABLED_SleepsAMinute) {
    Sleep(60000);
}

TEST(Wait, ReturnsTheExitCodeOrTheErrorOfAFailedStart) {
    EXPECT_EQ(7, Files::Wait(Cmd(L"exit 7"), true, L"", nullptr, INFINITE, true, nullptr));
    EXPECT_EQ(3, Files::Wait(Cmd(L"exit 3"), true, L"", nullptr, INFINITE, false, nullptr));
    const int missing =
        Files::Wait(L"\"C:\\no such folder\\x.exe\"", true, L"", nullptr, INFINITE, false, nullptr);
    EXPECT_TRUE(missing == ERROR_FILE_NOT_FOUND || missing == ERROR_PATH_NOT_FOUND) << missing;

    Folder scratch(L"wait-folder");
    ASSERT_TRUE(WriteText(scratch / L"marker.txt", "x"));
    EXPECT_EQ(5, Files::Wait(Cmd(L"if exist marker.txt (exit 5) else (exit 6)"), true, scratch.Path(),
                             nullptr, INFINITE, false, nullptr));
}

TEST(Wait, SetsTheEnvironmentForTheProgramAndRestoresItAfterwards) {
    SetEnvironmentVariableW(L"LAUNCHER_TEST_KEPT", L"before");
    SetEnvironmentVariableW(L"LAUNCHER_TEST_NEW", nullptr);
    const std::map<std::wstring, std::wstring> environment = {{L"LAUNCHER_TEST_KEPT", L"4"},
                                                              {L"LAUNCHER_TEST_NEW", L"2"}};
    EXPECT_EQ(42, Files::Wait(Cmd(L"exit %LAUNCHER_TEST_KEPT%%LAUNCHER_TEST_NEW%"), true, L"", &environment,
                              INFINITE, false, nullptr));
    EXPECT_EQ(L"before", Variable(L"LAUNCHER_TEST_KEPT"));
    EXPECT_EQ(L"<unset>", Variable(L"LAUNCHER_TEST_NEW")) << "a variable that was not set is removed again";
    SetEnvironmentVariableW(L"LAUNCHER_TEST_KEPT", nullptr);
}

TEST(Wait, EndsAProgramThatRunsPastItsTimeOutWithExitCodeOne) {
    const std::wstring sleeper =
        L"\"" + ProgramPath() +
        L"\" --gtest_also_run_disabled_tests --gtest_filter=WaitChild.DISABLED_SleepsAMinute";
    const DWORD start = GetTickCount();
    EXPECT_EQ(1, Files::Wait(sleeper, true, L"", nullptr, 1500, false, nullptr));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 1400u);
    EXPECT_LT(elapsed, 30000u);
}

TEST(Wait, HandsOutTheProcessOnlyWhenNotWaiting) {
    HANDLE process = nullptr;
    EXPECT_EQ(0, Files::Wait(Cmd(L"exit 4"), false, L"", nullptr, INFINITE, false, &process));
    ASSERT_NE(nullptr, process);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 30000));
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    EXPECT_EQ(4u, code);
    CloseHandle(process);

    HANDLE waited = INVALID_HANDLE_VALUE;
    EXPECT_EQ(0, Files::Wait(Cmd(L"exit 0"), true, L"", nullptr, INFINITE, false, &waited));
    EXPECT_EQ(nullptr, waited) << "closed after the wait, so no stale handle is left";
}
