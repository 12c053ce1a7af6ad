// The destination page of the running setup: the "-d" argument's start value, and the
// drive watch following a drive that is added and removed while the page shows.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>

namespace orv::e2e {
namespace {

std::string DefaultDestination() {
    return GetSpecialFolder(CSIDL_PROGRAM_FILES) + "\\Orvanel";
}

// Opens the destination page, returns the edit's text and quits the wizard.
std::string StartValue(const std::string& arguments, const std::string& shot) {
    WizardDriver wizard(arguments);
    if (!wizard.WalkTo(WizardPageTitles[2])) return "<no page>";
    const std::string text = wizard.EditText();
    wizard.Screenshot(shot);
    EXPECT_TRUE(wizard.QuitWithAbort());
    return text;
}

TEST(DestinationPage, DestinationArgumentFillsTheEdit) {
    ForgetEarlierInstalls();
    struct Case {
        const char* Arguments;
        std::string Expected;
    };
    const Case cases[] = {
        {"-dE:\\Some\\Path", "E:\\Some\\Path"},
        {"-DE:\\Some\\Path", DefaultDestination()},      // the switch is case-sensitive
        {"\"-dE:\\Two Words\\x\"", "E:\\Two Words\\x"},  // quotes group, and go
        {"-x -dE:\\Some\\Path", DefaultDestination()},   // only the first argument counts
    };
    int n = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(c.Expected, StartValue(c.Arguments, "dest-arg-" + std::to_string(n++))) << c.Arguments;
    }
}

// Adds and removes a drive letter for every program under the same wineserver.
class ExtraDrive {
public:
    ExtraDrive(const char* drive, const std::string& unixFolder) : drive_(drive) {
        ::DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive_, nullptr);
        const std::string target = "\\??\\unix" + unixFolder;
        added_ = ::DefineDosDeviceA(DDD_RAW_TARGET_PATH, drive_, target.c_str()) != FALSE;
    }
    ~ExtraDrive() { Remove(); }
    bool Added() const { return added_; }
    void Remove() {
        if (added_) ::DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive_, nullptr);
        added_ = false;
    }

private:
    const char* drive_;
    bool added_ = false;
};

TEST(DestinationPage, DriveWatchFollowsAnAddedAndARemovedDrive) {
    ForgetEarlierInstalls();
    const std::string drives = test::EnvVar("ORV_TEST_DRIVES");
    if (drives.empty()) GTEST_SKIP() << "no test drives";
    std::string folder = "Z:" + drives + "/g";
    for (char& c : folder)
        if (c == '/') c = '\\';
    ::CreateDirectoryA(folder.c_str(), nullptr);

    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[2]));
    wizard.Screenshot("drive-watch-0");
    const std::string programDrive(1, static_cast<char>(::tolower(DefaultDestination()[0])));

    ExtraDrive g("G:", drives + "/g");
    ASSERT_TRUE(g.Added()) << ::GetLastError();
    auto startsWith = [](const std::string& text, const std::string& head) {
        return text.size() >= head.size() && SameTextNoCase(text.substr(0, head.size()), head);
    };
    EXPECT_TRUE(test::WaitUntil([&] { return startsWith(wizard.DriveListText(), "g:"); }, 3000, 50))
        << wizard.DriveListText();
    EXPECT_TRUE(test::WaitUntil([&] { return SameTextNoCase(wizard.EditText(), "g:\\Orvanel"); }, 1000, 50))
        << wizard.EditText();
    wizard.Screenshot("drive-watch-1-added");

    g.Remove();
    EXPECT_TRUE(test::WaitUntil([&] { return startsWith(wizard.DriveListText(), programDrive + ":"); }, 3000, 50))
        << wizard.DriveListText();
    EXPECT_TRUE(test::WaitUntil([&] { return SameTextNoCase(wizard.EditText(), DefaultDestination()); }, 1000, 50))
        << wizard.EditText();
    wizard.Screenshot("drive-watch-2-removed");

    EXPECT_TRUE(wizard.QuitWithAbort());
    ::RemoveDirectoryA(folder.c_str());
}

