// The destination page's logic: the edit's normalisation, the link from the folder list to
// the edit, and the once-a-second watch that follows attached and removed drives.
#pragma once

#include "engine/Destination.h"

#include <windows.h>

#include <string>

namespace orv {

class TDriveComboBox;
class TDirectoryListBox;

// What the drive watch does once the drive list has been reread.
struct TDriveWatchStep {
    enum Kind { dwKeep, dwReselect, dwSwitch } Action = dwKeep;
    char Letter = ' ';  // the drive to switch to for dwSwitch
};
// The watch's decision for a changed drive set: a drive gone keeps the current drive when it
// is still there (dwReselect), else switches to the fallback; a drive added switches to the
// first new letter from C: on that the list shows (listedSet), or keeps the selection when
// the list shows none of the new drives (A:, B:, CD and DVD drives).
TDriveWatchStep DecideDriveWatch(DWORD oldSet, DWORD nowSet, DWORD listedSet, char currentDrive, char fallback);

class TDestDirPage {
public:
    // edit is DestDirEdt; formLoaded is the window's flag, read on every change.
    TDestDirPage(HWND edit, TDriveComboBox& drives, TDirectoryListBox& folders, const bool& formLoaded);

    // Rewrites the edit's text with NormalizeDestDir.
    void NormalizeDestDir();
    // The folder list's change handler: the edit follows the folder once the form is loaded.
    void DestDirLstBxChange();
    // Timer 2: follows a change of the system's drives.
    void DriveWatch();

private:
    std::string EditText() const;
    void SetEditText(const std::string& text);

    HWND edit_;
    TDriveComboBox& drives_;
    TDirectoryListBox& folders_;
    const bool& formLoaded_;
};

}  // namespace orv
