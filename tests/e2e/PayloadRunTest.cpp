// A launcher whose package bytes were changed after it was built (one byte patched in the .exe, as a
// damaged download would have it): /v names the damaged resource and fails, and an installation refuses
// the package before writing any of it.
#include "LauncherRun.h"
#include "RunLeftovers.h"
#include "launcher/SystemInfo_win.h"
#include "support/FileUtilities_win.h"
#include "tests/products/InstalledTestProduct.h"
#include "tests/products/TestProducts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

using namespace e2e;
using namespace TestProducts;

namespace {

constexpr wchar_t kDamagedLine[] = L"SHA-256 check of resource PACKAGE_0 failed!\r\n";

// A copy of the two-package launcher with one byte of one type-40 resource turned over (in the language
// given, 0: any): the byte at `at` in the resource, by default one near its middle. The byte is found in the
// file by a piece of the resource around it that occurs there once, read from the original as data (the
// languages' transforms of one database share much of their bytes).
bool MakeDamagedCopy(const std::wstring& target, const wchar_t* name = L"PACKAGE_0", LANGID language = 0,
                     size_t at = SIZE_MAX) {
    const std::wstring source = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
    std::string bytes = ReadFileBytes(source).value_or("");
    ModuleHandle module(LoadLibraryExW(source.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC found = module ? FindResourceExW(module.Get(), MAKEINTRESOURCEW(40), name, language) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module.Get(), found) : nullptr;
    if (!loaded || bytes.empty())
        return false;
    const std::string resource(static_cast<const char*>(LockResource(loaded)),
                               SizeofResource(module.Get(), found));
    // Turns over the byte at `flip` of the resource when a piece around it occurs once in the file.
    const auto flipOnce = [&](size_t flip) {
        constexpr size_t kPiece = 64;
        const size_t start = flip >= kPiece / 2 ? flip - kPiece / 2 : 0;
        const std::string piece = resource.substr(start, kPiece);
        const size_t place = bytes.find(piece);
        if (place == std::string::npos || bytes.find(piece, place + 1) != std::string::npos)
            return false;
        bytes[place + flip - start] = static_cast<char>(~bytes[place + flip - start]);
        return WriteFileBytes(target, bytes);
    };
    if (at != SIZE_MAX)
        return flipOnce(at);
    for (size_t middle = resource.size() / 2; middle < resource.size(); middle += 16) {
        if (flipOnce(middle))
            return true;
    }
    return false;
}

} // namespace

TEST(PayloadRun, ValidationNamesTheDamagedPackageAndFails) {
    ScratchFolder folder;
    ASSERT_TRUE(MakeDamagedCopy(folder.File(L"damaged.exe")));
    LaunchOptions options;
    options.launcher = folder.File(L"damaged.exe");
    const RunResult damaged = RunLauncher({L"/v"}, options);
    EXPECT_EQ(1u, damaged.exitCode);
    EXPECT_NE(std::wstring::npos,
              damaged.output.find(L"All resources have been detected.\r\n" + std::wstring(kDamagedLine)))
        << WideToUtf8(damaged.output);
    EXPECT_EQ(damaged.output.find(L"SHA-256"), damaged.output.rfind(L"SHA-256")); // only that one

    options.launcher = TestProgramFolder() + L"\\" + kTwoPackagesLauncher;
    const RunResult intact = RunLauncher({L"/v"}, options);
    EXPECT_EQ(0u, intact.exitCode);
    EXPECT_EQ(std::wstring::npos, intact.output.find(L"SHA-256")) << WideToUtf8(intact.output);
}

TEST(PayloadRun, AnInstallationRefusesADamagedPackageOrTransformBeforeWritingIt) {
    struct Case {
        const wchar_t* resource;
        LANGID language;
        const wchar_t* languageArgument; // the run's lang=, or null for English
        const wchar_t* logLine;
    };
    const Case cases[] = {
        {L"PACKAGE_0", 0, nullptr,
         L"VNT (c): Package resource PACKAGE_0 does not match its recorded SHA-256 hash.\r\n"},
        {L"PACKAGE_0_1031", 1031, L"lang=german",
         L"VNT (c): Transform resource PACKAGE_0_1031 does not match its recorded SHA-256 hash.\r\n"},
        // The first digit of the first hash ("package<TAB>PACKAGE_0<TAB>1033<TAB>" is 23 characters) is no
        // longer a hex digit: that line cannot be read.
        {L"PAYLOAD_HASHES", 0, nullptr, L"VNT (c): The launcher's record of SHA-256 hashes is damaged.\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.resource));
        const UndoInstalls undo;
        ScratchFolder folder;
        const size_t at =
            std::wstring_view(c.resource) == L"PAYLOAD_HASHES" ? 23 * sizeof(wchar_t) : SIZE_MAX;
        ASSERT_TRUE(MakeDamagedCopy(folder.File(L"damaged.exe"), c.resource, c.language, at));
        const std::wstring packageFolder = LauncherBaseFolder() + L"\\" + kHalvora101.packageCode;
        ICBSFileUtilities::DeleteTree(packageFolder);
        const std::wstring log = folder.File(L"setup.log");
        LaunchOptions options;
        options.launcher = folder.File(L"damaged.exe");
        std::vector<std::wstring> arguments = {L"/qn", L"/L*v", log};
        if (c.languageArgument)
            arguments.push_back(c.languageArgument);
        const RunResult run = RunLauncher(arguments, options);

        EXPECT_EQ(1u, run.exitCode); // the code of a package that cannot be read
        const std::wstring text = ReadUtf16LeFile(log).value_or(L"");
        EXPECT_NE(std::wstring::npos, text.find(c.logLine)) << WideToUtf8(text);
        // Nothing damaged was written: no cabinet content at all, and no transform beside the database.
        EXPECT_TRUE(ICBSFileUtilities::ListFiles(packageFolder, c.language ? L"*.mst" : L"*").empty());
        EXPECT_FALSE(IsInstalled(kHalvora101));
        EXPECT_FALSE(IsInstalled(kKestrum317));
        ICBSFileUtilities::DeleteTree(packageFolder);
    }
}
