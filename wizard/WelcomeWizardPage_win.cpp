#include "wizard/WelcomeWizardPage_win.h"

#include "StringIds.h"
#include "launcher/SetupLog.h"
#include "launcher/SubPackageSelection.h"
#include "support/Format.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/WelcomeRules.h"
#include "wizard/Widgets_win.h"

#include <algorithm>

namespace {

constexpr int kInformationIconId = 1348;
// The Back button grows to the left by this much while it reads "Quick Install".
constexpr int kQuickInstallWidening = 10;

} // namespace

WelcomeWizardPage::WelcomeWizardPage(PageFrame& frame) : WizardPageBase(frame, L"Welcome") {}

void WelcomeWizardPage::CreateControls(HWND parent, int, int) {
    productIcon_ = LoadPageIcon(Frame().Resources(), kProductIconName);
    informationIcon_ = LoadPageIcon(Frame().Resources(), MAKEINTRESOURCEW(kInformationIconId));
    const HFONT normal = Frame().Font(PageFont::Normal);

    PageHeader header = MakePageHeader(parent, productIcon_.Get(), 10);
    title_ = header.texts->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    productName_ = header.texts->AddChild(
        MakeTextWidget(parent, L"", true, kAlignLeft, Frame().Font(PageFont::LargeBold)));

    auto texts = std::make_unique<ICBSStackLayout>();
    introduction_ =
        static_cast<ICBSTextWidget*>(texts->AddPage(MakeTextWidget(parent, L"", true, kAlignLeft, normal)));
    auto upgrade = std::make_unique<ICBSVerticalLayout>(5);
    replaceNotice_ = upgrade->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    auto hintRow = std::make_unique<ICBSHorizontalLayout>(8);
    hintRow->AddChild(MakeImageWidget(parent, informationIcon_.Get()), kAlignLeft, kAlignCentre);
    quickInstallHint_ =
        hintRow->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal), kAlignLeft, kAlignCentre);
    upgrade->AddChild(std::move(hintRow));
    upgradeColumn_ = upgrade.get();
    texts->AddPage(std::move(upgrade));
    texts->SetCurrent(introduction_);
    texts_ = texts.get();

    auto notice = MakeTextWidget(parent, L"", true, kAlignLeft, Frame().Font(PageFont::Small));
    legalNotice_ = notice.get();
    auto box = std::make_unique<ICBSBoxLayout>(std::move(notice), kAlignLeft, kAlignBottom);
    noticeBox_ = box.get();

    root_.AddChild(std::move(header.row));
    root_.AddChild(std::move(texts));
    root_.AddChild(std::move(box));
}

PageStep WelcomeWizardPage::Prepare() {
    PageFrame& frame = Frame();
    frame.ShowLanguageBox(frame.OffersLanguageChoice() && frame.Mode().IsFreshInstall());

    DetectQuickInstall();

    if (installedName_.empty()) {
        const PackageInfo* main = frame.Packages().Main();
        if (frame.OffersLanguageChoice() && frame.Mode().mainProductInstalled && main &&
            !main->Products().empty()) {
            if (const auto installed = frame.Services().FindInstalledRecord(main->Products().front()))
                SwitchLanguage(installed->Language());
        }
        frame.EnableButton(WizardButton::Back, false);
    } else {
        WidenBackButton();
        frame.EnableButton(WizardButton::Back, true);
        if (frame.OffersLanguageChoice())
            SwitchLanguage(candidates_.front().Language());
    }
    frame.EnableButton(WizardButton::Next, true);
    frame.FocusButton(WizardButton::Next);
    ShowWindow(Handle(), SW_SHOW);
    return PageStep::Stay;
}

void WelcomeWizardPage::SwitchLanguage(const std::wstring& code) {
    if (!code.empty())
        Frame().Languages().SelectByShortCode(code);
}

void WelcomeWizardPage::DetectQuickInstall() {
    WizardServicesIF& services = Frame().Services();
    const PackageList& packages = Frame().Packages();
    if (packages.empty())
        return;
    const PackageInfo& main = packages[0];

    std::vector<ConflictRecord> records;
    bool blocked = services.CheckConflicts(main, records);
    for (size_t i = 1; i < packages.size() && !blocked; ++i)
        blocked = !packages[i].IsCompanionServerPackage() && services.CheckConflicts(packages[i], records);
    installedName_.clear();
    candidates_.clear();
    if (blocked)
        return;

    WriteLog(kLogLevelProgress, L"VNT (c): detecting upgrade or downgrade scenarios...\r\n");
    InstalledProducts::UpgradeFacts facts;
    bool offer = false;
    if (services.UpgradeRelation(main, facts, candidates_)) {
        if (facts.upgrade) {
            Welcome::UpgradeCase upgrade;
            upgrade.desktopProduct = main.IsDesktopProduct();
            upgrade.serverProduct = main.IsServerProduct();
            upgrade.hasActiveXControl = facts.hasActiveXControl;
            upgrade.sameMajor = facts.sameMajor;
            upgrade.candidatesEmpty = candidates_.empty();
            upgrade.anyCustomFolder =
                std::any_of(candidates_.begin(), candidates_.end(),
                            [&](const ProductRecord& r) { return services.HasCustomInstallFolder(r); });
            upgrade.mainProductId = main.ProductId();
            offer = Welcome::OffersQuickInstall(upgrade);
            if (offer) {
                installedName_ = facts.installedDisplayName;
                newMajorVersion_ = !facts.sameMajor;
            }
            WriteLog(kLogLevelProgress,
                     Format(L"    QUICK - This is a product upgrade of your current installation of %s.\r\n",
                            facts.installedDisplayName));
            if (facts.willReplace)
                WriteLog(kLogLevelProgress, L"    QUICL - Your current installation will get replaced.\r\n");
        } else {
            WriteLog(
                kLogLevelProgress,
                Format(L"    QUICK - This is a product downgrade of your current installation of %s.\r\n",
                       facts.installedDisplayName));
        }
    }
    if (!candidates_.empty() && packages.size() >= 2)
        SelectSubPackagesLike(ProductRecord(candidates_.front()));
    // The installed products' own setup options would be read here for the desktop products; the server
    // products this launcher carries keep theirs in their configuration files.
    if (!offer) {
        installedName_.clear();
        candidates_.clear();
    }
}

