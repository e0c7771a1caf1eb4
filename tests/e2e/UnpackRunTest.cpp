// Real launchers unpacking their packages: a silent run extracts every package on the unpack page's
// worker into its package folder, with the language transform beside the database when the user
// interface is not English.
#include "LauncherRun.h"
#include "RunLeftovers.h"
#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;
using namespace TestProducts;

namespace {

// The index of the first line equal to `line`, or the line count when there is none.
size_t IndexOf(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TEST(UnpackRun, ASilentRunUnpacksEveryPackageOnTheWorker) {
    struct Case {
        const wchar_t* language; // a lang= argument, or null for the default (English)
        const wchar_t* transform;
    };
    const Case cases[] = {{nullptr, nullptr}, {L"lang=german", L"Transform_de.mst"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language ? "German" : "English");
        // Each run installs; the next must find nothing installed (else it modifies in the installed
        // language).
        const UndoInstalls undo;
        ScratchFolder folder;
        const std::wstring log = folder.File(L"setup.log");
        LaunchOptions options;
        options.launcher = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
        std::vector<std::wstring> arguments = {L"/qn", L"/L*v", log};
        if (c.language)
            arguments.push_back(c.language);
        const RunResult run = RunLauncher(arguments, options);
        EXPECT_EQ(0u, run.exitCode);
        const std::wstring text = ReadUtf16LeFile(log).value_or(L"");
        const std::vector<std::wstring> lines = LogLines(text);

        // The worker is created on the unpack page, reads both cabinets in order and has stopped before
        // the next page comes.
        const size_t activated = IndexOf(lines, L"VNT (c): Activating dialog UnpackMSIFromEXE\r\n");
        const size_t created = IndexOf(lines, L"VNT (c): Created SetupWorkerThread\r\n");
        const size_t first = IndexOf(lines, L"VNT (c): Extracting resource: PACKAGE_0\r\n");
        const size_t second = IndexOf(lines, L"VNT (c): Extracting resource: PACKAGE_1\r\n");
        const size_t stopped = IndexOf(lines, L"VNT (c): Worker-thread stopped\r\n");
        const size_t next = IndexOf(lines, L"VNT (c): Activating dialog IncludedSubPackages\r\n");
        EXPECT_LT(activated, created) << WideToUtf8(text);
        EXPECT_LT(created, first);
        EXPECT_LT(first, second);
        EXPECT_LT(second, stopped);
        EXPECT_LT(stopped, next);
        EXPECT_EQ(std::wstring::npos, text.find(L"Error extracting cabinet file"));

        for (const Product& product : {kHalvora101, kKestrum317}) {
            const std::wstring packageFolder = LauncherBaseFolder() + L"\\" + product.packageCode;
            EXPECT_TRUE(FileExists(packageFolder + L"\\" + product.stem + L".msi"))
                << WideToUtf8(packageFolder);
            if (c.transform)
                EXPECT_TRUE(FileExists(packageFolder + L"\\" + c.transform)) << WideToUtf8(packageFolder);
            else
                EXPECT_FALSE(FileExists(packageFolder + L"\\Transform.mst")) << WideToUtf8(packageFolder);
            // The next run finds the database again and starts afresh.
            ICBSFileUtilities::DeleteTree(packageFolder);
        }
    }
}
