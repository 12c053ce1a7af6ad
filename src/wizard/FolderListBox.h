// The folder list of the destination page: the current folder's path as a small tree and its
// sub-folders; a selection opens the folder, a path that does not exist walks up.
#pragma once

#include "ui/Control.h"
#include "common/Owners.h"
#include "engine/Destination.h"
#include "wizard/ListBitmaps.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv {

class TDriveComboBox;

// The number of "\" in the folder after one trailing "\" is dropped: its depth below the root.
int FolderDepth(const std::string& directory);
// The path items of a folder: its root ("c:\") down to the folder itself.
std::vector<std::string> FolderPathItems(const std::string& directory);
// Left indent of item i: path items step 12 pixels a level from 3, sub-folders sit one
// level deeper than the current folder.
int FolderItemIndent(int index, bool subFolder, const std::string& directory);
// The text shown for item i: the drive for the root item, else the path's last element;
// lower case unless the volume preserves case.
std::string FolderItemCaption(int index, const std::string& path, bool casePreserved);

class TDirectoryListBox : public ui::TControl {
public:
    enum : uint8_t { fpNone = 0, fpOpen = 1, fpClosed = 2 };

    TDirectoryListBox();
    ~TDirectoryListBox() override;

    // Creates the list box, loads the pictures and shows the current folder; pictures,
    // indents and item height follow dpi.
    void Create(HWND parent, int id, int left, int top, int width, int height, HFONT font, int dpi = 96);
    // The item height at 96 dpi; the list scales it.
    void SetItemHeight(int height);
    void ScaleTo(int left, int top, int width, int height, int dpi) override;
    void SetDriveList(TDriveComboBox* list) { driveList_ = list; }

    // Shows the folder, or the nearest existing folder above it.
    void SetDirectory(const std::string& path);
    // Proposes a folder on another drive: on the program-files drive that folder (with
    // "Orvanel" when it exists), elsewhere the same path when it exists, else the root.
    void ChangeDrive(char letter);
    void BuildList();
    const std::string& Directory() const { return directory_; }

    // Raised after every change of the current folder.
    std::function<void()> OnChange;

    int ItemCount() const { return static_cast<int>(items_.size()); }
    const std::string& ItemPath(int index) const { return items_[static_cast<size_t>(index)].Path; }
    uint8_t ItemPicture(int index) const { return items_[static_cast<size_t>(index)].Picture; }
    int PathItemCount() const { return pathItems_; }
    bool CasePreserved() const { return casePreserved_; }
    bool CaseSensitive() const { return caseSensitive_; }

    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct TItem {
        std::string Path;
        uint8_t Picture;
    };

    bool SameDirectory(const std::string& path) const;
    void ReadVolumeFlags();
    void AddSubFolders();
    void FillWindow();
    void SelectItem(int index);
    void NotifyChange();
    void DrawItem(const DRAWITEMSTRUCT& item);

    std::string directory_ = "*";  // matches no drive letter until the first folder is set
    std::vector<TItem> items_;
    int pathItems_ = 0;
    bool casePreserved_ = true;
    bool caseSensitive_ = false;
    bool driveChanging_ = false;
    TDriveComboBox* driveList_ = nullptr;
    TListPicture openPicture_;
    TListPicture closedPicture_;
    int itemHeight_ = 0;  // at 96 dpi, as last set
    int dpi_ = 96;
};

}  // namespace orv
