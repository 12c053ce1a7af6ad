// The wizard window's table of controls, its fonts and colours, and the control classes
// the table names.
#include "wizard/MainDlg.h"

#include "common/DpiScaling.h"
#include "wizard/CheckListBox.h"
#include "wizard/DriveComboBox.h"
#include "wizard/FolderListBox.h"

namespace orv {

namespace {

using ui::coAutoSize;
using ui::coCancel;
using ui::coDefault;
using ui::coEtched;
using ui::coLeftLine;
using ui::coRightAlign;

constexpr int ClientWidth = 492;
constexpr int ClientHeight = 351;
constexpr COLORREF BannerColor = 16777215;  // white
constexpr COLORREF TitleColor = 8388608;    // navy

// Left, top, width, height in pixels at 96 pixels per inch; height 0 is the class's own.
const ui::TControlDesc Layout[] = {
    {"PgCtrl", "TPageControl", "", 120, 41, 375, 268, "", 0},
    {"TopPanel", "TPanel", "", 0, 0, 492, 46, "", coEtched},
    {"TopLbl", "TLabel", "TopPanel", 20, 14, 0, 18, "", coAutoSize},
    {"LogoSmallImage", "TImage", "TopPanel", 440, 6, 34, 34, "", 0},
    {"A", "TPanel", "", 0, 46, 123, 301, "", 0},
    {"LogoImage", "TImage", "A", 1, 0, 120, 260, "", 0},
    {"B", "TBevel", "A", 121, 0, 2, 301, "", coLeftLine},
    {"N", "TPanel", "", 0, 307, 492, 44, "", 0},
    {"BackBtn", "TButton", "N", 210, 12, 85, 22, "", 0},
    {"NextBtn", "TButton", "N", 295, 12, 85, 22, "", coDefault},
    {"CancelBtn", "TButton", "N", 392, 12, 85, 22, "", coCancel},
    {"L", "TPanel", "", 0, 306, 492, 2, "", 0},
    {"M", "TBevel", "L", 1, 0, 491, 2, "", 0},
    {"WelcomeTabSheet", "TTabSheet", "PgCtrl", 0, 0, 0, 0, "", 0},
    {"LicenseTabSheet", "TTabSheet", "PgCtrl", 0, 0, 0, 0, "", 0},
    {"DestDirTabSheet", "TTabSheet", "PgCtrl", 0, 0, 0, 0, "", 0},
    {"SelCompTabSheet", "TTabSheet", "PgCtrl", 0, 0, 0, 0, "", 0},
    {"StartTabSheet", "TTabSheet", "PgCtrl", 0, 0, 0, 0, "", 0},
    {"InstallingTabSheet", "TTabSheet", "PgCtrl", 0, 0, 0, 0, "", 0},
    {"AssocTabSheet", "TTabSheet", "PgCtrl", 0, 0, 0, 0, "", 0},
    {"FinishTabSheet", "TTabSheet", "PgCtrl", 0, 0, 0, 0, "", 0},
    {"WelcomeLbl", "TLabel", "WelcomeTabSheet", 12, 27, 349, 115,
     "This program will install Orvanel Word Processor (version 2.0.6.0%s) on your computer.\r\r\r\r\r"
     "Click Next to continue. Click Cancel to quit Setup.",
     0},
    {"C", "TLabel", "LicenseTabSheet", 12, 7, 0, 0, "Please read the following License Agreement:", coAutoSize},
    {"LicenseMemo", "TMemo", "LicenseTabSheet", 12, 25, 345, 207, "", 0},
    {"LicenseChkBx", "TCheckBox", "LicenseTabSheet", 12, 237, 282, 0,
     "I &accept all the terms of the above License Agreement", 0},
    {"D", "TLabel", "DestDirTabSheet", 11, 7, 0, 0,
     "Specify the &folder where you want to install Orvanel Word Processor:", coAutoSize},
    {"DestDirEdt", "TEdit", "DestDirTabSheet", 11, 26, 345, 0, "", 0},
    {"DestDirLstBx", "TDirectoryListBox", "DestDirTabSheet", 11, 48, 345, 174, "", 0},
    {"DestDirCmbBx", "TDriveComboBox", "DestDirTabSheet", 11, 225, 345, 19, "", 0},
    {"SelCompLbl", "TLabel", "SelCompTabSheet", 11, 7, 345, 30, "", 0},
    {"SelCompLstBx", "TCheckListBox", "SelCompTabSheet", 11, 43, 345, 148, "", 0},
    {"E", "TPanel", "SelCompTabSheet", 11, 200, 345, 49, "", coEtched},
    {"F", "TLabel", "E", 8, 8, 0, 0, "Required disk space:", coAutoSize},
    {"SelCompDiskSpaceReqLbl2", "TLabel", "E", 185, 8, 150, 13, "", coRightAlign},
    {"G", "TLabel", "E", 8, 25, 0, 0, "Available disk space:", coAutoSize},
    {"SelCompDiskSpaceAvailLbl2", "TLabel", "E", 185, 25, 150, 13, "", coRightAlign},
    {"H", "TLabel", "StartTabSheet", 11, 7, 345, 58,
     "You are now ready to install Orvanel Word Processor.\r\r"
     "Click Next to begin installation. Click Back if you want to review or change installation settings.",
     0},
    {"InstallToAllChkBx", "TCheckBox", "StartTabSheet", 11, 209, 220, 0, "Install for &anyone who uses this computer",
     0},
    {"I", "TLabel", "InstallingTabSheet", 11, 170, 0, 0, "Installing", coAutoSize},
    {"InstallingLbl2", "TLabel", "InstallingTabSheet", 58, 170, 0, 0, "", coAutoSize},
    {"J", "TLabel", "InstallingTabSheet", 290, 170, 0, 0, "Please wait...", coAutoSize},
    {"InstallingProgressBar", "TProgressBar", "InstallingTabSheet", 11, 190, 345, 16, "", 0},
    {"K", "TLabel", "AssocTabSheet", 11, 7, 320, 32,
     "Please check the document types that you want to associate with Orvanel Word Processor:", 0},
    {"AssocChkBx1", "TCheckBox", "AssocTabSheet", 40, 76, 110, 0, "RTF Documents", 0},
    {"AssocChkBx2", "TCheckBox", "AssocTabSheet", 40, 103, 169, 0, "Encrypted COD Documents", 0},
    {"AssocChkBx3", "TCheckBox", "AssocTabSheet", 40, 130, 173, 0, "MS Word DOC Documents", 0},
    {"AssocChkBx4", "TCheckBox", "AssocTabSheet", 40, 157, 180, 0, "MS Word DOCX Documents", 0},
    {"FinishLbl", "TLabel", "FinishTabSheet", 11, 7, 345, 150,
     "Orvanel Word Processor 2.0.6.0%s has been successfully installed on your system.\r\r"
     "Click Finish to exit this Setup.",
     0},
    {"FinishChkBx", "TCheckBox", "FinishTabSheet", 40, 190, 180, 0, "&Launch Orvanel Word Processor", 0},
};

constexpr const char* SelCompCaption =
    "Uncheck boxes for the &components that you do not wish to install or upgrade (the required disk space "
    "is displayed on the right):";

UniqueHFont MakeFont(const char* face, int height, bool bold) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return UniqueHFont(::CreateFontIndirectA(&lf));
}

// The one "%s" of a layout caption filled with the empty string.
std::string WithoutVersionSuffix(const std::string& format) {
    std::string text = format;
    size_t at = text.find("%s");
    if (at != std::string::npos) text.erase(at, 2);
    return text;
}

std::unique_ptr<ui::TControl> MakeCheckListBox(ui::TWinControl& p, int id, const ui::TControlDesc& d, int dpi) {
    auto c = std::make_unique<TCheckListBox>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height, p.Font(), 16, dpi);
    return c;
}

