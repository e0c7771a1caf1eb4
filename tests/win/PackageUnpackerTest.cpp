#include "CabinetTestSupport.h"

#include "extraction/PackageUnpacker_win.h"
#include "launcher/SetupLogFile_win.h"
#include "wizard/ExtractionProgressHandler_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace CabinetTest;

namespace {

const LanguageEntry kEnglish = {L"English", L"English", 0, 1033, L"1033", L"", L"en"};
const LanguageEntry kGerman = {L"German", L"Deutsch", 0, 1031, L"1031", L"_de", L"de"};
const LanguageEntry kFrench = {L"French", L"Fran\u00E7ais", 0, 1036, L"1036", L"_fr", L"fr"};

// A log file, and packages whose data are cabinet files of the test data.
class UnpackRun {
public:
    explicit UnpackRun(const std::wstring& name) : scratch_(name) {
        CSetupAppCommandLineInfo commandLine;
        commandLine.ParseArguments(L"/L*v \"" + (scratch_ / L"setup.log") + L"\"");
        log_.Open(commandLine.logFile, commandLine.logMode, commandLine.logAttributes);
    }

    PackageInfo& Add(const std::wstring& code, const std::wstring& data, bool selected = true,
                     const std::wstring& type = L"msi") {
        PackageDescription description;
        description.packageCode = code;
        description.packageData = data;
        description.languageDataPattern = L"UNPACKTEST_%s";
        description.installerType = type;
        PackageInfo package(description);
        package.SetPackageFolder(scratch_ / code);
        choices.Select(packages.size(), selected);
        packages.Add(std::move(package));
        return packages.At(packages.size() - 1);
    }
    std::vector<UnpackEntry> List(bool repair = false) { return BuildUnpackList(packages, choices, repair); }
    SetupResult Unpack(const std::vector<UnpackEntry>& list, UnpackProgressIF& progress,
                       const UnpackSettings& settings = {}) {
        return UnpackPackages(list, progress, settings, log_);
    }
    LogSinkIF& Log() { return log_; }
    const ScratchFolder& Folder() const { return scratch_; }
    // The log so far: the log is closed to read it.
    std::wstring CloseAndReadLog() {
        log_.Close();
        const std::string bytes = ReadBytes(scratch_ / L"setup.log");
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }

    PackageList packages;
    SetupChoices choices;

private:
    ScratchFolder scratch_;
    SetupLogWriter log_;
};

// A hidden window with a progress bar, as the unpack page has.
class ProgressWindow {
public:
    ProgressWindow() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        parent_ = CreateWindowExW(0, L"STATIC", L"unpack", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 100, 20, parent_, nullptr, nullptr,
                               nullptr);
        SendMessageW(bar_, PBM_SETRANGE32, 0, 30);
    }
    ~ProgressWindow() { DestroyWindow(parent_); }
    HWND Bar() const { return bar_; }
    // The positions posted to the page so far.
    std::vector<int> TakePosts() {
        std::vector<int> posts;
        MSG message;
        while (PeekMessageW(&message, parent_, ExtractionProgressHandler::kProgressMessage,
                            ExtractionProgressHandler::kProgressMessage, PM_REMOVE))
            posts.push_back(static_cast<int>(message.wParam));
        return posts;
    }

private:
    HWND parent_ = nullptr;
    HWND bar_ = nullptr;
};

