#include "prerequisites/MosquittoWizardPage_win.h"

#include "StringIds.h"
#include "launcher/SetupLog.h"
#include "prerequisites/CarriedInstaller_win.h"
#include "prerequisites/MosquittoRules.h"
#include "support/FileUtilities_win.h"
#include "support/Handle_win.h"
#include "wizard/ICBSButtonWidget.h"
#include "wizard/ICBSTextWidget.h"
#include "wizard/Widgets_win.h"

#include <algorithm>
#include <memory>
#include <thread>

namespace {

constexpr int kExplanationIndent = 16;

} // namespace

MosquittoWizardPage::MosquittoWizardPage(PageFrame& frame) : WizardPageBase(frame, L"Mosquitto") {}

void MosquittoWizardPage::CreateControls(HWND parent, int, int) {
    const HFONT normal = Frame().Font(PageFont::Normal);
    heading_ =
        root_.AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, Frame().Font(PageFont::LargeBold)));
    auto offer = std::make_unique<ICBSVerticalLayout>(3);
    button_ = offer->AddChild(MakeButtonWidget(parent, L"", Mosquitto::kLaunchCommand, normal));
    explanation_ = offer->AddChild(MakeTextWidget(parent, L"", true, kAlignLeft, normal));
    explanation_->SetLeftMargin(kExplanationIndent);
    root_.AddChild(std::move(offer));
}

PageStep MosquittoWizardPage::Prepare() {
    if (Mosquitto::PassesOn(Frame().Mode(), Frame().IsInteractive()))
        return PageStep::Next;
    Frame().EnableButton(WizardButton::Next, true);
    ShowWindow(Handle(), SW_SHOW);
    return PageStep::Stay;
}

void MosquittoWizardPage::Relayout() {
    heading_->SetText(LoadString(StringId::MqttSupport));
    button_->SetText(LoadString(StringId::LaunchMosquittoInstaller));
    explanation_->SetText(LoadString(StringId::MosquittoDescription));
    RECT client{};
    GetClientRect(Handle(), &client);
    root_.SetGeometry({0, 0, std::max<int>(0, client.right), std::max<int>(0, client.bottom)});
}

bool MosquittoWizardPage::OnCommand(int id, int code) {
    if (id != Mosquitto::kLaunchCommand || code != BN_CLICKED)
        return false;
    RunBrokerInstaller();
    return true;
}

void MosquittoWizardPage::EnableControls(bool enable) {
    EnableWindow(ControlOf(button_), enable);
    Frame().EnableButton(WizardButton::Next, enable);
    Frame().EnableButton(WizardButton::Cancel, enable);
    Frame().EnableButton(WizardButton::Back, enable);
    Frame().EnableWizard(enable);
}

bool MosquittoWizardPage::RunBrokerInstaller() {
    EnableControls(false);
    const Mosquitto::BrokerInstaller installer = Mosquitto::InstallerFor(Frame().Is64BitSystem());
    const PackageInfo* main = Frame().Packages().Main();
    const std::wstring path = Mosquitto::TargetPath(main ? main->PackageFolder() : std::wstring(), installer);
    if (path.empty() || !WriteCarriedInstaller(installer.resourceName, path)) {
        EnableControls(true);
        return false;
    }

    // The worker outlives the page when the application quits meanwhile: it owns what it uses.
    auto running = std::make_shared<std::atomic<bool>>(true);
    std::thread([running, path] {
        ICBSFileUtilities::Wait(path, true, L"", nullptr, INFINITE, true, nullptr);
        running->store(false);
    }).detach();
    WriteLog(kLogLevelProgress, std::wstring(Mosquitto::kWorkerCreatedLogLine));
    while (running->load()) {
        Sleep(Mosquitto::kRunningPollMs);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                WriteLog(kLogLevelProgress, L"VNT (c): Received 'quit' message\r\n");
                PostQuitMessage(0);
                return false;
            }
            if (!Frame().TranslateDialogMessage(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    EnableControls(true);
    return true;
}