std::unique_ptr<ui::TControl> MakeDirectoryListBox(ui::TWinControl& p, int id, const ui::TControlDesc& d, int dpi) {
    auto c = std::make_unique<TDirectoryListBox>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height, p.Font(), dpi);
    c->SetItemHeight(17);
    return c;
}

std::unique_ptr<ui::TControl> MakeDriveComboBox(ui::TWinControl& p, int id, const ui::TControlDesc& d, int dpi) {
    auto c = std::make_unique<TDriveComboBox>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height, p.Font(), dpi);
    return c;
}

}  // namespace

void RegisterWizardControlClasses() {
    ui::RegisterStandardControlClasses();
    ui::RegisterControlClass("TCheckListBox", MakeCheckListBox);
    ui::RegisterControlClass("TDirectoryListBox", MakeDirectoryListBox);
    ui::RegisterControlClass("TDriveComboBox", MakeDriveComboBox);
}

void TMainDlgForm::CreateControls() {
    if (!ui::IsControlClassRegistered("TCheckListBox")) RegisterWizardControlClasses();
    CreateForm(MainDlgClassName, SetupTitle, ClientWidth, ClientHeight);
    MakeFonts(Dpi());
    SetFont(dialogFont_.get());
    components_.Build(*this, Layout, sizeof(Layout) / sizeof(Layout[0]), dialogFont_.get(), Dpi());
    BindControls();
    // The banner and the logo panel overlap the page container's edges and stay above it.
    ::SetWindowPos(PgCtrl->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TMainDlgForm::BindControls() {
    const ui::TComponentList& c = components_;
    PgCtrl = &c.Get<ui::TPageControl>("PgCtrl");
    TopPanel = &c.Get<ui::TPanel>("TopPanel");
    TopLbl = &c.Get<ui::TLabel>("TopLbl");
    LogoSmallImage = &c.Get<ui::TImage>("LogoSmallImage");
    LogoImage = &c.Get<ui::TImage>("LogoImage");
    BackBtn = &c.Get<ui::TButton>("BackBtn");
    NextBtn = &c.Get<ui::TButton>("NextBtn");
    CancelBtn = &c.Get<ui::TButton>("CancelBtn");
    WelcomeLbl = &c.Get<ui::TLabel>("WelcomeLbl");
    LicenseMemo = &c.Get<ui::TMemo>("LicenseMemo");
    LicenseChkBx = &c.Get<ui::TCheckBox>("LicenseChkBx");
    DestDirEdt = &c.Get<ui::TEdit>("DestDirEdt");
    DestDirLstBx = &c.Get<TDirectoryListBox>("DestDirLstBx");
    DestDirCmbBx = &c.Get<TDriveComboBox>("DestDirCmbBx");
    SelCompLbl = &c.Get<ui::TLabel>("SelCompLbl");
    SelCompLstBx = &c.Get<TCheckListBox>("SelCompLstBx");
    SelCompDiskSpaceReqLbl2 = &c.Get<ui::TLabel>("SelCompDiskSpaceReqLbl2");
    SelCompDiskSpaceAvailLbl2 = &c.Get<ui::TLabel>("SelCompDiskSpaceAvailLbl2");
    InstallToAllChkBx = &c.Get<ui::TCheckBox>("InstallToAllChkBx");
    InstallingLbl2 = &c.Get<ui::TLabel>("InstallingLbl2");
    InstallingProgressBar = &c.Get<ui::TProgressBar>("InstallingProgressBar");
    for (int i = 0; i < 4; ++i) AssocChkBx[i] = &c.Get<ui::TCheckBox>("AssocChkBx" + std::to_string(i + 1));
    FinishLbl = &c.Get<ui::TLabel>("FinishLbl");
    FinishChkBx = &c.Get<ui::TCheckBox>("FinishChkBx");
}

// The dialog font is 8 points and the title 15 pixels high at 96 dpi; both grow with the scale.
void TMainDlgForm::MakeFonts(int dpi) {
    dialogFont_ = MakeFont("MS Shell Dlg 2", FontHeightForDpi(8, dpi), false);
    bannerFont_ = MakeFont("Arial", -ScaleForDpi(15, dpi), true);
    boldFont_ = MakeFont("MS Shell Dlg 2", FontHeightForDpi(8, dpi), true);
}

void TMainDlgForm::SetSpecialFonts() {
    TopLbl->SetFont(bannerFont_.get());
    InstallingLbl2->SetFont(boldFont_.get());
}

// Every control goes back to its row scaled anew, with fonts made for the new scale; the
// old fonts go only after no control uses them.
void TMainDlgForm::OnDpiChanged(int dpi) {
    UniqueHFont oldDialog = std::move(dialogFont_), oldBanner = std::move(bannerFont_), oldBold = std::move(boldFont_);
    MakeFonts(dpi);
    SetFont(dialogFont_.get());
    components_.Rescale(dialogFont_.get(), dpi);
    SetSpecialFonts();
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TMainDlgForm::SetUpAppearance() {
    TopPanel->SetColor(BannerColor);
    SetSpecialFonts();
    TopLbl->SetFontColor(TitleColor);
    LogoImage->LoadBitmapResource("LOGO");
    LogoSmallImage->LoadBitmapResource("LOGOSMALL");
    WelcomeLbl->SetText(WithoutVersionSuffix(WelcomeLbl->Text()));
    FinishLbl->SetText(WithoutVersionSuffix(FinishLbl->Text()));
    for (int i = 0; i < PgCtrl->PageCount(); ++i) PgCtrl->Page(i)->Tag = i;
    components_.Get<ui::TLabel>("D").SetFocusControl(DestDirEdt);
    SelCompLbl->SetFocusControl(SelCompLstBx);
    SetDefaultButton(NextBtn);
    SetCancelButton(CancelBtn);
}

}  // namespace orv