size_t CountOf(const std::wstring& text, const std::wstring& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

TEST(PackageUnpacker, UnpacksSelectedPackagesOnceWithProgress) {
    UnpackRun run(L"unpack-packages");
    PackageInfo& main = run.Add(L"main", DataFile(L"one_msi.cab"));
    PackageInfo& two = run.Add(L"two", DataFile(L"two_msi.cab"));
    PackageInfo& skipped = run.Add(L"skipped", DataFile(L"sample.cab"), false);

    const auto list = run.List();
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(&main, list[0].package);
    EXPECT_EQ(ReadBytes(DataFile(L"one_msi.cab")).size(), list[0].size);
    EXPECT_TRUE(run.List(true).empty()); // a repair unpacks nothing

    ProgressWindow window;
    ExtractionProgressHandler progress(window.Bar());
    UnpackSettings settings;
    std::vector<std::wstring> statusTexts;
    settings.showStatus = [&](const std::wstring& text) { statusTexts.push_back(text); };
    const SetupResult outcome = run.Unpack(list, progress, settings);
    EXPECT_EQ(0, outcome.code);
    EXPECT_EQ(0, outcome.ThreadResult());
    EXPECT_EQ(2u, statusTexts.size());

    EXPECT_EQ(main.PackageFolder() + L"\\product.msi", main.InstallerDatabase());
    EXPECT_EQ("stands for docs/notes.txt\r\n", ReadBytes(main.PackageFolder() + L"\\docs\\notes.txt"));
    EXPECT_EQ(L"", two.InstallerDatabase()); // two .msi files: no database
    EXPECT_TRUE(Exists(two.PackageFolder() + L"\\second.msi"));
    EXPECT_FALSE(Exists(skipped.PackageFolder()));

    // The bar ends at 30 of 30, and the page's message moves it there.
    const std::vector<int> posts = window.TakePosts();
    ASSERT_FALSE(posts.empty());
    EXPECT_TRUE(std::is_sorted(posts.begin(), posts.end()));
    EXPECT_EQ(30, posts.back());
    progress.OnProgressMessage(posts.back());
    EXPECT_EQ(30, SendMessageW(window.Bar(), PBM_GETPOS, 0, 0));

    // A second pass with every database set unpacks nothing.
    run.choices.Select(two, false);
    const auto secondList = run.List();
    EXPECT_TRUE(secondList.empty());
    EXPECT_EQ(0, run.Unpack(secondList, progress, settings).code);

    const std::wstring log = run.CloseAndReadLog();
    EXPECT_EQ(1u, CountOf(log, L"VNT (c): Extracting resource: " + DataFile(L"one_msi.cab") + L"\r\n"));
    EXPECT_EQ(1u, CountOf(log, L"VNT (c): Extracting resource: " + DataFile(L"two_msi.cab") + L"\r\n"));
}

TEST(PackageUnpacker, FirstFailureEndsTheLoop) {
    struct Case {
        const wchar_t* cabinet;
        bool onFullDisk;
        int32_t code, installerError;
    };
    const std::wstring fullDisk = ProgramFolder() + L"\\testdata\\fulldisk";
    ULARGE_INTEGER available = {}, total = {};
    const bool haveFullDisk = GetDiskFreeSpaceExW((fullDisk + L"\\").c_str(), &available, &total, nullptr) &&
                              total.QuadPart <= 1024 * 1024;
    const Case cases[] = {
        // A cabinet that cannot be read is the installer's "package cannot be opened": corrupted.
        {L"missing.cab", false, 1, 1620},
        {L"garbled.cab", false, 1, 1620},
        {L"sample.cab", true, 11, 0}, // a real full disk
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.cabinet).c_str());
        if (c.onFullDisk && !haveFullDisk)
            continue; // no small volume mounted (needs root)
        UnpackRun run(L"unpack-failure");
        PackageInfo& first = run.Add(L"first", DataFile(c.cabinet));
        PackageInfo& second = run.Add(L"second", DataFile(L"one_msi.cab"));
        std::unique_ptr<ScratchFolder> onDisk;
        if (c.onFullDisk) {
            onDisk = std::make_unique<ScratchFolder>(L"unpack", fullDisk);
            first.SetPackageFolder(onDisk->Path());
        }
        ProgressWindow window;
        ExtractionProgressHandler progress(window.Bar());
        const SetupResult outcome = run.Unpack(run.List(), progress);
        EXPECT_EQ(1603, outcome.ThreadResult());
        EXPECT_EQ(c.code, outcome.code);
        EXPECT_EQ(c.installerError, outcome.installerError);
        EXPECT_FALSE(outcome.reported);
        EXPECT_FALSE(Exists(second.PackageFolder()));
        onDisk.reset();
        const std::wstring log = run.CloseAndReadLog();
        EXPECT_EQ(1u,
                  CountOf(log, L"VNT (c): Error extracting cabinet file - " +
                                   std::to_wstring(c.installerError ? c.installerError : c.code) + L".\r\n"));
    }
}

