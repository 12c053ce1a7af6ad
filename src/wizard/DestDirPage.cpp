// The destination page's logic: the edit's normalisation, the folder-list link, the drive watch.
#include "wizard/DestDirPage.h"

#include "common/InstUtils.h"
#include "common/WideWindows.h"
#include "wizard/DriveComboBox.h"
#include "wizard/FolderListBox.h"

#include <shlobj.h>

#include <vector>

namespace orv {

namespace {

char LowerLetter(char c) {
    char s[2] = {c, '\0'};
    ::CharLowerBuffA(s, 1);
    return s[0];
}

int DriveBit(char letter) {
    const char c = LowerLetter(letter);
    return c >= 'a' && c <= 'z' ? c - 'a' : -1;
}

}  // namespace

TDriveWatchStep DecideDriveWatch(DWORD oldSet, DWORD nowSet, DWORD listedSet, char currentDrive, char fallback) {
    TDriveWatchStep step;
    if (nowSet == oldSet) return step;
    if (nowSet < oldSet) {
        const int bit = DriveBit(currentDrive);
        if (bit >= 0 && (nowSet & (1u << bit))) {
            step.Action = TDriveWatchStep::dwReselect;
        } else {
            step.Action = TDriveWatchStep::dwSwitch;
            step.Letter = LowerLetter(fallback);
        }
        return step;
    }
    for (int i = 2; i <= 25; ++i) {
        if ((nowSet & listedSet & (1u << i)) && !(oldSet & (1u << i))) {
            step.Action = TDriveWatchStep::dwSwitch;
            step.Letter = static_cast<char>('a' + i);
            return step;
        }
    }
    // Only drives the list leaves out came: the reread list has lost its selection, so the
    // current drive is shown again rather than an empty box or another drive.
    step.Action = TDriveWatchStep::dwReselect;
    return step;
}

TDestDirPage::TDestDirPage(HWND edit, TDriveComboBox& drives, TDirectoryListBox& folders, const bool& formLoaded)
    : edit_(edit), drives_(drives), folders_(folders), formLoaded_(formLoaded) {}

std::string TDestDirPage::EditText() const {
    return GetWindowTextU(edit_);
}

void TDestDirPage::SetEditText(const std::string& text) {
    SetWindowTextU(edit_, text);
}

void TDestDirPage::NormalizeDestDir() {
    SetEditText(orv::NormalizeDestDir(EditText(), drives_.Drive(), GetSpecialFolder(CSIDL_PROGRAM_FILES)));
}

void TDestDirPage::DestDirLstBxChange() {
    if (!formLoaded_) return;
    SetEditText(folders_.Directory());
    NormalizeDestDir();
}

void TDestDirPage::DriveWatch() {
    const DWORD now = ::GetLogicalDrives();
    if (now == drives_.DriveSet()) return;
    const DWORD old = drives_.DriveSet();
    const std::string keptText = drives_.Text();
    drives_.ReadDrives();

    DWORD listed = 0;
    for (int bit = 0; bit < 26; ++bit)
        if (drives_.IndexOfLetter(static_cast<char>('a' + bit)) >= 0) listed |= 1u << bit;
    const TDriveWatchStep step = DecideDriveWatch(old, now, listed, drives_.Drive(), ProgramFilesFolder()[0]);
    if (step.Action == TDriveWatchStep::dwReselect) {
        // A changed label changes the text; the drive itself is still the one to show.
        if (!drives_.SelectItemByText(keptText)) drives_.SelectItemByLetter(drives_.Drive());
    } else if (step.Action == TDriveWatchStep::dwSwitch) {
        char letter = step.Letter;
        // The program-files drive can be missing from the list only on an odd system; any
        // listed drive is then better than a drive that is not there.
        if (drives_.IndexOfLetter(letter) < 0 && drives_.ItemCount() > 0) letter = drives_.ItemText(0)[0];
        drives_.SetDrive(letter);
    }
}

}  // namespace orv