// A CD or DVD drive that comes and goes, made through Wine's mount manager as its
// configuration tool makes drives (a raw device definition gives no CD drive).
class CdDrive {
public:
    CdDrive(char letter, const std::string& unixFolder) : letter_(letter) { added_ = Define(DRIVE_CDROM, unixFolder); }
    ~CdDrive() {
        if (added_) Define(DRIVE_NO_ROOT_DIR, std::string());
    }
    bool Added() const { return added_; }

private:
    struct UnixDrive {  // Wine's mountmgr_unix_drive, followed by the mount point
        ULONG Size, Type, FsType;
        DWORD Serial;
        ULONGLONG UnixDev;
        WCHAR Letter;
        USHORT MountPointOffset, DeviceOffset, LabelOffset;
    };
    bool Define(ULONG type, const std::string& unixFolder) const {
        UniqueFile manager(::CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!manager) return false;
        std::string request(sizeof(UnixDrive), '\0');
        UnixDrive drive = {};
        drive.Type = type;
        drive.Letter = static_cast<WCHAR>(letter_);
        if (!unixFolder.empty()) {
            drive.MountPointOffset = static_cast<USHORT>(request.size());
            request += unixFolder + '\0';
        }
        drive.Size = static_cast<ULONG>(request.size());
        std::memcpy(&request[0], &drive, sizeof drive);
        const DWORD defineUnixDrive = CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        DWORD returned = 0;
        return ::DeviceIoControl(manager.get(), defineUnixDrive, &request[0], drive.Size, nullptr, 0, &returned,
                                 nullptr) != FALSE;
    }
    char letter_;
    bool added_ = false;
};

// A new drive the list leaves out (a CD drive) keeps the user's drive and typed folder.
TEST(DestinationPage, AnAddedCdDriveKeepsTheDriveAndTheTypedFolder) {
    ForgetEarlierInstalls();
    const std::string drives = test::EnvVar("ORV_TEST_DRIVES");
    if (drives.empty()) GTEST_SKIP() << "no test drives";
    WizardDriver wizard("-dE:\\Typed\\Orvanel");
    ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[2]));
    ASSERT_EQ("E:\\Typed\\Orvanel", wizard.EditText());
    const std::string driveText = wizard.DriveListText();
    ASSERT_EQ("e:", driveText.substr(0, 2));
    const auto changed = [&] {
        return wizard.EditText() != "E:\\Typed\\Orvanel" || wizard.DriveListText() != driveText;
    };
    {
        CdDrive h('h', drives + "/d");
        ASSERT_TRUE(h.Added());
        ASSERT_EQ(static_cast<UINT>(DRIVE_CDROM), ::GetDriveTypeA("H:\\"));
        // The watch runs once a second: three runs and nothing may have moved.
        EXPECT_FALSE(test::WaitUntil(changed, 3000, 50)) << wizard.DriveListText() << " / " << wizard.EditText();
        wizard.Screenshot("drive-watch-cd-added");
    }
    EXPECT_FALSE(test::WaitUntil(changed, 3000, 50)) << wizard.DriveListText() << " / " << wizard.EditText();
    EXPECT_TRUE(wizard.QuitWithAbort());
}

// A destination longer than the system's path limit, given with "-d" or typed, or one whose
// files would be, is shown whole and refused on Next with a message; the user stays on the
// page and can type another one.
TEST(DestinationPage, ADestinationBeyondThePathLimitIsRefusedNotCutShort) {
    ForgetEarlierInstalls();
    std::string longDest = "E:\\e2e-long";
    while (longDest.size() < 300) longDest += "\\" + std::string(20, 'x');
    longDest.resize(300);
    WizardDriver wizard("-d" + longDest);
    ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[2]));
    EXPECT_EQ(longDest, wizard.EditText());
    const std::string tooLong =
        "The destination folder name is too long.\rPlease choose a folder whose full name has at most 247 characters.";
    // Short enough for a folder, but not for the files the chosen components put below it.
    const std::string belowTooLong = "E:\\" + std::string(244, 'z');
    const std::string cases[][2] = {
        {longDest, tooLong},
        {"E:\\" + std::string(260, 'y'), tooLong},
        {belowTooLong, "The destination folder name is too long for the files that go below it: \"" + belowTooLong +
                           "\\Hyphenation.dat\" would have 263 characters, and Windows takes at most 259. Please "
                           "choose a shorter folder."},
    };
    for (const auto& [text, expected] : cases) {
        wizard.SetEditText(text);
        ASSERT_TRUE(wizard.Press(NextCaption));
        HWND message = wizard.WaitForDialog();
        ASSERT_NE(nullptr, message) << text.size();
        EXPECT_EQ(expected, WizardDriver::DialogText(message));
        WizardDriver::DialogScreenshot(message, "dest-too-long");
        ASSERT_TRUE(WizardDriver::AnswerDialog(message, "OK"));
        EXPECT_EQ(WizardPageTitles[2], wizard.PageTitle());
        EXPECT_EQ(text, wizard.EditText()) << "the text stays as typed, for the user to shorten";
    }
    EXPECT_FALSE(FolderExists("E:\\e2e-long"));
    EXPECT_FALSE(FolderExists(belowTooLong));
    const std::string fits = "E:\\" + std::string(240, 'z');  // 243 characters, and Hyphenation.dat below it
    wizard.SetEditText(fits);
    EXPECT_EQ(WizardPageTitles[3], wizard.PressNextAndWait());
    EXPECT_TRUE(wizard.QuitWithAbort());
}

}  // namespace
}  // namespace orv::e2e