TEST(PackageUnpacker, CancelStopsBeforeTheNextPackage) {
    UnpackRun run(L"unpack-cancel");
    PackageInfo& first = run.Add(L"first", DataFile(L"one_msi.cab"));
    PackageInfo& second = run.Add(L"second", DataFile(L"one_msi.cab"));
    const auto list = run.List();
    ProgressWindow window;
    ExtractionProgressHandler progress(window.Bar());

    std::atomic<bool> cancel = true;
    UnpackSettings settings;
    settings.cancel = &cancel;
    EXPECT_EQ(2, run.Unpack(list, progress, settings).code); // cancelled before anything started
    EXPECT_FALSE(Exists(first.PackageFolder()));

    // Cancelled while the first cabinet is read: it is finished, the second is not started.
    cancel = false;
    settings.showStatus = [&](const std::wstring&) { cancel = true; };
    EXPECT_EQ(3, run.Unpack(list, progress, settings).code);
    EXPECT_TRUE(Exists(first.PackageFolder() + L"\\product.msi"));
    EXPECT_FALSE(Exists(second.PackageFolder()));
    EXPECT_EQ(0u, CountOf(run.CloseAndReadLog(), L"Error extracting"));
}

TEST(PackageUnpacker, LanguageTransformIsWrittenForAChosenNonEnglishLanguage) {
    struct Case {
        const char* name;
        bool multiLanguage, installsOrModifies;
        const LanguageEntry* language;
        const wchar_t* transformFile; // empty: none written
    };
    const Case cases[] = {
        {"German", true, true, &kGerman, L"Transform_de.mst"},
        {"English", true, true, &kEnglish, L""},
        {"one language only", false, true, &kGerman, L""},
        {"neither install nor modify", true, false, &kGerman, L""},
        {"no French transform carried", true, true, &kFrench, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UnpackRun run(L"unpack-transform");
        PackageInfo& package = run.Add(L"main", DataFile(L"one_msi.cab"));
        UnpackSettings settings;
        settings.multiLanguage = c.multiLanguage;
        settings.installsOrModifies = c.installsOrModifies;
        settings.language = c.language;
        EXPECT_EQ(0, UnpackMsiPackage(package, nullptr, settings, run.Log()).code);
        const std::wstring expected =
            *c.transformFile ? package.PackageFolder() + L"\\" + c.transformFile : L"";
        EXPECT_EQ(expected, package.TransformFile());
        if (!expected.empty())
            EXPECT_EQ(ReadBytes(DataFile(L"transform_de.bin")), ReadBytes(expected));
        for (const wchar_t* name : {L"Transform.mst", L"Transform_fr.mst"})
            EXPECT_FALSE(Exists(package.PackageFolder() + L"\\" + name));
    }
}

TEST(PackageUnpacker, TaxonomyPackageCopiesItsDataFile) {
    UnpackRun run(L"unpack-taxonomy");
    PackageInfo& package = run.Add(L"taxonomy", DataFile(L"source\\readme.txt"), true, L"Taxonomy");
    EXPECT_EQ(0, UnpackTaxonomyPackage(package).code);
    EXPECT_EQ(L"readme.txt", package.InstallerDatabase()); // the bare file name
    EXPECT_EQ(ReadBytes(DataFile(L"source\\readme.txt")),
              ReadBytes(package.PackageFolder() + L"\\readme.txt"));

    // Through the unpack loop, and with a target that cannot be written (a folder of that name).
    PackageInfo& blocked = run.Add(L"blocked", DataFile(L"source\\readme.txt"), true, L"taxonomy");
    ASSERT_TRUE(CreateDirectoryW(blocked.PackageFolder().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((blocked.PackageFolder() + L"\\readme.txt").c_str(), nullptr));
    run.choices.Select(package, false);
    ProgressWindow window;
    ExtractionProgressHandler progress(window.Bar());
    EXPECT_EQ(2, run.Unpack(run.List(), progress).code);
}