void WelcomeWizardPage::SelectSubPackagesLike(const ProductRecord& installedMain) {
    const PackageList& packages = Frame().Packages();
    SetupChoices& choices = Frame().Choices();
    std::vector<std::wstring> names;
    for (const PackageInfo& package : packages)
        names.push_back(package.ProductName());
    const std::vector<std::optional<bool>> named =
        SelectSubPackages(names, Frame().SubPackagesOption(), [](const std::wstring&) {});

    for (size_t i = 1; i < packages.size(); ++i) {
        const PackageInfo& package = packages[i];
        if (package.IsCompanionServerPackage() || package.Products().empty())
            continue;
        const ProductRecord& product = package.Products().front();
        if (product.CompareVersion(installedMain) == 0) {
            choices.Select(package, false);
            continue;
        }
        ProductRecord atInstalledVersion(product.Row(), installedMain.Version(), installedMain.Is64Bit(),
                                         installedMain.Language());
        if (Frame().Services().IsVersionInstalled(atInstalledVersion)) {
            choices.Select(package, true);
            candidates_.push_back(std::move(atInstalledVersion));
        } else {
            choices.Select(package, i < named.size() && named[i].value_or(true));
        }
    }
}

void WelcomeWizardPage::WidenBackButton() {
    if (backWidened_ > 0)
        return;
    Frame().WidenButton(WizardButton::Back, kQuickInstallWidening);
    backWidened_ = kQuickInstallWidening;
}

void WelcomeWizardPage::FitQuickInstallCaption(const std::wstring& caption) {
    // A translation longer than the English caption gets the room it needs, not only the usual widening.
    const int more = Frame().ButtonShortfall(WizardButton::Back, caption);
    if (more <= 0)
        return;
    Frame().WidenButton(WizardButton::Back, more);
    backWidened_ += more;
}

void WelcomeWizardPage::RestoreBackButton() {
    if (backWidened_ == 0)
        return;
    Frame().WidenButton(WizardButton::Back, -backWidened_);
    Frame().SetButtonText(WizardButton::Back, LoadString(StringId::Back));
    backWidened_ = 0;
}

void WelcomeWizardPage::Relayout() {
    const PackageInfo* main = Frame().Packages().Main();
    const std::wstring productName = main ? main->ProductName() : std::wstring();
    const std::wstring mainProductId = main ? main->ProductId() : std::wstring();
    title_->SetText(LoadString(StringId::Welcome));
    productName_->SetText(productName);
    legalNotice_->SetText(LoadString(StringId::LegalNotice));

    const SetupMode& mode = Frame().Mode();
    if (!mode.IsFreshInstall()) {
        introduction_->SetText(LoadString(Welcome::IntroductionStringId(mode, 0)));
        texts_->SetCurrent(introduction_);
    } else if (installedName_.empty()) {
        introduction_->SetText(Format(LoadString(Frame().IntroductionStringId()), productName));
        texts_->SetCurrent(introduction_);
    } else {
        title_->SetText(LoadString(StringId::Upgrading));
        replaceNotice_->SetText(Format(
            LoadString(Welcome::ReplaceNoticeStringId(newMajorVersion_, mainProductId)), installedName_));
        quickInstallHint_->SetText(LoadString(StringId::QuickInstallHint));
        texts_->SetCurrent(upgradeColumn_);
        const std::wstring caption = LoadString(StringId::QuickInstall);
        Frame().SetButtonText(WizardButton::Back, caption);
        FitQuickInstallCaption(caption);
        Frame().EnableButton(WizardButton::Back, true);
    }

    RECT client{};
    GetClientRect(Handle(), &client);
    const LayoutRect page{0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)};
    root_.SetGeometry(page);
    noticeBox_->SetGeometry(page);
}

PageStep WelcomeWizardPage::QueryNext() {
    if (!installedName_.empty())
        RestoreBackButton();
    return PageStep::Next;
}

PageStep WelcomeWizardPage::QueryBack() {
    Frame().Choices().quickInstallList = candidates_;
    if (!installedName_.empty())
        RestoreBackButton();
    return PageStep::Next;
}
