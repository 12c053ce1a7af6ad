// The wizard window's life and its handlers: construction, the buttons, the close query,
// the timers and the application's reactivation.
#include "wizard/MainDlg.h"

#include "common/InstallStatus.h"
#include "common/MessageDialog.h"
#include "engine/InstallThread.h"
#include "registration/Settings.h"
#include "wizard/CheckListBox.h"
#include "wizard/DestDirPage.h"
#include "wizard/DriveComboBox.h"
#include "wizard/FolderListBox.h"
#include "wizard/SelCompPage.h"

#include <exception>

namespace orv {

namespace {
constexpr UINT_PTR InstallPollTimer = 1;
constexpr UINT_PTR DriveWatchTimer = 2;
constexpr UINT InstallPollMs = 100;
constexpr UINT DriveWatchMs = 1000;
constexpr uint8_t NoPage = 255;
}  // namespace

TMainDlgForm::TMainDlgForm(TAttachedFiles& files, const TCommandLine* switches) : files_(files) {
    CreateControls();
    SetUpAppearance();
    destDirPage_ = std::make_unique<TDestDirPage>(DestDirEdt->Handle(), *DestDirCmbBx, *DestDirLstBx, FormLoaded);
    DestDirCmbBx->SetFolderList(DestDirLstBx);
    DestDirLstBx->OnChange = [this] { destDirPage_->DestDirLstBxChange(); };
    selCompPage_ = std::make_unique<TSelCompPage>(*SelCompLstBx, state_);
    selCompPage_->OnDiskSpace = [this](const TDiskSpace& space) {
        SelCompDiskSpaceReqLbl2->SetText(space.RequiredText);
        SelCompDiskSpaceAvailLbl2->SetText(space.AvailableText);
        NextBtn->SetEnabled(space.NextEnabled);
    };
    BackBtn->OnClick = [this](ui::TControl* sender) { BNClick(sender); };
    NextBtn->OnClick = [this](ui::TControl* sender) { BNClick(sender); };
    CancelBtn->OnClick = [this](ui::TControl* sender) { CancelBtnClick(sender); };
    InstallToAllChkBx->OnClick = [this](ui::TControl*) { state_.InstallToAll = InstallToAllChkBx->Checked(); };
    FinishChkBx->OnClick = [this](ui::TControl*) { state_.Launch = FinishChkBx->Checked(); };
    for (int i = 0; i < 4; ++i)
        AssocChkBx[i]->OnClick = [this, i](ui::TControl*) { state_.AssocChecked[i] = AssocChkBx[i]->Checked(); };
    LicenseChkBx->SetChecked(true);

    LoadSettings(state_);
    if (switches) ApplyCommandLine(state_, *switches);
    selCompPage_->SetUpItems();
    InstallToAllChkBx->SetChecked(state_.InstallToAll);
    FinishChkBx->SetChecked(state_.Launch);
    DestDirEdt->SetText(state_.Options.DestDir);
    DestDirLstBx->SetDirectory(state_.Options.DestDir);
    SelCompLbl->SetText(
        "Uncheck boxes for the &components that you do not wish to install or upgrade (the required disk "
        "space is displayed on the right):");
    ::SetTimer(Handle(), InstallPollTimer, InstallPollMs, nullptr);
    ::SetTimer(Handle(), DriveWatchTimer, DriveWatchMs, nullptr);
    GoToPage(NoPage, pgWelcome);
    FormLoaded = true;
}

TMainDlgForm::~TMainDlgForm() {
    ::KillTimer(Handle(), InstallPollTimer);
    ::KillTimer(Handle(), DriveWatchTimer);
    // The worker is joined before the window and the plan it reads go away.
    worker_.reset();
    DestroyHandle();
}

void TMainDlgForm::WaitForInstallEnd() {
    if (worker_) worker_->WaitForEnd();
}

ui::TTabSheet* TMainDlgForm::FindPageByTag(uint8_t number) const {
    for (int i = 0; i < PgCtrl->PageCount(); ++i)
        if (static_cast<uint8_t>(PgCtrl->Page(i)->Tag) == number) return PgCtrl->Page(i);
    return nullptr;
}

uint8_t TMainDlgForm::CurrentPage() const {
    ui::TTabSheet* page = PgCtrl->ActivePage();
    return page ? static_cast<uint8_t>(page->Tag) : NoPage;
}

void TMainDlgForm::BNClick(ui::TControl* sender) {
    uint8_t from = CurrentPage();
    uint8_t to = static_cast<uint8_t>(sender == NextBtn ? from + 1 : from - 1);
    GoToPage(from, to);
}

void TMainDlgForm::CancelBtnClick(ui::TControl*) {
    Close();
}

bool TMainDlgForm::CloseQuery() {
    bool canClose = true;
    FormCloseQuery(this, canClose);
    return canClose;
}

void TMainDlgForm::WMTimer(UINT_PTR id) {
    if (id == InstallPollTimer)
        PollInstall();
    else
        destDirPage_->DriveWatch();
}

// The worker is held through the state byte while the question is open: it waits between
// files and is never suspended in the middle of one.
void TMainDlgForm::FormCloseQuery(ui::TControl*, bool& canClose) {
    canClose = InstallCloseQuery(CloseAllowed, [](const std::string& text, uint8_t kind, uint16_t buttons) {
        return ShowMessageDialog(text, kind, buttons);
    });
}

void TMainDlgForm::PollInstall() {
    TInstallPoll poll = PollInstallStatus();
    switch (poll.Action) {
    case TPollAction::ShowProgress:
        InstallingProgressBar->SetPosition(poll.Position);
        if (InstallingLbl2->Text() != poll.Label) InstallingLbl2->SetText(poll.Label);
        break;
    case TPollAction::MovedOn:
        GoToPage(pgInstalling, pgAssoc);
        break;
    case TPollAction::CloseFailed:
        CloseAllowed = true;
        SetModalResult(ui::mrCancel);
        // An error that ended the worker is shown here, like any error of the wizard's own.
        if (poll.Error) std::rethrow_exception(poll.Error);
        break;
    case TPollAction::Nothing:
        break;
    }
}

void TMainDlgForm::WMActivateApp(bool active) {
    if (active && PgCtrl->ActivePage() == FindPageByTag(pgSelComp)) UpdateDiskSpace();
}

void TMainDlgForm::UpdateDiskSpace() {
    selCompPage_->UpdateDiskSpace();
}

}  // namespace orv
