// The wizard window built in-process: every control of its table in place with its exact
// text, the fonts, the tab order, and the buttons, title and focus after each early page.
#include "wizard/MainDlg.h"

#include "common/Owners.h"
#include "common/Errors.h"
#include "common/InstUtils.h"
#include "payload/AttachFiles.h"
#include "ui/Application.h"
#include "wizard/CheckListBox.h"
#include "wizard/DriveComboBox.h"
#include "wizard/FolderListBox.h"
#include "unit/payload/CraftedArchive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv {
namespace {

constexpr int Auto = -1;  // a size the control takes for itself

struct Row {
    const char* text;  // nullptr: a control without text
    int left, top, width, height;
};

RECT PlaceInParent(HWND wnd) {
    RECT r;
    ::GetWindowRect(wnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string WindowText(HWND wnd) {
    char buf[512] = {};
    ::GetWindowTextA(wnd, buf, sizeof buf);
    return buf;
}

bool Matches(HWND wnd, const Row& row) {
    const RECT r = PlaceInParent(wnd);
    if (r.left != row.left || r.top != row.top) return false;
    if (row.width != Auto && r.right - r.left != row.width) return false;
    if (row.height != Auto && r.bottom - r.top != row.height) return false;
    return !row.text || WindowText(wnd) == row.text;
}

// The direct child of parent placed and labelled as the row says.
HWND FindChild(HWND parent, const Row& row) {
    for (HWND w = ::GetWindow(parent, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (Matches(w, row)) return w;
    return nullptr;
}

void ExpectChildren(HWND parent, const std::vector<Row>& rows, const char* where) {
    for (const Row& row : rows)
        EXPECT_TRUE(FindChild(parent, row) != nullptr)
            << where << ": " << (row.text ? row.text : "(no text)") << " at " << row.left << "," << row.top;
}

LOGFONTA FontOf(HWND wnd) {
    LOGFONTA lf = {};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(wnd, WM_GETFONT, 0, 0));
    ::GetObjectA(font, sizeof lf, &lf);
    return lf;
}

class MainDlgFixture : public ::testing::Test {
protected:
    MainDlgFixture() {
        ui::InitApplication();
        form = std::make_unique<TMainDlgForm>(files);
    }
    HWND Page(int number) const { return form->FindPageByTag(static_cast<uint8_t>(number))->Handle(); }

    TAttachedFiles files;
    std::unique_ptr<TMainDlgForm> form;
};

TEST_F(MainDlgFixture, EveryControlOfTheTableIsInPlaceWithItsText) {
    RECT client;
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(492, client.right);
    EXPECT_EQ(351, client.bottom);
    EXPECT_EQ("Orvanel Word Processor - Setup", WindowText(form->Handle()));
    const LONG style = ::GetWindowLongA(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    // A single fixed border, not the double border of a dialog frame.
    EXPECT_FALSE(::GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    ExpectChildren(form->Handle(),
                   {{nullptr, 120, 41, 375, 268},
                    {nullptr, 0, 0, 492, 46},
                    {nullptr, 0, 46, 123, 301},
                    {nullptr, 0, 307, 492, 44},
                    {nullptr, 0, 306, 492, 2}},
                   "window");
    ExpectChildren(form->TopPanel->Handle(), {{nullptr, 20, 14, Auto, Auto}, {nullptr, 440, 6, 34, 34}}, "banner");
    ExpectChildren(::GetParent(form->LogoImage->Handle()), {{nullptr, 1, 0, 120, 260}, {nullptr, 121, 0, 2, 301}},
                   "logo panel");
    ExpectChildren(::GetParent(form->NextBtn->Handle()),
                   {{nullptr, 210, 12, 85, 22}, {nullptr, 295, 12, 85, 22}, {nullptr, 392, 12, 85, 22}}, "buttons");
    EXPECT_EQ(form->BackBtn->Handle(), FindChild(::GetParent(form->NextBtn->Handle()), {nullptr, 210, 12, 85, 22}));
    EXPECT_EQ(form->CancelBtn->Handle(), FindChild(::GetParent(form->NextBtn->Handle()), {nullptr, 392, 12, 85, 22}));

    ExpectChildren(Page(0),
                   {{"This program will install Orvanel Word Processor (version 2.0.6.0) on your computer.\r\r\r\r\r"
                     "Click Next to continue. Click Cancel to quit Setup.",
                     12, 27, 349, 115}},
                   "Welcome");
    ExpectChildren(Page(1),
                   {{"Please read the following License Agreement:", 12, 7, Auto, Auto},
                    {nullptr, 12, 25, 345, 207},
                    {"I &accept all the terms of the above License Agreement", 12, 237, 282, Auto}},
                   "License");
    ExpectChildren(Page(2),
                   {{"Specify the &folder where you want to install Orvanel Word Processor:", 11, 7, Auto, Auto},
                    {nullptr, 11, 26, 345, Auto},
                    {nullptr, 11, 48, 345, 174},
                    {nullptr, 11, 225, 345, Auto}},
                   "Destination");
    ExpectChildren(Page(3),
                   {{"Uncheck boxes for the &components that you do not wish to install or upgrade (the required disk "
                     "space is displayed on the right):",
                     11, 7, 345, 30},
                    {nullptr, 11, 43, 345, 148},
                    {nullptr, 11, 200, 345, 49}},
                   "Components");
    HWND spacePanel = ::GetParent(form->SelCompDiskSpaceReqLbl2->Handle());
    ExpectChildren(spacePanel,
                   {{"Required disk space:", 8, 8, Auto, Auto},
                    {nullptr, 185, 8, 150, 13},
                    {"Available disk space:", 8, 25, Auto, Auto},
                    {nullptr, 185, 25, 150, 13}},
                   "space panel");
    ExpectChildren(Page(4),
                   {{"You are now ready to install Orvanel Word Processor.\r\r"
                     "Click Next to begin installation. Click Back if you want to review or change installation "
                     "settings.",
                     11, 7, 345, 58},
                    {"Install for &anyone who uses this computer", 11, 209, 220, Auto}},
                   "Ready");
    ExpectChildren(Page(5),
                   {{"Installing", 11, 170, Auto, Auto},
                    {nullptr, 58, 170, Auto, Auto},
                    {"Please wait...", 290, 170, Auto, Auto},
                    {nullptr, 11, 190, 345, 16}},
                   "Installing");
    ExpectChildren(
        Page(6),
        {{"Please check the document types that you want to associate with Orvanel Word Processor:", 11, 7, 320, 32},
         {"RTF Documents", 40, 76, 110, Auto},
         {"Encrypted COD Documents", 40, 103, 169, Auto},
         {"MS Word DOC Documents", 40, 130, 173, Auto},
         {"MS Word DOCX Documents", 40, 157, 180, Auto}},
        "Associate");
    ExpectChildren(Page(7),
                   {{"Orvanel Word Processor 2.0.6.0 has been successfully installed on your system.\r\r"
                     "Click Finish to exit this Setup.",
                     11, 7, 345, 150},
                    {"&Launch Orvanel Word Processor", 40, 190, 180, Auto}},
                   "Finish");
    EXPECT_TRUE(form->LicenseChkBx->Checked());
}

TEST_F(MainDlgFixture, BannerAndInstallingLabelsHaveTheirOwnFonts) {
    const LOGFONTA title = FontOf(form->TopLbl->Handle());
    EXPECT_STREQ("Arial", title.lfFaceName);
    EXPECT_EQ(-15, title.lfHeight);
    EXPECT_EQ(FW_BOLD, title.lfWeight);
    const LOGFONTA component = FontOf(form->InstallingLbl2->Handle());
    EXPECT_STREQ("MS Shell Dlg 2", component.lfFaceName);
    EXPECT_EQ(-11, component.lfHeight);
    EXPECT_EQ(FW_BOLD, component.lfWeight);
    for (HWND plain : {form->NextBtn->Handle(), form->DestDirEdt->Handle(), form->WelcomeLbl->Handle()}) {
        const LOGFONTA lf = FontOf(plain);
        EXPECT_STREQ("MS Shell Dlg 2", lf.lfFaceName);
        EXPECT_EQ(-11, lf.lfHeight);
        EXPECT_EQ(FW_NORMAL, lf.lfWeight);
    }
    // The title's colour is the one its banner hands the label to paint with.
    WindowDC dc(form->TopLbl->Handle());
    ::SendMessageA(form->TopPanel->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                   reinterpret_cast<LPARAM>(form->TopLbl->Handle()));
    EXPECT_EQ(static_cast<COLORREF>(8388608), ::GetTextColor(dc.get()));
}

struct PageStep {
    uint8_t from, to;
    const char* title;
    bool backVisible, backEnabled, nextEnabled;
    const char* nextCaption;
    bool cancelEnabled;
};

TEST_F(MainDlgFixture, ButtonsTitleAndFocusFollowEachPage) {
    ::ShowWindow(form->Handle(), SW_SHOW);
    ::SetForegroundWindow(form->Handle());
    const PageStep steps[] = {
        {255, 0, "Welcome to the Orvanel Word Processor Setup", false, true, true, "&Next >", true},
        {0, 1, "License Agreement", true, true, true, "&Next >", true},
        {1, 2, "Choose Destination Folder", true, true, true, "&Next >", true},
        {2, 3, "Select Components", true, true, true, "&Next >", true},
        {3, 4, "Ready to Install", true, true, true, "&Next >", true},
        {4, 3, "Select Components", true, true, true, "&Next >", true},
    };
    const HWND focus[] = {nullptr,
                          form->LicenseMemo->Handle(),
                          form->DestDirEdt->Handle(),
                          form->SelCompLstBx->Handle(),
                          form->NextBtn->Handle(),
                          form->SelCompLstBx->Handle()};
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const PageStep& s = steps[i];
        if (s.from != 255) form->GoToPage(s.from, s.to);
        SCOPED_TRACE(s.title);
        EXPECT_EQ(s.to, form->CurrentPage());
        EXPECT_EQ(s.title, form->TopLbl->Text());
        EXPECT_EQ(s.backVisible, form->BackBtn->Visible());
        EXPECT_EQ(s.backEnabled, form->BackBtn->Enabled());
        EXPECT_EQ("< &Back", form->BackBtn->Text());
        EXPECT_EQ(s.nextEnabled, form->NextBtn->Enabled());
        EXPECT_EQ(s.nextCaption, form->NextBtn->Text());
        EXPECT_EQ(s.cancelEnabled, form->CancelBtn->Enabled());
        EXPECT_EQ("Cancel", form->CancelBtn->Text());
        if (focus[i]) {
            EXPECT_EQ(focus[i], ::GetFocus());
        }
    }
    EXPECT_FALSE(form->LicenseMemo->IsEmpty());
}

TEST_F(MainDlgFixture, TabWalksTheDestinationPageThenTheButtons) {
    ::ShowWindow(form->Handle(), SW_SHOW);
    form->GoToPage(255, 2);
    const HWND order[] = {form->DestDirEdt->Handle(), form->DestDirLstBx->Handle(), form->DestDirCmbBx->Handle(),
                          form->BackBtn->Handle(),    form->NextBtn->Handle(),      form->CancelBtn->Handle(),
                          form->DestDirEdt->Handle()};
    for (size_t i = 0; i + 1 < sizeof order / sizeof order[0]; ++i)
        EXPECT_EQ(order[i + 1], ::GetNextDlgTabItem(form->Handle(), order[i], FALSE)) << i;
}

// The licence's extraction bracket closes however the extraction ends: an archive without
// the licence raises its error, and afterwards the install log is no longer suspended and
// the buttons work again.
TEST(MainDlgLicence, AFailedExtractionLeavesTheLogAndTheButtonsAsTheyWere) {
    ui::InitApplication();
    const std::string packed = test::CraftArchive({{"orv.exe", test::EncodeDateTime(2020, 1, 2), "MZ"}});
    TAttachedFiles files(packed.data(), static_cast<uint32_t>(packed.size()));
    TMainDlgForm form(files);
    EXPECT_THROW(form.GoToPage(pgWelcome, pgLicense), EEntryNotFound);
    EXPECT_EQ(0, LogSuspendCount());
    EXPECT_TRUE(form.NextBtn->Enabled());
    EXPECT_TRUE(form.CancelBtn->Enabled());
    EXPECT_EQ(pgWelcome, form.CurrentPage());
}

}  // namespace
}  // namespace orv
