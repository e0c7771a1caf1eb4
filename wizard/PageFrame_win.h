// PageFrame: everything a wizard page may use besides its own window. The wizard's buttons by name, its
// language box and its window as a whole; the fonts, the brush and the resources to draw with; and the
// run the page works for: strings in the current language, the log, the mode, the package list (read only),
// the choices and the result, and the services of the system. The wizard implements it; pages never see
// the wizard itself, and never move between pages (they answer the navigator instead). The setup context
// and the services belong to the application; the frame borrows them.
#pragma once

#include "launcher/SetupContext.h"
#include "wizard/WizardRules.h"
#include "wizard/WizardServicesIF.h"

#include <windows.h>

#include <string>

enum class WizardButton { Back, Next, Cancel };
// The control identifier of every page window inside the wizard's frame control.
constexpr int kWizardPageControlId = 1037;
enum class PageFont { LargeBold, Bold, Medium, Normal, Small };

class PageFrame {
public:
    PageFrame(SetupContext& context, WizardServicesIF& services) : context_(context), services_(services) {}
    PageFrame(const PageFrame&) = delete;
    PageFrame& operator=(const PageFrame&) = delete;

    // The wizard's window.
    virtual void EnableButton(WizardButton button, bool enable) = 0;
    virtual void SetButtonText(WizardButton button, const std::wstring& text) = 0;
    // Moves the keyboard focus to the button once the current message is handled.
    virtual void FocusButton(WizardButton button) = 0;
    // Grows the button to the left by `pixels` (shrinks it back with a negative number).
    virtual void WidenButton(WizardButton button, int pixels) = 0;
    // How many pixels the button lacks to show `text` whole in its font; 0 when it fits.
    virtual int ButtonShortfall(WizardButton button, const std::wstring& text) const = 0;
    virtual void ShowLanguageBox(bool show) = 0;
    // Enables or disables the whole wizard, so nothing can be pressed while work runs.
    virtual void EnableWizard(bool enable) = 0;
    // Asks the navigator to move on as the Next button would (QueryNext included), once the current
    // message is handled; for pages whose worker decides when they are done.
    virtual void PostNext() = 0;
    // Paints the wizard and all its children again.
    virtual void Repaint() = 0;
    virtual bool IsVisible() const = 0;
    // Hides the wizard, or shows it again in front of the other windows, active.
    virtual void SetVisible(bool visible) = 0;
    // The slot after the current one holds a page.
    virtual bool HasNextPage() const = 0;
    // The flags the page list was built with.
    virtual const WizardFlags& Flags() const = 0;
    // Every text of the wizard and of the current page again, in the current language.
    virtual void RefreshTexts() = 0;
    // Hands a message taken from the queue to the wizard's dialog handling (keyboard navigation); true
    // when it was handled there.
    virtual bool TranslateDialogMessage(MSG& message) = 0;
    virtual HFONT Font(PageFont font) const = 0;
    virtual HBRUSH WhiteBrush() const = 0;
    // The module the artwork, icons and dialog templates come from.
    virtual HMODULE Resources() const = 0;

    // The run.
    std::wstring String(unsigned id) const { return context_.languages.LoadString(id); }
    void Log(int level, const std::wstring& line) const { context_.log.WriteLine(level, line); }
    LogSinkIF& LogSink() const { return context_.log; }
    const SetupMode& Mode() const { return context_.mode; }
    bool IsInteractive() const { return context_.IsInteractive(); }
    // More than one user-interface language is offered.
    bool OffersLanguageChoice() const { return context_.multiLanguage; }
    LanguageTable& Languages() const { return context_.languages; }
    std::wstring WizardTitle() const { return context_.WizardTitle(); }
    // The processor runs 64-bit programs.
    bool Is64BitSystem() const { return context_.system.is64Bit; }
    // The Windows major version the system check found (0 when the query failed).
    uint32_t WindowsMajor() const { return context_.system.version.major; }
    // A value the workload named (e.g. a file for a page); empty when none.
    std::wstring NamedValue(const std::wstring& name) const {
        const auto found = context_.namedValues.find(name);
        return found == context_.namedValues.end() ? std::wstring() : found->second;
    }
    // The string id of the fresh-install greeting the system check chose.
    unsigned IntroductionStringId() const { return context_.system.introductionStringId; }
    // The subPackages= option of the command line.
    const std::wstring& SubPackagesOption() const { return context_.commandLine.subPackages; }
    const PackageList& Packages() const { return context_.packages; }
    // The command line's public properties, name=value each; the service configuration takes out those it
    // writes itself.
    std::vector<std::wstring>& CommandLineProperties() const { return context_.commandLine.properties; }
    SetupChoices& Choices() const { return context_.choices; }
    SetupResult& Result() const { return context_.result; }
    // Records an installer error as the unreported result; 0 changes nothing.
    void SetInstallerResult(int32_t installerError) const {
        ApplyInstallerResult(context_.result, installerError);
    }
    WizardServicesIF& Services() const { return services_; }

protected:
    ~PageFrame() = default;

private:
    SetupContext& context_;
    WizardServicesIF& services_;
};
