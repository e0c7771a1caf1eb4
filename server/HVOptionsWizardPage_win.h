// HVOptionsWizardPage: before the main server line is installed over an existing server, measures what a
// backup of its data needs and what the disk has free, and lets the user skip the backup, reset the
// database and choose the example solutions; the choices go to the packages as the backup options string.
// The page copies nothing itself. It owns its layout tree, the measured values and, while it measures,
// the worker that writes them.
#pragma once

#include "server/BackupMeasurement.h"
#include "server/ServerDataSettings.h"
#include "wizard/ICBSVerticalLayout.h"
#include "wizard/WizardPageBase_win.h"

class ICBSTextWidget;
class ICBSCheckboxWidget;
class ICBSProgressWidget;
class ICBSStackLayout;

class HVOptionsWizardPage : public WizardPageBase {
public:
    // The data folder is the server's folder under the frame's common application data folder, or none
    // when that folder does not exist.
    explicit HVOptionsWizardPage(PageFrame& frame);

    PageStep Prepare() override;
    PageStep QueryNext() override;
    void CreateControls(HWND parent, int width, int height) override;
    void Relayout() override;

    const std::wstring& DataFolder() const { return dataFolder_; }
    const Backup::BackupMeasurement& Measurement() const { return measurement_; }

protected:
    bool OnCommand(int id, int code) override;

private:
    enum class Measured { BackupPossible, NoBackup, Quit };
    // Reads the configuration and measures on a worker while the wizard keeps serving its messages.
    Measured MeasureBackup();
    // Shows the measured values; ticks "Skip backup" when the disk is short of space.
    void RefreshValues();
    void ShowExampleSolutions(bool show);
    void LayOut();

    std::wstring dataFolder_;
    ServerData::Settings settings_;
    bool firstActivation_ = true;
    bool backupPossible_ = false;
    bool measurementFinished_ = false;
    bool databaseExists_ = false;
    unsigned descriptionId_ = 0;
    Backup::BackupMeasurement measurement_;

    ICBSVerticalLayout root_{5};
    ICBSTextWidget* heading_ = nullptr;
    ICBSTextWidget* description_ = nullptr;
    ICBSStackLayout* panels_ = nullptr;
    ICBSLayout* measuringPanel_ = nullptr;
    ICBSLayout* resultsPanel_ = nullptr;
    ICBSLayout* noPanel_ = nullptr;
    ICBSTextWidget* status_ = nullptr;
    ICBSProgressWidget* progress_ = nullptr;
    ICBSTextWidget* sizeLabel_ = nullptr;
    ICBSTextWidget* freeLabel_ = nullptr;
    ICBSTextWidget* sizeValue_ = nullptr;
    ICBSTextWidget* freeValue_ = nullptr;
    ICBSCheckboxWidget* skipBackup_ = nullptr;
    ICBSCheckboxWidget* resetDatabase_ = nullptr;
    ICBSTextWidget* resetExplanation_ = nullptr;
    ICBSCheckboxWidget* exampleSolutions_ = nullptr;
    bool exampleSolutionsShown_ = false;
};
