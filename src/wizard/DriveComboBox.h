// The drive list of the destination page: a drop-down list of the drives with a picture and
// a name each, linked to the folder list it proposes folders to.
#pragma once

#include "ui/Control.h"
#include "common/Owners.h"
#include "wizard/ListBitmaps.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv {

class TDirectoryListBox;

// A volume label as the list shows it: "[label]" in lower case after a lower-case letter,
// in upper case otherwise; empty for an empty label.
std::string FormatVolumeLabel(const std::string& label, char letter);
// A drive name in lower case after a lower-case letter, in upper case otherwise. With a
// double-byte code page (codePage non-zero) only single-byte A-Z and a-z change; the two
// bytes of a double-byte character stay as they are. codePage 0: the ANSI case mapping.
std::string ConvertLabelCase(std::string text, char letter, UINT codePage);
// The label of the drive's volume as FormatVolumeLabel shows it; empty when there is none
// or the drive cannot be asked.
std::string VolumeText(char letter);
// The remote name of a network drive, case-converted like a label, without brackets; the
// volume text when the network cannot name it.
std::string NetworkName(char letter);

class TDriveComboBox : public ui::TControl {
public:
    enum : uint8_t { dpFixed = 0, dpRemovable = 1 };

    TDriveComboBox();
    ~TDriveComboBox() override;

    // Creates the drop-down list (height is the closed box's), lists the drives and shows
    // the current one.
    // Sizes and pictures follow dpi.
    void Create(HWND parent, int id, int left, int top, int width, int height, HFONT font, int dpi = 96);
    void ScaleTo(int left, int top, int width, int height, int dpi) override;
    // Links the folder list both ways.
    void SetFolderList(TDirectoryListBox* list);

    // Lists the drives C: to Z: that are not CD or DVD drives and remembers the drive set.
    void ReadDrives();
    // Makes the letter the current drive, selects its item and tells the folder list.
    void SetDrive(char letter);
    char Drive() const { return drive_; }
    DWORD DriveSet() const { return driveSet_; }

    // The selected item's text, "" when none is selected.
    std::string Text() const;
    // Selects the item with this text (compared as the user's locale does, ignoring case)
    // without any notification; false when no item has it.
    bool SelectItemByText(const std::string& text);
    // Selects the first item of this drive letter without any notification.
    bool SelectItemByLetter(char letter);
    // The first item of this drive letter, -1 when none.
    int IndexOfLetter(char letter) const;
    int SelectedIndex() const;

    int ItemCount() const { return static_cast<int>(items_.size()); }
    const std::string& ItemText(int index) const { return items_[static_cast<size_t>(index)].Text; }
    uint8_t ItemPicture(int index) const { return items_[static_cast<size_t>(index)].Picture; }

    // Raised after every SetDrive that changed the drive.
    std::function<void()> OnChange;

    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct TItem {
        std::string Text;
        uint8_t Picture;
    };

    void FillWindow();
    void DrawItem(const DRAWITEMSTRUCT& item);
    int ItemHeightFor(HWND measureIn, HFONT font) const;
    int PictureHeight() const;
    void SetFieldHeight(int boxHeight);

    char drive_ = ' ';  // none until the first SetDrive
    DWORD driveSet_ = 0;
    std::vector<TItem> items_;
    int selected_ = -1;  // the selection when there is no window
    TDirectoryListBox* folderList_ = nullptr;
    TListPicture fixedPicture_;
    TListPicture removablePicture_;
    int dpi_ = 96;
};

}  // namespace orv
