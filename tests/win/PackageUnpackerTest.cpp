#include "CabinetTestSupport.h"

#include "extraction/PackageUnpacker_win.h"
#include "launcher/SetupApp_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace CabinetTest;

namespace {

const LanguageEntry kEnglish = {L"English", L"English", 0, 1033, L"1033", L"", L"en"};
const LanguageEntry kGerman = {L"German", L"Deutsch", 0, 1031, L"1031", L"_de", L"de"};
const LanguageEntry kFrench = {L"French", L"Fran\u00E7ais", 0, 1036, L"1036", L"_fr", L"fr"};

// A setup context with a log, and packages whose data are cabinet files of the test data.
class UnpackRun {
public:
    explicit UnpackRun(const std::wstring& name) : scratch_(name), app_(new CSetupApp(LogArguments())) {}

    PackageInfo& Add(const std::wstring& code, const std::wstring& data, bool selected = true,
                     const std::wstring& type = L"msi") {
        PackageDescription description;
        description.packageCode = code;
        description.packageData = data;
        description.languageDataPattern = L"UNPACKTEST_%s";
        description.installerType = type;
        auto package = std::make_unique<PackageInfo>(description);
        package->SetPackageFolder(scratch_ / code);
        package->SetSelected(selected);
        app_->Packages().push_back(std::move(package));
        return *app_->Packages().back();
    }
    CSetupApp& App() { return *app_; }
    const ScratchFolder& Folder() const { return scratch_; }
    // The log so far: the setup context is closed to read it.
    std::wstring CloseAndReadLog() {
        app_.reset();
        const std::string bytes = ReadBytes(scratch_ / L"setup.log");
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }

private:
    std::wstring LogArguments() const { return L"setup.exe /L*v \"" + (scratch_ / L"setup.log") + L"\""; }

    ScratchFolder scratch_;
    std::unique_ptr<CSetupApp> app_;
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

    const auto list = BuildUnpackList(run.App(), false);
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(&main, list[0].package);
    EXPECT_EQ(ReadBytes(DataFile(L"one_msi.cab")).size(), list[0].size);
    EXPECT_TRUE(BuildUnpackList(run.App(), true).empty()); // a repair unpacks nothing

    ProgressWindow window;
    ExtractionProgressHandler progress(window.Bar());
    UnpackSettings settings;
    std::vector<std::wstring> statusTexts;
    settings.showStatus = [&](const std::wstring& text) { statusTexts.push_back(text); };
    EXPECT_EQ(0, UnpackPackages(&run.App(), list, progress, settings));
    EXPECT_EQ(0, run.App().Result().code);
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
    two.SetSelected(false);
    const auto secondList = BuildUnpackList(run.App(), false);
    EXPECT_TRUE(secondList.empty());
    EXPECT_EQ(0, UnpackPackages(&run.App(), secondList, progress, settings));

    const std::wstring log = run.CloseAndReadLog();
    EXPECT_EQ(1u, CountOf(log, L"VNT (c): Extracting resource: " + DataFile(L"one_msi.cab") + L"\r\n"));
    EXPECT_EQ(1u, CountOf(log, L"VNT (c): Extracting resource: " + DataFile(L"two_msi.cab") + L"\r\n"));
}

TEST(PackageUnpacker, FirstFailureEndsTheLoop) {
    struct Case {
        const wchar_t* cabinet;
        bool onFullDisk;
        int32_t code;
    };
    const std::wstring fullDisk = ProgramFolder() + L"\\testdata\\fulldisk";
    ULARGE_INTEGER available = {}, total = {};
    const bool haveFullDisk = GetDiskFreeSpaceExW((fullDisk + L"\\").c_str(), &available, &total, nullptr) &&
                              total.QuadPart <= 1024 * 1024;
    const Case cases[] = {
        {L"missing.cab", false, 1620},
        {L"garbled.cab", false, 1620},
        {L"sample.cab", true, 11}, // a real full disk
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
        EXPECT_EQ(1603, UnpackPackages(&run.App(), BuildUnpackList(run.App(), false), progress, {}));
        EXPECT_EQ(c.code, run.App().Result().code);
        EXPECT_FALSE(run.App().Result().reported);
        EXPECT_FALSE(Exists(second.PackageFolder()));
        onDisk.reset();
        const std::wstring log = run.CloseAndReadLog();
        EXPECT_EQ(1u, CountOf(log, L"VNT (c): Error extracting cabinet file - " + std::to_wstring(c.code) +
                                       L".\r\n"));
    }
}

TEST(PackageUnpacker, CancelStopsBeforeTheNextPackage) {
    UnpackRun run(L"unpack-cancel");
    PackageInfo& first = run.Add(L"first", DataFile(L"one_msi.cab"));
    PackageInfo& second = run.Add(L"second", DataFile(L"one_msi.cab"));
    const auto list = BuildUnpackList(run.App(), false);
    ProgressWindow window;
    ExtractionProgressHandler progress(window.Bar());

    std::atomic<bool> cancel = true;
    UnpackSettings settings;
    settings.cancel = &cancel;
    EXPECT_EQ(1603, UnpackPackages(&run.App(), list, progress, settings));
    EXPECT_EQ(2, run.App().Result().code); // cancelled before anything started
    EXPECT_FALSE(Exists(first.PackageFolder()));

    // Cancelled while the first cabinet is read: it is finished, the second is not started.
    cancel = false;
    settings.showStatus = [&](const std::wstring&) { cancel = true; };
    EXPECT_EQ(1603, UnpackPackages(&run.App(), list, progress, settings));
    EXPECT_EQ(3, run.App().Result().code);
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
        EXPECT_EQ(0, UnpackMsiPackage(run.App(), package, nullptr, settings));
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
    EXPECT_EQ(0, UnpackTaxonomyPackage(package));
    EXPECT_EQ(L"readme.txt", package.InstallerDatabase()); // the bare file name
    EXPECT_EQ(ReadBytes(DataFile(L"source\\readme.txt")),
              ReadBytes(package.PackageFolder() + L"\\readme.txt"));

    // Through the unpack loop, and with a target that cannot be written (a folder of that name).
    PackageInfo& blocked = run.Add(L"blocked", DataFile(L"source\\readme.txt"), true, L"taxonomy");
    ASSERT_TRUE(CreateDirectoryW(blocked.PackageFolder().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((blocked.PackageFolder() + L"\\readme.txt").c_str(), nullptr));
    package.SetSelected(false);
    ProgressWindow window;
    ExtractionProgressHandler progress(window.Bar());
    EXPECT_EQ(1603, UnpackPackages(&run.App(), BuildUnpackList(run.App(), false), progress, {}));
    EXPECT_EQ(2, run.App().Result().code);
}
