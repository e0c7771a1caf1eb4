// The wizard dialog with test pages: silent walks, Cancel and Back, workers cancelled and quit, language
// changes, a page of real widgets driven like a user would, and the launcher's wizard resources.
#include "WizardTestFixture.h"

TEST_F(WizardDialogTest, SilentRunWalksEveryPageHiddenAndEndsWithOk) {
    host_->commandLine.uiLevel = UiLevel::None;
    std::vector<bool> visibleOnActivation;
    bool sawVisibleWindow = false;
    const INT_PTR ended = Run({}, [&] {
        // The whole walk happens inside the dialog's initialisation; the window must never show.
        for (int i = 0; i < 20; ++i) {
            if (HWND window = FindWizard(uiThread_); window && IsWindowVisible(window))
                sawVisibleWindow = true;
            Sleep(10);
        }
    });
    EXPECT_EQ(ended, IDOK);
    EXPECT_FALSE(sawVisibleWindow);
    EXPECT_EQ(host_->result.code, 0);

    std::vector<std::wstring> activated;
    int deactivatedBeforeFirstActivation = 0;
    for (const std::wstring& line : host_->Log()) {
        if (line.starts_with(L"VNT (c): Activating dialog "))
            activated.push_back(line);
        else if (activated.empty() && line.starts_with(L"VNT (c): Deactivating dialog "))
            ++deactivatedBeforeFirstActivation;
    }
    const std::vector<std::wstring> expected = {L"VNT (c): Activating dialog Welcome\r\n",
                                                L"VNT (c): Activating dialog BackupSettings\r\n",
                                                L"VNT (c): Activating dialog Mosquitto\r\n",
                                                L"VNT (c): Activating dialog SystemIntegrity\r\n",
                                                L"VNT (c): Activating dialog UnpackMSIFromEXE\r\n",
                                                L"VNT (c): Activating dialog IncludedSubPackages\r\n"};
    EXPECT_EQ(activated, expected);
    // The install page logs no activation of its own: it runs the sequence, once.
    EXPECT_EQ(host_->installSequences.load(), 1);
    // Every page window logs one deactivation when it is created: eight pages, the empty slot has none.
    EXPECT_EQ(deactivatedBeforeFirstActivation, 8);
}

TEST_F(WizardDialogTest, CancelOnTheFirstPageRecordsCode3AndShowsTheFinishPage) {
    bool finishVisible = false;
    std::wstring nextText;
    const INT_PTR ended = Run(TestPages(), [&] {
        HWND wizard = WaitForWizard();
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Welcome\r\n"));
        Command(wizard, IDCANCEL);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
        // The dialog manager shows the window once its queue is idle; the page sets Finish after logging.
        finishVisible = WaitUntil([&] { return IsWindowVisible(wizard) != FALSE; });
        WaitUntil([&] { return (nextText = TextOf(GetDlgItem(wizard, IDOK))) == L"&Finish"; });
        Command(wizard, IDOK);
    });
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(host_->result.code, 3);
    EXPECT_EQ(host_->result.installerError, 1602);
    EXPECT_EQ(host_->reports.load(), 1);
    EXPECT_TRUE(finishVisible);
    EXPECT_EQ(nextText, L"&Finish");
    EXPECT_FALSE(host_->Logged(L"VNT (c): Activating dialog SystemIntegrity\r\n"));
}

TEST_F(WizardDialogTest, AQuickInstallRunsToTheEndWithoutStopping) {
    host_->quickInstallList.emplace_back();
    // Only the welcome page would wait for the user; with a quick install it passes on like the rest.
    CWizardDialog::PageFactory factory = [](WizardPageKind kind, PageFrame& frame) {
        if (kind == WizardPageKind::Welcome)
            return std::unique_ptr<WizardPageBase>(
                std::make_unique<TextTestPage>(frame, L"Welcome", 150, 35, true));
        return OtherPage(kind, frame);
    };
    const INT_PTR ended = Run(factory, [] {});
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(host_->installSequences.load(), 1);
    EXPECT_EQ(host_->result.code, 0);
}

