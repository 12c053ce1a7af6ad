// The wizard window: its controls, the page flow and the handlers of its buttons, timers
// and activation. Everything it decides lives in the setup state; the engine reads that.
#pragma once

#include "registration/CommandLine.h"
#include "common/InstUtils.h"
#include "engine/InstallStart.h"
#include "engine/SetupState.h"
#include "payload/AttachFiles.h"
#include "ui/ExtCtrls.h"
#include "ui/FormDescription.h"
#include "ui/Form.h"
#include "ui/StdControls.h"

#include <cstdint>
#include <memory>

namespace orv {

class TCheckListBox;
class TDirectoryListBox;
class TDriveComboBox;
class TDestDirPage;
class TSelCompPage;
class TInstallThread;

// The class name the wizard's window is registered under (its caption is SetupTitle).
constexpr const char* MainDlgClassName = "TMainDlgForm";

// Page numbers: the tags of the pages; 8 stands for finishing and closing.
enum : uint8_t {
    pgWelcome = 0,
    pgLicense = 1,
    pgDestDir = 2,
    pgSelComp = 3,
    pgStart = 4,
    pgInstalling = 5,
    pgAssoc = 6,
    pgFinish = 7,
    pgClose = 8,
};

// Registers every control class the wizard's table names (the layer's own and the
// wizard's lists), so that the window can be built from it.
void RegisterWizardControlClasses();

class TMainDlgForm : public ui::TForm {
public:
    // Builds the window from its table, reads the stored settings (and lets the switches of
    // the command line, when given, override them), fills the pages, starts the two timers
    // and shows the Welcome page (hidden until ShowModal).
    explicit TMainDlgForm(TAttachedFiles& files, const TCommandLine* switches = nullptr);
    ~TMainDlgForm() override;

    void GoToPage(uint8_t from, uint8_t to);
    ui::TTabSheet* FindPageByTag(uint8_t number) const;
    uint8_t CurrentPage() const;  // the tag of the page shown
    void BNClick(ui::TControl* sender);
    void CancelBtnClick(ui::TControl* sender);

    TSetupState& State() { return state_; }
    // Waits until the install worker, if one was started, has ended; a stop is requested
    // first when the wizard closed while it still ran.
    void WaitForInstallEnd();
    bool CloseAllowed = false;
    bool FormLoaded = false;

    // The controls the page flow addresses (owned by the component list).
    ui::TPageControl* PgCtrl = nullptr;
    ui::TPanel* TopPanel = nullptr;
    ui::TLabel* TopLbl = nullptr;
    ui::TImage* LogoSmallImage = nullptr;
    ui::TImage* LogoImage = nullptr;
    ui::TButton* BackBtn = nullptr;
    ui::TButton* NextBtn = nullptr;
    ui::TButton* CancelBtn = nullptr;
    ui::TLabel* WelcomeLbl = nullptr;
    ui::TMemo* LicenseMemo = nullptr;
    ui::TCheckBox* LicenseChkBx = nullptr;
    ui::TEdit* DestDirEdt = nullptr;
    TDirectoryListBox* DestDirLstBx = nullptr;
    TDriveComboBox* DestDirCmbBx = nullptr;
    ui::TLabel* SelCompLbl = nullptr;
    TCheckListBox* SelCompLstBx = nullptr;
    ui::TLabel* SelCompDiskSpaceReqLbl2 = nullptr;
    ui::TLabel* SelCompDiskSpaceAvailLbl2 = nullptr;
    ui::TCheckBox* InstallToAllChkBx = nullptr;
    ui::TLabel* InstallingLbl2 = nullptr;
    ui::TProgressBar* InstallingProgressBar = nullptr;
    ui::TCheckBox* AssocChkBx[4] = {nullptr, nullptr, nullptr, nullptr};
    ui::TLabel* FinishLbl = nullptr;
    ui::TCheckBox* FinishChkBx = nullptr;

protected:
    bool CloseQuery() override;
    void OnTimer(UINT_PTR id) override { WMTimer(id); }
    void OnActivateApp(bool active) override { WMActivateApp(active); }
    void OnDpiChanged(int dpi) override;

private:
    // Layout (MainDlgLayout.cpp).
    void CreateControls();
    void BindControls();
    void SetUpAppearance();
    void MakeFonts(int dpi);
    void SetSpecialFonts();
    // Handlers (MainDlg.cpp).
    void FormCloseQuery(ui::TControl* sender, bool& canClose);
    void WMTimer(UINT_PTR id);
    void WMActivateApp(bool active);
    void PollInstall();
    // Page steps (MainDlgPages.cpp): each returns false when the page change stops there,
    // and names the control that takes the focus afterwards.
    bool EnterLicense(uint8_t from, ui::TControl*& focus);
    bool EnterDestDir(uint8_t from, ui::TControl*& focus);
    bool EnterSelComp(uint8_t from, ui::TControl*& focus);
    bool EnterStart(ui::TControl*& focus);
    bool EnterInstalling();
    bool EnterAssoc(ui::TControl*& focus);
    bool EnterFinish();
    void FinishAndClose();
    bool ProductRunningRefusal();
    // Shows why the plan cannot be written, if it cannot: true then, and the page stays.
    bool CheckRefusal(bool withSpace);
    void LoadLicenseText();
    void ShowPage(uint8_t to, ui::TControl* focus);
    void StartInstall();
    void UpdateDiskSpace();

    TAttachedFiles& files_;
    TSetupState state_;
    ui::TComponentList components_;
    UniqueHFont dialogFont_;
    UniqueHFont bannerFont_;
    UniqueHFont boldFont_;
    std::unique_ptr<TDestDirPage> destDirPage_;
    std::unique_ptr<TSelCompPage> selCompPage_;
    std::unique_ptr<TInstallThread> worker_;
};

}  // namespace orv
