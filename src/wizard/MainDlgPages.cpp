// The page flow: GoToPage as a script of the target page's step, the button states, the
// banner title, the page and the focus, and the start of the install.
#include "wizard/MainDlg.h"

#include "common/InstUtils.h"
#include "common/WideApi.h"
#include "common/InstallStatus.h"
#include "common/MessageDialog.h"
#include "common/Owners.h"
#include "common/ProductInterface.h"
#include "engine/FileSelection.h"
#include "engine/FolderLayout.h"
#include "engine/InstallCheck.h"
#include "engine/InstallLogFiles.h"
#include "engine/InstallStart.h"
#include "engine/InstallThread.h"
#include "engine/ResConst.h"
#include "registration/Associations.h"
#include "wizard/CheckListBox.h"
#include "wizard/DestDirPage.h"
#include "wizard/SelCompPage.h"

namespace orv {

namespace {

constexpr const char* ProductRunningText =
    "A copy of Orvanel Word Processor is already running on your system.\r"
    "Please close any running instance(s) of Orvanel Word Processor, then click OK in this dialog.";
constexpr const char* LicenseRefusedText =
    "To install this program, you need to agree to all the terms\r"
    "of the Orvanel Word Processor License Agreement.\r"
    "Do you really want to cancel the Orvanel install?";
constexpr const char* LicenseEntryName = "License.txt";

std::string DestinationTooLongText() {
    return "The destination folder name is too long.\r"
           "Please choose a folder whose full name has at most " +
           std::to_string(MaxDestinationLength) + " characters.";
}

}  // namespace

void TMainDlgForm::GoToPage(uint8_t from, uint8_t to) {
    if (to == pgAssoc && IsPortableInstall(state_)) to = pgFinish;
    ui::TControl* focus = nullptr;
    bool goOn = true;
    switch (to) {
    case pgLicense:
        goOn = EnterLicense(from, focus);
        break;
    case pgDestDir:
        goOn = EnterDestDir(from, focus);
        break;
    case pgSelComp:
        goOn = EnterSelComp(from, focus);
        break;
    case pgStart:
        goOn = EnterStart(focus);
        break;
    case pgInstalling:
        goOn = EnterInstalling();
        break;
    case pgAssoc:
        goOn = EnterAssoc(focus);
        break;
    case pgFinish:
        goOn = EnterFinish();
        break;
    case pgClose:
        FinishAndClose();
        return;
    default:
        break;
    }
    if (!goOn) return;
    ShowPage(to, focus);
    // The button step enables Next on every page but Installing; on the component page the
    // figures decide, or an install that cannot fit on the drive could start.
    if (to == pgSelComp) UpdateDiskSpace();
    if (to == pgInstalling) StartInstall();
}

bool TMainDlgForm::ProductRunningRefusal() {
    if (!IsProductRunning()) return false;
    ShowMessageDialog(ProductRunningText, mkInformation, mbOK);
    return true;
}

bool TMainDlgForm::EnterLicense(uint8_t from, ui::TControl*& focus) {
    if (from == pgWelcome && LicenseMemo->IsEmpty()) {
        if (ProductRunningRefusal()) return false;
        LoadLicenseText();
    }
    focus = LicenseMemo;
    return true;
}

// The licence goes through a temporary file that never reaches the install log.
void TMainDlgForm::LoadLicenseText() {
    NextBtn->SetEnabled(false);
    CancelBtn->SetEnabled(false);
    // Both brackets close however the extraction ends: an error is shown and the wizard
    // goes on, logging and usable.
    auto enable = MakeScopeGuard([this] {
        NextBtn->SetEnabled(true);
        CancelBtn->SetEnabled(true);
    });
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    std::string temp = NewTempFileName();
    bool ok;
    {
        SuspendLog();
        auto resume = MakeScopeGuard([] { ResumeLog(); });
        ok = files_.ExtractFile(nullptr, LicenseEntryName, temp);
    }
    if (ok) {
        std::vector<std::string> lines;
        if (ReadTextLines(temp, lines)) LicenseMemo->SetLines(lines);
        DeleteFileU(temp);
    } else {
        CloseAllowed = true;
        SetModalResult(ui::mrCancel);
    }
}

bool TMainDlgForm::EnterDestDir(uint8_t from, ui::TControl*& focus) {
    if (from == pgLicense && !LicenseChkBx->Checked()) {
        if (ShowMessageDialog(LicenseRefusedText, mkInformation, mbYes | mbNo) == IDYES) {
            CloseAllowed = true;
            SetModalResult(ui::mrCancel);
        }
        return false;
    }
    focus = DestDirEdt;
    return true;
}

bool TMainDlgForm::EnterSelComp(uint8_t from, ui::TControl*& focus) {
    if (from == pgDestDir) {
        destDirPage_->NormalizeDestDir();
        // A path the system cannot make is refused here rather than failing file by file.
        if (IsDestinationTooLong(DestDirEdt->Text())) {
            ShowMessageDialog(DestinationTooLongText(), mkWarning, mbOK);
            DestDirEdt->SetFocus();
            DestDirEdt->SelectAll();
            return false;
        }
        state_.Options.DestDir = DestDirEdt->Text();
        // What goes below the folder must fit, and the folder must take it, before the
        // Installing page would find out file by file.
        if (CheckRefusal(false)) {
            DestDirEdt->SetFocus();
            DestDirEdt->SelectAll();
            return false;
        }
    }
    selCompPage_->RefreshSizes(files_);
    focus = SelCompLstBx;
    UpdateDiskSpace();
    return true;
}

bool TMainDlgForm::EnterStart(ui::TControl*& focus) {
    InstallToAllChkBx->SetVisible(!IsPortableInstall(state_));
    focus = NextBtn;
    return true;
}

bool TMainDlgForm::EnterInstalling() {
    if (ProductRunningRefusal()) return false;
    // The list's boxes are what counts; the state's copy of them follows every change, and
    // the check and the install that follows it take the plan from that copy.
    selCompPage_->SyncStates();
    return !CheckRefusal(true);
}

bool TMainDlgForm::CheckRefusal(bool withSpace) {
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    const TInstallCheck check = CheckBeforeWriting(files_, state_, withSpace);
    if (check.Problem == TCheckProblem::None) return false;
    ShowMessageDialog(InstallCheckText(check, RunsElevated()), mkWarning, mbOK);
    return true;
}

bool TMainDlgForm::EnterAssoc(ui::TControl*& focus) {
    InstallingProgressBar->SetPosition(InstallingProgressBar->Max());
    EnterAssocPage(state_);
    for (int i = 0; i < 4; ++i) AssocChkBx[i]->SetChecked(state_.AssocChecked[i]);
    focus = AssocChkBx[0];
    return true;
}

bool TMainDlgForm::EnterFinish() {
    EnterFinishPage(state_);
    return true;
}

// The wizard closes even when the update log fails: that error is shown on the way out.
void TMainDlgForm::FinishAndClose() {
    CloseAllowed = true;
    SetModalResult(ui::mrOK);
    LeaveFinishPage(files_, state_);
}

void TMainDlgForm::ShowPage(uint8_t to, ui::TControl* focus) {
    BackBtn->SetVisible(to != pgWelcome);
    BackBtn->SetEnabled(to < pgInstalling);
    BackBtn->SetText("< &Back");
    NextBtn->SetEnabled(to != pgInstalling);
    NextBtn->SetText(to == pgFinish ? "&Finish" : "&Next >");
    CancelBtn->SetEnabled(to != pgFinish);
    CancelBtn->SetText(MessageButtonCaption(3));
    TopLbl->SetText(to <= pgClose ? PageTitles[to] : "");
    PgCtrl->SetActivePage(FindPageByTag(to));
    if (focus) focus->SetFocus();
}

void TMainDlgForm::StartInstall() {
    BeginInstall(files_, state_);
    InstallingProgressBar->SetMax(TotalSize(files_));
    InstallStatus.State = tsRunning;
    worker_ = std::make_unique<TInstallThread>(files_);
}

}  // namespace orv