TEST_F(WizardDialogTest, BackOnTheFirstPageActsAsCancel) {
    Run(TestPages(), [&] {
        HWND wizard = WaitForWizard();
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Welcome\r\n"));
        Command(wizard, WizardControl::Back);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
        Command(wizard, IDCANCEL); // Cancel on the finish page ends the run
    });
    EXPECT_EQ(host_->result.code, 3);
    EXPECT_EQ(host_->CountLogged(L"VNT (c): Activating dialog Welcome\r\n"), 1);
}

TEST_F(WizardDialogTest, EscapeDuringTheWorkerCancelsAndLeadsToTheFinishPage) {
    Run(TestPages(), [&] {
        HWND wizard = WaitForWizard();
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Welcome\r\n"));
        Command(wizard, IDOK);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Created TestWorkerThread\r\n"));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(wizard, IDOK)));
        // Let the worker's progress arrive first, so that the count below does not depend on scheduling.
        for (int waited = 0; worker_ && worker_->progressCount.load() < 5 && waited < 10'000; waited += 20)
            Sleep(20);
        PostMessageW(GetDlgItem(wizard, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
        Command(wizard, IDOK);
    });
    EXPECT_EQ(host_->result.code, 3);
    EXPECT_EQ(host_->result.installerError, 0);
    EXPECT_EQ(host_->reports.load(), 1);
    EXPECT_EQ(host_->CountLogged(L"VNT (c): Worker-thread stopped\r\n"), 1);
    ASSERT_NE(worker_, nullptr);
    EXPECT_TRUE(worker_->CancelAnswers().empty());
    // Progress arrived as posted messages, in order.
    EXPECT_EQ(worker_->progressCount.load(), 5);
    EXPECT_EQ(worker_->lastProgress.load(), 5);
    // The pages after the worker were skipped.
    EXPECT_EQ(host_->installSequences.load(), 0);
}

TEST_F(WizardDialogTest, CancelDuringTheWorkerWaitsForItAndRefusesASecondCancel) {
    Run(TestPages(), [&] {
        HWND wizard = WaitForWizard();
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Welcome\r\n"));
        Command(wizard, IDOK);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Created TestWorkerThread\r\n"));
        Command(wizard, IDCANCEL);
        Command(wizard, IDCANCEL);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
        Command(wizard, IDOK);
    });
    ASSERT_NE(worker_, nullptr);
    EXPECT_EQ(worker_->CancelAnswers(), (std::vector<bool>{false, false}));
    // Once from the cancel wait, once from the page's own loop.
    EXPECT_EQ(host_->CountLogged(L"VNT (c): Worker-thread stopped\r\n"), 2);
    EXPECT_EQ(host_->result.code, 3);
    EXPECT_EQ(host_->result.installerError, 0);
}

TEST_F(WizardDialogTest, QuitDuringTheWorkerIsLoggedAndReposted) {
    Run(TestPages(), [&] {
        HWND wizard = WaitForWizard();
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Welcome\r\n"));
        Command(wizard, IDOK);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Created TestWorkerThread\r\n"));
        PostThreadMessageW(uiThread_, WM_QUIT, 0, 0);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Received 'quit' message\r\n"));
        // The reposted quit message ends the modal run.
        EXPECT_TRUE(WaitUntil([&] { return FindWizard(uiThread_) == nullptr; }));
    });
    EXPECT_EQ(host_->result.code, 0);
    EXPECT_FALSE(host_->Logged(L"VNT (c): Activating dialog Finish\r\n"));
}

TEST_F(WizardDialogTest, LanguageChangeReloadsEveryTextOfTheCurrentPage) {
    const LanguageTable& languages = host_->context.languages;
    std::wstring englishBody, japaneseBody, japaneseNext, japaneseHeading;
    int relayoutsBefore = 0;
    Run(TestPages(), [&] {
        HWND wizard = WaitForWizard();
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Welcome\r\n"));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wizard) != FALSE; }));
        HWND page = GetDlgItem(GetDlgItem(wizard, WizardControl::Frame), WizardControl::Page);
        englishBody = TextOf(GetDlgItem(page, TextTestPage::kBodyId));

        HWND box = GetDlgItem(wizard, WizardControl::LanguageBox);
        EXPECT_TRUE(IsWindowVisible(box));
        const std::wstring japanese = host_->context.languages.Entries()[4].displayName;
        const LRESULT index = SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(japanese.c_str()));
        ASSERT_NE(index, CB_ERR);
        relayoutsBefore = welcome_->relayouts.load();
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Command(wizard, WizardControl::LanguageBox, CBN_SELCHANGE);
        ASSERT_TRUE(WaitUntil([&] { return welcome_->relayouts.load() > relayoutsBefore; }));
        japaneseBody = TextOf(GetDlgItem(page, TextTestPage::kBodyId));
        japaneseHeading = TextOf(GetDlgItem(page, TextTestPage::kHeadingId));
        japaneseNext = TextOf(GetDlgItem(wizard, IDOK));
        Command(wizard, IDCANCEL);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
        Command(wizard, IDOK);
    });
    EXPECT_EQ(languages.CurrentLanguageId(), 1041);
    EXPECT_EQ(englishBody, L"This wizard will unpack and install all the required files on your computer.");
    EXPECT_NE(japaneseBody, englishBody);
    EXPECT_EQ(japaneseBody, languages.LoadString(35));
    EXPECT_EQ(japaneseHeading, languages.LoadString(150) + L"Halvora Server");
    EXPECT_EQ(japaneseNext, languages.LoadString(54));
    // The language change kept the page: Welcome was activated once.
    EXPECT_EQ(host_->CountLogged(L"VNT (c): Activating dialog Welcome\r\n"), 1);
}

// A page of real widgets, driven through the wizard driver as the end-to-end tests drive the launcher:
// texts and buttons read back, a link clicked, the language switched, a warning drawn in its colours, and
// screenshots in English and Japanese.
TEST_F(WizardDialogTest, AWidgetPageIsDrivenLikeAUserWould) {
    WidgetTestPage* widgets = nullptr;
    CWizardDialog::PageFactory factory = [&](WizardPageKind kind, PageFrame& frame) {
        if (kind != WizardPageKind::SystemIntegrity)
            return TestPages()(kind, frame);
        auto page = std::make_unique<WidgetTestPage>(frame);
        widgets = page.get();
        return std::unique_ptr<WizardPageBase>(std::move(page));
    };
    WizardDriver::Buttons buttons;
    std::vector<std::wstring> englishTexts, japaneseTexts, clicked;
    LayoutRect englishBox, japaneseBox;
    int lineHeight = 0, linkHeight = 0, pageWidth = 0, warningText = 0, warningPink = 0, bar = -1;
    Run(factory, [&] {
        HWND wizard = WizardDriver::WaitForWizard(GetCurrentProcessId(), kWaitMs);
        ASSERT_TRUE(wizard);
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Welcome\r\n"));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(wizard) != FALSE; }));
        ASSERT_TRUE(WizardDriver::PressNext(wizard));
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog SystemIntegrity\r\n"));
        ASSERT_TRUE(
            WaitUntil([&] { return widgets && WizardDriver::CurrentPage(wizard) == widgets->Handle(); }));

        buttons = WizardDriver::ReadButtons(wizard);
        englishTexts = WizardDriver::PageTexts(wizard);
        englishBox = widgets->CheckBox().Geometry();
        linkHeight = ClientRect(GetDlgItem(widgets->Handle(), WidgetTestPage::kLinkId)).bottom;
        HWND check = GetDlgItem(widgets->Handle(), WidgetTestPage::kCheckId);
        lineHeight = LineHeight(check);
        RECT client;
        GetClientRect(widgets->Handle(), &client);
        pageWidth = client.right;
        const auto& progress = static_cast<const ControlWindow&>(widgets->Progress().Window());
        bar = static_cast<int>(SendMessageW(progress.Handle(), PBM_GETPOS, 0, 0));
        Screenshot(wizard, L"wizard-en.bmp");
        warningText = CountPixels(widgets->WarningWindow(), WarningStaticText::kTextColour);
        warningPink = CountPixels(widgets->WarningWindow(), WarningStaticText::kBackgroundColour);

        WizardDriver::ClickAt(GetDlgItem(widgets->Handle(), WidgetTestPage::kLinkId), 3, 5);
        WaitUntil([&] { return !widgets->ClickedLinks().empty(); });
        clicked = widgets->ClickedLinks();

        const int relayouts = widgets->relayouts.load();
        ASSERT_TRUE(WizardDriver::SelectLanguage(wizard, host_->context.languages.Entries()[4].displayName));
        ASSERT_TRUE(WaitUntil([&] { return widgets->relayouts.load() > relayouts; }));
        japaneseTexts = WizardDriver::PageTexts(wizard);
        japaneseBox = widgets->CheckBox().Geometry();
        Screenshot(wizard, L"wizard-ja.bmp");

        ASSERT_TRUE(WizardDriver::PressCancel(wizard));
        ASSERT_TRUE(WaitForLog(L"VNT (c): Activating dialog Finish\r\n"));
        WizardDriver::PressNext(wizard);
    });
    ASSERT_NE(widgets, nullptr);
    EXPECT_EQ(buttons.next, L"Next >");
    EXPECT_EQ(buttons.back, L"< Back");
    EXPECT_EQ(buttons.cancel, L"Cancel");
    EXPECT_TRUE(buttons.nextEnabled && buttons.backEnabled && buttons.cancelEnabled);

    EXPECT_TRUE(Contains(englishTexts, L"Welcome to the installer for Halvora Server"));
    EXPECT_TRUE(Contains(englishTexts,
                         L"The following additional products contained in this installer can be "
                         L"installed by selecting the relevant check boxes."));
    const LanguageTable& languages = host_->context.languages;
    EXPECT_TRUE(Contains(japaneseTexts, languages.LoadString(39)));
    EXPECT_TRUE(Contains(japaneseTexts, languages.LoadString(64)));
    EXPECT_FALSE(Contains(japaneseTexts, L"Welcome to the installer for Halvora Server"));

    // The link shows its first text (it measures itself once it holds the text).
    EXPECT_GE(linkHeight, lineHeight);
    // The long check box wraps inside the page in both languages instead of running off its edge.
    ASSERT_GT(lineHeight, 0);
    for (const LayoutRect& box : {englishBox, japaneseBox}) {
        EXPECT_GE(box.height, 2 * lineHeight);
        EXPECT_LE(box.x + box.width, pageWidth);
    }
    // Dark red text on the page's white, not on the warning's own pink.
    EXPECT_GT(warningText, 0);
    EXPECT_EQ(warningPink, 0);
    EXPECT_EQ(clicked, (std::vector<std::wstring>{L"110:0:https://support.example.invalid/notes"}));
    EXPECT_EQ(widgets->Progress().Position(), 40);
    EXPECT_EQ(bar, 40);
    EXPECT_EQ(host_->result.code, 3);
}

// A wizard that cannot come up (here: this test program carries no wizard template) ends the run as a
// reported failure, never as a success.
TEST_F(WizardDialogTest, AWizardThatCannotComeUpIsAFailure) {
    host_->DecideMode();
    CWizardDialog wizard(host_->context, *host_, nullptr, {}, GetModuleHandleW(nullptr));
    EXPECT_EQ(wizard.Run(), -1);
    EXPECT_EQ(host_->result.code, 2);
    EXPECT_EQ(host_->reports.load(), 1);
    const auto log = host_->Log();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::wstring& line) {
        return line.starts_with(L"VNT (c): The wizard could not be started (error ");
    }));
}

// The launcher carries the wizard template in every user-interface language, the header artwork at its
// size and the window icon.
TEST_F(WizardDialogTest, LauncherCarriesTheTemplateInFiveLanguagesAndItsArtwork) {
    for (const uint16_t language : {1033, 1031, 1034, 1036, 1041})
        EXPECT_NE(
            FindResourceExW(module_.Get(), RT_DIALOG, MAKEINTRESOURCEW(kWizardDialogTemplateId), language),
            nullptr)
            << language;
    GdiObject artwork(
        LoadImageW(module_.Get(), MAKEINTRESOURCEW(132), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_TRUE(artwork);
    BITMAP info{};
    GetObjectW(artwork.Get(), sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 499);
    EXPECT_EQ(info.bmHeight, 312);
    EXPECT_EQ(info.bmBitsPixel, 8); // a palette keeps the download small
    IconHandle icon(
        static_cast<HICON>(LoadImageW(module_.Get(), MAKEINTRESOURCEW(133), IMAGE_ICON, 32, 32, 0)));
    EXPECT_TRUE(icon);
}
