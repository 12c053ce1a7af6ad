// The destination page: normalising the edit, the edit following the folder list, and the
// drive watch following drives that come and go.
#include "wizard/DestDirPage.h"

#include "TestParentWindow.h"
#include "common/InstUtils.h"
#include "support/Scratch.h"
#include "wizard/DriveComboBox.h"
#include "wizard/FolderListBox.h"

#include <gtest/gtest.h>

#include <cctype>

namespace orv {
namespace {

TEST(DestDirPage, DriveWatchDecisions) {
    using S = TDriveWatchStep;
    const DWORD c = 1u << 2, d = 1u << 3, e = 1u << 4, g = 1u << 6, r = 1u << 17, a = 1u;
    const DWORD listed = c | e | g | r;  // D: is a CD drive, A: a floppy: the list leaves both out
    struct Case {
        DWORD oldSet, nowSet;
        char drive;
        S::Kind kind;
        char letter;
    } cases[] = {
        {c | e, c | e, 'e', S::dwKeep, ' '},
        {c | e | g, c | e, 'e', S::dwReselect, ' '},  // another drive went
        {c | e | g, c | e, 'g', S::dwSwitch, 'c'},    // the selected drive went
        {c | e, c | e | g, 'e', S::dwSwitch, 'g'},
        {c, c | g | r, 'c', S::dwSwitch, 'g'},          // the first new letter from C: on
        {c | e, c | e | a, 'e', S::dwReselect, ' '},    // only A: came
        {c | e, c | d | e, 'e', S::dwReselect, ' '},    // only a CD drive came
        {c | e, c | d | e | r, 'e', S::dwSwitch, 'r'},  // the first new drive the list shows
    };
    for (const auto& t : cases) {
        const S step = DecideDriveWatch(t.oldSet, t.nowSet, listed, t.drive, 'C');
        EXPECT_EQ(t.kind, step.Action) << std::hex << t.oldSet << " -> " << t.nowSet;
        if (t.kind == S::dwSwitch) {
            EXPECT_EQ(t.letter, step.Letter) << std::hex << t.nowSet;
        }
    }
}

// The page as the wizard builds it: edit, folder list, drive list, linked both ways.
struct DestDirFixture : ::testing::Test {
    DestDirFixture()
        : edit(::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 5, 345, 20, parent.Handle(),
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr)),
          page(edit.get(), drives, folders, formLoaded) {
        folders.Create(parent.Handle(), 101, 10, 30, 345, 174, nullptr);
        drives.Create(parent.Handle(), 102, 10, 210, 345, 19, nullptr);
        parent.Router().Add(&folders);
        parent.Router().Add(&drives);
        drives.SetFolderList(&folders);
        folders.OnChange = [this] { page.DestDirLstBxChange(); };
    }
    std::string EditText() const {
        char buf[MAX_PATH * 2] = {};
        ::GetWindowTextA(edit.get(), buf, sizeof buf);
        return buf;
    }
    void SetEditText(const std::string& text) { ::SetWindowTextA(edit.get(), text.c_str()); }

    test::TestParentWindow parent;
    UniqueHwnd edit;
    TDirectoryListBox folders;
    TDriveComboBox drives;
    bool formLoaded = false;
    TDestDirPage page;
};

TEST_F(DestDirFixture, TheEditKeepsTheStartTextAndThenFollowsTheFolderList) {
    test::ScratchFolder root("dd");
    const std::string start = root / "missing\\Orvanel";
    SetEditText(start);
    folders.SetDirectory(start);
    EXPECT_EQ(root.Path() + "\\", folders.Directory());
    EXPECT_EQ(start, EditText()) << "before the form is loaded the edit is left alone";
    EXPECT_EQ(std::tolower(root.Path()[0]), drives.Drive());

    formLoaded = true;
    drives.SetDrive('e');
    EXPECT_EQ("e:\\Orvanel", EditText());
    const std::string pf = ProgramFilesFolder();
    drives.SetDrive(pf[0]);
    EXPECT_EQ(pf + "\\Orvanel", EditText());

    SetEditText("  Apps ");
    page.NormalizeDestDir();
    EXPECT_EQ(std::string(1, drives.Drive()) + ":\\Orvanel", EditText());
}

TEST_F(DestDirFixture, UncStartLeavesTheEditAndShowsTheProgramFilesDrive) {
    SetEditText("\\\\server\\share\\Word");
    folders.SetDirectory("\\\\server\\share\\Word");
    EXPECT_EQ("\\\\server\\share\\Word", EditText());
    EXPECT_EQ(std::tolower(ProgramFilesFolder()[0]), drives.Drive());
    EXPECT_GE(drives.SelectedIndex(), 0);
}

// Adds or removes drive G: for every program of this wineserver; removal lands a moment later.
bool DefineDriveG(const std::string& unixFolder) {
    return ::DefineDosDeviceA(DDD_RAW_TARGET_PATH, "G:", ("\\??\\unix" + unixFolder).c_str()) != FALSE;
}
void RemoveDriveG() {
    ::DefineDosDeviceA(DDD_REMOVE_DEFINITION, "G:", nullptr);
    for (int i = 0; i < 100 && (::GetLogicalDrives() & (1u << 6)); ++i) ::Sleep(20);
}

TEST_F(DestDirFixture, TheDriveWatchFollowsADriveThatComesAndGoes) {
    const std::string drivesDir = test::EnvVar("ORV_TEST_DRIVES");
    ASSERT_FALSE(drivesDir.empty());
    ASSERT_FALSE(::GetLogicalDrives() & (1u << 6)) << "G: must be free";
    formLoaded = true;
    folders.SetDirectory("e:\\");
    SetEditText("e:\\Orvanel");
    page.DriveWatch();
    EXPECT_EQ("e:\\Orvanel", EditText()) << "no change, nothing happens";

    ASSERT_TRUE(DefineDriveG(drivesDir + "/e"));
    auto cleanup = MakeScopeGuard([] { RemoveDriveG(); });
    page.DriveWatch();
    EXPECT_EQ('g', drives.Drive());
    EXPECT_EQ("g:", drives.Text().substr(0, 2));
    EXPECT_EQ("g:\\Orvanel", EditText());

    // Another drive going keeps the selection and the edit.
    drives.SetDrive('e');
    EXPECT_EQ("e:\\Orvanel", EditText());
    RemoveDriveG();
    page.DriveWatch();
    EXPECT_EQ('e', drives.Drive());
    EXPECT_EQ("e:", drives.Text().substr(0, 2));
    EXPECT_EQ("e:\\Orvanel", EditText());

    // The selected drive going switches to the program-files drive.
    ASSERT_TRUE(DefineDriveG(drivesDir + "/e"));
    page.DriveWatch();
    EXPECT_EQ('g', drives.Drive());
    RemoveDriveG();
    page.DriveWatch();
    const std::string pf = ProgramFilesFolder();
    EXPECT_EQ(std::tolower(pf[0]), drives.Drive());
    EXPECT_EQ(pf + "\\Orvanel", EditText());
    EXPECT_EQ(drives.DriveSet(), ::GetLogicalDrives());
}

}  // namespace
}  // namespace orv
