// The drive list against the test prefix's drives: which drives, their names and pictures,
// and the drive switch handed on to the folder list.
#include "wizard/DriveComboBox.h"

#include "TestParentWindow.h"
#include "wizard/FolderListBox.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

TEST(DriveComboBox, LabelsShowInBracketsInTheLettersCase) {
    struct Case {
        const char* label;
        char letter;
        const char* text;
    } cases[] = {
        {"OrvTest", 'e', "[orvtest]"},
        {"OrvTest", 'E', "[ORVTEST]"},
        {"", 'e', ""},
        {"a b&c", 'x', "[a b&c]"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, FormatVolumeLabel(c.label, c.letter)) << c.label;
}

// On a double-byte system only the ASCII letters of a name change; every other character
// (a katakana, a full-width letter, a Polish letter) stays as it is. Elsewhere the system's
// own case mapping applies to every letter.
TEST(DriveComboBox, DoubleByteSystemsChangeOnlyAsciiLetters) {
    struct Case {
        const char* text;
        char letter;
        UINT codePage;
        const char* converted;
    } cases[] = {
        {"\xE3\x82\xA2"
         "Ab",
         'e', 932,
         "\xE3\x82\xA2"
         "ab"},                                          // アAb
        {"x\xEF\xBC\xA1z", 'E', 932, "X\xEF\xBC\xA1Z"},  // full-width Ａ
        {"\xC5\x81\xC3\x93"
         "D",
         'e', 932,
         "\xC5\x81\xC3\x93"
         "d"},  // ŁÓD
        {"\xC5\x81\xC3\x93"
         "D",
         'e', 0,
         "\xC5\x82\xC3\xB3"
         "d"},                                                                             // łód
        {"\xD0\xB4\xD0\xB8\xD1\x81\xD0\xBA", 'E', 0, "\xD0\x94\xD0\x98\xD0\xA1\xD0\x9A"},  // ДИСК
        {"Data Disk", 'e', 0, "data disk"},
        {"Data Disk", 'E', 0, "DATA DISK"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.converted, ConvertLabelCase(c.text, c.letter, c.codePage)) << c.text << " " << c.letter;
}

int IndexOf(const TDriveComboBox& drives, char letter) {
    return drives.IndexOfLetter(letter);
}

// Wine cannot name a network drive (WNetGetConnectionA answers ERROR_NOT_CONNECTED) and
// reads labels once per server start, so names are checked for their form, not their words.
TEST(DriveComboBox, ListsEveryDriveButCdRomsWithItsNameAndPicture) {
    TDriveComboBox drives;
    drives.ReadDrives();
    EXPECT_EQ(::GetLogicalDrives(), drives.DriveSet());

    std::vector<char> expected;
    for (int bit = 2; bit <= 25; ++bit) {
        const char letter = static_cast<char>('a' + bit);
        if ((drives.DriveSet() & (1u << bit)) &&
            ::GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) != DRIVE_CDROM)
            expected.push_back(letter);
    }
    ASSERT_EQ(expected.size(), static_cast<size_t>(drives.ItemCount()));
    for (int i = 0; i < drives.ItemCount(); ++i) {
        const std::string& text = drives.ItemText(i);
        ASSERT_GE(text.size(), 3u);
        EXPECT_EQ(std::string(1, expected[static_cast<size_t>(i)]) + ": ", text.substr(0, 3));
        const std::string name = text.substr(3);
        const bool remote = ::GetDriveTypeA((text.substr(0, 2) + "\\").c_str()) == DRIVE_REMOTE;
        EXPECT_EQ(remote ? NetworkName(text[0]) : VolumeText(text[0]), name) << text;
        std::string lower = name;
        if (!lower.empty()) ::CharLowerBuffA(&lower[0], static_cast<DWORD>(lower.size()));
        EXPECT_EQ(lower, name) << "names follow the lower-case letter";
    }

    EXPECT_LT(IndexOf(drives, 'd'), 0) << "the CD-ROM drive is never listed";
    ASSERT_GE(IndexOf(drives, 'c'), 0);
    ASSERT_GE(IndexOf(drives, 'e'), 0);
    ASSERT_GE(IndexOf(drives, 'r'), 0);
    ASSERT_GE(IndexOf(drives, 'n'), 0);
    EXPECT_EQ(TDriveComboBox::dpFixed, drives.ItemPicture(IndexOf(drives, 'c')));
    EXPECT_EQ(TDriveComboBox::dpFixed, drives.ItemPicture(IndexOf(drives, 'e')));
    EXPECT_EQ(TDriveComboBox::dpRemovable, drives.ItemPicture(IndexOf(drives, 'r')));
    EXPECT_EQ("r: ", drives.ItemText(IndexOf(drives, 'r'))) << "an unlabelled drive shows letter, colon, blank";
}

TEST(DriveComboBox, SetDriveSelectsTheDriveAndHandsItToTheFolderList) {
    test::TestParentWindow parent;
    TDirectoryListBox folders;
    TDriveComboBox drives;
    folders.Create(parent.Handle(), 101, 10, 10, 345, 174, nullptr);
    drives.Create(parent.Handle(), 102, 10, 200, 345, 19, nullptr);
    parent.Router().Add(&folders);
    parent.Router().Add(&drives);
    drives.SetFolderList(&folders);
    int changes = 0;
    drives.OnChange = [&] { ++changes; };

    EXPECT_EQ(-1, drives.SelectedIndex()) << "no drive before the first one is set";
    drives.SetDrive('E');
    EXPECT_EQ('e', drives.Drive());
    EXPECT_EQ("e:", drives.Text().substr(0, 2));
    EXPECT_EQ("e:\\", folders.Directory());
    EXPECT_EQ(1, changes);
    drives.SetDrive('e');
    EXPECT_EQ(1, changes) << "the same drive again changes nothing";

    // The user picks R: in the list: the list tells its parent, which routes it back.
    const int r = drives.IndexOfLetter('r');
    ::SendMessageA(drives.Handle(), CB_SETCURSEL, static_cast<WPARAM>(r), 0);
    ::SendMessageA(parent.Handle(), WM_COMMAND, MAKEWPARAM(drives.Id(), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(drives.Handle()));
    EXPECT_EQ('r', drives.Drive());
    EXPECT_EQ("r:\\", folders.Directory());
    EXPECT_EQ(2, changes);

    // A letter without an item keeps the selection but still moves the drive.
    drives.SetDrive('q');
    EXPECT_EQ(r, drives.SelectedIndex());
    EXPECT_EQ('q', drives.Drive());
    test::TestParentWindow::Pump();  // the items are drawn without trouble
}

}  // namespace
}  // namespace orv
