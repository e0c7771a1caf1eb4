// ServiceConfigurationWizardPage: reviews and changes the service and web-server settings of every server
// product about to be installed, one tab per configurable interface whose package is selected, and hands
// them to the installer as properties on Next. The page owns its records (built with it from the installed
// services and configuration files), its tab control, its three summary groups and, while one is open,
// the dialog that changes a group.
#pragma once

#include "server/RichSummary_win.h"
#include "server/ServerConfiguration.h"
#include "server/WhiteTabControl_win.h"
#include "wizard/DialogBase_win.h"
#include "wizard/WizardPageBase_win.h"

#include <optional>
#include <vector>

class ServiceConfigurationWizardPage : public WizardPageBase {
public:
    explicit ServiceConfigurationWizardPage(PageFrame& frame);

    PageStep Prepare() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;
    void Deactivate() override;
    // Checks that every server keeps a connection, asks for missing logon passwords and stores the
    // properties; Stay when something is missing or the user cancelled a password.
    PageStep QueryNext() override;

    const std::vector<ServerConfiguration>& Records() const { return records_; }

    // A web server's connection: port, on/off and, for the SSL server, the certificate files of the
    // record's service owner.
    class CConnectionDetailsDlg : public CDialogBase {
    public:
        CConnectionDetailsDlg(ServiceConfigurationWizardPage& page, size_t record, bool ssl);

    protected:
        BOOL OnInitDialog() override;
        bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    private:
        void Browse(int editId);
        ServiceConfigurationWizardPage& page_;
        size_t record_;
        bool ssl_;
    };

    // A service's start type and logon account.
    class CServiceDetailsDlg : public CDialogBase {
    public:
        CServiceDetailsDlg(ServiceConfigurationWizardPage& page, size_t record);

    protected:
        BOOL OnInitDialog() override;
        bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    private:
        void EnableUserControls();
        void AddToolTip(HWND tip, int controlId, unsigned stringId);
        ServiceConfigurationWizardPage& page_;
        size_t record_;
        WindowHandle toolTip_;
    };

    // The password of a service's logon user, asked for on Next.
    class CPasswordDialog : public CDialogBase {
    public:
        CPasswordDialog(ServiceConfigurationWizardPage& page, const ServerConfiguration& record);
        const std::wstring& Password() const { return password_; }

    protected:
        BOOL OnInitDialog() override;
        bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    private:
        ServiceConfigurationWizardPage& page_;
        const ServerConfiguration& record_;
        std::wstring password_;
    };

protected:
    bool OnCommand(int id, int code) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Group {
        HWND caption = nullptr;
        RichSummary summary;
        HWND button = nullptr;
        void Show(bool show);
    };

    struct GroupControlIds {
        int summary, button;
    };
    GroupControlIds GroupIds(const Group& group) const;
    void PlaceGroups();
    bool Selected(size_t package) const;
    // Runs a dialog over the wizard in the current language, then shows the summaries again.
    void RunDialog(CDialogBase& dialog);
    std::optional<std::wstring> AskPassword(const ServerConfiguration& record);
    void ShowPrepared();
    HWND Wizard() const;

    std::vector<ServerConfiguration> records_;
    CWhiteTabCtrl tabs_;
    Group unencrypted_, ssl_, service_;
};
