#include "wizard/WelcomeWizardPage_win.h"

#include "launcher/SetupLog.h"
#include "launcher/SubPackageSelection.h"
#include "support/Format.h"
#include "wizard/ICBSHorizontalLayout.h"
#include "wizard/WelcomeRules.h"
#include "wizard/Widgets_win.h"
#include "wizard/WizardDialog_win.h"

#include <algorithm>

namespace {

constexpr wchar_t kProductIconName[] = L"IDB_PRODUCT_IMAGE";
constexpr int kInformationIconId = 1348;
// The Back button grows to the left by this much while it reads "Quick Install".
constexpr int kQuickInstallWidening = 10;

constexpr unsigned kStringWelcome = 150;
constexpr unsigned kStringUpgrading = 1347;
constexpr unsigned kStringLegalNotice = 1045;
constexpr unsigned kStringQuickInstallHint = 1346;
constexpr unsigned kStringQuickInstall = 1349;
constexpr unsigned kStringBack = 56;

} // namespace

WelcomeWizardPage::WelcomeWizardPage(CWizardDialog& wizard) : WizardPageBase(wizard, L"Welcome") {}

void WelcomeWizardPage::CreateControls(HWND parent, int, int) {
    productIcon_ = LoadPageIcon(Wizard().Resources(), kProductIconName);
    informationIcon_ = LoadPageIcon(Wizard().Resources(), MAKEINTRESOURCEW(kInformationIconId));
    const HFONT normal = Wizard().NormalFont();

    auto header = std::make_unique<ICBSHorizontalLayout>(10);
    header->AddChild(MakeImageWidget(parent, productIcon_.Get()), kAlignLeft, kAlignCentre);
    auto names = std::make_unique<ICBSVerticalLayout>(5);
    title_ = names->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    productName_ = names->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Wizard().LargeBoldFont()));
    header->AddChild(std::move(names), kAlignLeft, kAlignCentre);

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

    auto notice = MakeTextWidget(parent, L"", true, kAlignLeft, Wizard().SmallFont());
    legalNotice_ = notice.get();
    auto box = std::make_unique<ICBSBoxLayout>(std::move(notice), kAlignLeft, kAlignBottom);
    noticeBox_ = box.get();

    root_.AddChild(std::move(header));
    root_.AddChild(std::move(texts));
    root_.AddChild(std::move(box));
}

void WelcomeWizardPage::Prepare() {
    HWND languageBox = GetDlgItem(Wizard().Handle(), WizardControl::LanguageBox);
    ShowWindow(languageBox, Wizard().OffersLanguageChoice() && Wizard().IsFreshInstall() ? SW_SHOW : SW_HIDE);

    DetectQuickInstall();

    WizardHostIF& host = Wizard().Host();
    if (installedName_.empty()) {
        const auto& packages = host.Packages();
        if (Wizard().OffersLanguageChoice() && Wizard().MainProductInstalled() && !packages.empty() &&
            !packages.front()->Products().empty()) {
            if (const auto installed = host.FindInstalledRecord(packages.front()->Products().front()))
                SwitchLanguage(installed->Language());
        }
        Wizard().EnableButton(WizardControl::Back, false);
    } else {
        WidenBackButton();
        Wizard().EnableButton(WizardControl::Back, true);
        if (Wizard().OffersLanguageChoice())
            SwitchLanguage(candidates_.front().Language());
    }
    Wizard().EnableButton(WizardControl::Next, true);
    FocusWizardControl(WizardControl::Next);
    ShowWindow(Handle(), SW_SHOW);
}

void WelcomeWizardPage::SwitchLanguage(const std::wstring& code) {
    if (!code.empty())
        Wizard().Host().Languages().SelectByShortCode(code);
}

void WelcomeWizardPage::DetectQuickInstall() {
    WizardHostIF& host = Wizard().Host();
    auto& packages = host.Packages();
    if (packages.empty())
        return;
    PackageInfo& main = *packages.front();

    std::vector<ConflictRecord> records;
    bool blocked = host.CheckConflicts(main, records);
    for (size_t i = 1; i < packages.size() && !blocked; ++i)
        blocked = !packages[i]->IsCompanionServerPackage() && host.CheckConflicts(*packages[i], records);
    installedName_.clear();
    candidates_.clear();
    if (blocked)
        return;

    WriteLog(kLogLevelProgress, L"VNT (c): detecting upgrade or downgrade scenarios...\r\n");
    InstalledProducts::UpgradeFacts facts;
    bool offer = false;
    if (host.UpgradeRelation(main, facts, candidates_)) {
        if (facts.upgrade) {
            Welcome::UpgradeCase upgrade;
            upgrade.desktopProduct = main.IsDesktopProduct();
            upgrade.serverProduct = main.IsServerProduct();
            upgrade.hasActiveXControl = facts.hasActiveXControl;
            upgrade.sameMajor = facts.sameMajor;
            upgrade.candidatesEmpty = candidates_.empty();
            upgrade.anyCustomFolder =
                std::any_of(candidates_.begin(), candidates_.end(),
                            [&](const ProductRecord& r) { return host.HasCustomInstallFolder(r); });
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
    WizardHostIF& host = Wizard().Host();
    auto& packages = host.Packages();
    std::vector<std::wstring> names;
    for (const auto& package : packages)
        names.push_back(package->ProductName());
    const std::vector<std::optional<bool>> named =
        SelectSubPackages(names, host.CommandLine().subPackages, [](const std::wstring&) {});

    for (size_t i = 1; i < packages.size(); ++i) {
        PackageInfo& package = *packages[i];
        if (package.IsCompanionServerPackage() || package.Products().empty())
            continue;
        const ProductRecord& product = package.Products().front();
        if (product.CompareVersion(installedMain) == 0) {
            package.SetSelected(false);
            continue;
        }
        ProductRecord atInstalledVersion(product.Row(), installedMain.Version(), installedMain.Is64Bit(),
                                         installedMain.Language());
        if (host.IsVersionInstalled(atInstalledVersion)) {
            package.SetSelected(true);
            candidates_.push_back(std::move(atInstalledVersion));
        } else {
            package.SetSelected(i < named.size() && named[i].value_or(true));
        }
    }
}

void WelcomeWizardPage::WidenBackButton() {
    if (backWidened_)
        return;
    HWND back = GetDlgItem(Wizard().Handle(), WizardControl::Back);
    RECT rect;
    GetWindowRect(back, &rect);
    MapWindowPoints(nullptr, Wizard().Handle(), reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(back, nullptr, rect.left - kQuickInstallWidening, rect.top,
                 rect.right - rect.left + kQuickInstallWidening, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    backWidened_ = true;
}

void WelcomeWizardPage::RestoreBackButton() {
    if (!backWidened_)
        return;
    HWND back = GetDlgItem(Wizard().Handle(), WizardControl::Back);
    RECT rect;
    GetWindowRect(back, &rect);
    MapWindowPoints(nullptr, Wizard().Handle(), reinterpret_cast<POINT*>(&rect), 2);
    SetWindowPos(back, nullptr, rect.left + kQuickInstallWidening, rect.top,
                 rect.right - rect.left - kQuickInstallWidening, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(back, LoadString(kStringBack).c_str());
    backWidened_ = false;
}

void WelcomeWizardPage::Relayout() {
    const auto& packages = Wizard().Host().Packages();
    const std::wstring productName = packages.empty() ? std::wstring() : packages.front()->ProductName();
    const std::wstring mainProductId = packages.empty() ? std::wstring() : packages.front()->ProductId();
    title_->SetText(LoadString(kStringWelcome));
    productName_->SetText(productName);
    legalNotice_->SetText(LoadString(kStringLegalNotice));

    const WizardMode mode = Wizard().Mode();
    if (!mode.IsFreshInstall()) {
        introduction_->SetText(LoadString(Welcome::IntroductionStringId(mode, 0)));
        texts_->SetCurrent(introduction_);
    } else if (installedName_.empty()) {
        introduction_->SetText(Format(LoadString(Wizard().Host().IntroductionStringId()), productName));
        texts_->SetCurrent(introduction_);
    } else {
        title_->SetText(LoadString(kStringUpgrading));
        replaceNotice_->SetText(Format(
            LoadString(Welcome::ReplaceNoticeStringId(newMajorVersion_, mainProductId)), installedName_));
        quickInstallHint_->SetText(LoadString(kStringQuickInstallHint));
        texts_->SetCurrent(upgradeColumn_);
        SetDlgItemTextW(Wizard().Handle(), WizardControl::Back, LoadString(kStringQuickInstall).c_str());
        Wizard().EnableButton(WizardControl::Back, true);
    }

    RECT client{};
    GetClientRect(Handle(), &client);
    const LayoutRect page{0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)};
    root_.SetGeometry(page);
    noticeBox_->SetGeometry(page);
}

bool WelcomeWizardPage::QueryNext() {
    if (!installedName_.empty())
        RestoreBackButton();
    return true;
}

bool WelcomeWizardPage::QueryBack() {
    Wizard().Host().QuickInstallList() = candidates_;
    if (!installedName_.empty())
        RestoreBackButton();
    Wizard().GoNext();
    return false;
}
