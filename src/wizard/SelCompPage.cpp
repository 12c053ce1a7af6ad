// The component page's logic: items, sizes, drawing, toggles and the disk-space figures.
#include "wizard/SelCompPage.h"

#include "common/DpiScaling.h"
#include "common/WideWindows.h"
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "engine/FileSelection.h"
#include "engine/ResConst.h"
#include "wizard/CheckListBox.h"
#include "wizard/SizeFormat.h"

#include <algorithm>

namespace orv {

TDiskSpace ComputeDiskSpace(const std::vector<uint8_t>& states, const std::vector<int32_t>& sizes, bool availableKnown,
                            int64_t available) {
    TDiskSpace space;
    space.Required = RequiredSpace(states, sizes);
    space.AvailableKnown = availableKnown;
    space.Available = availableKnown ? available : 0;
    space.NextEnabled = availableKnown && space.Available >= space.Required;
    space.RequiredText = FormatSize(space.Required);
    space.AvailableText = FormatSize(space.Available);
    return space;
}

TSelCompPage::TSelCompPage(TCheckListBox& list, TSetupState& state) : list_(list), state_(state) {
    list_.OnClickCheck = [this] { SelCompLstBxClickCheck(); };
    list_.OnDrawItem = [this](HDC dc, int index, const RECT& rect, UINT itemState) {
        SelCompLstBxDrawItem(dc, index, rect, itemState);
    };
}

void TSelCompPage::SetUpItems() {
    state_.ItemComponents.clear();
    for (int i = 0; i < ComponentCount; ++i) {
        if (i >= list_.ItemCount()) list_.AddItem(ComponentNames[i]);
        state_.ItemComponents.push_back(static_cast<uint8_t>(i));
        list_.SetState(i, i <= 7 && (state_.Options.Comps & (1u << i)) ? csChecked : csUnchecked);
    }
    list_.SetItemIndex(1);
    list_.SetState(0, csGrayed);
    SyncStates();
}

void TSelCompPage::RefreshSizes(const TAttachedFiles& files) {
    for (int i = 0; i < list_.ItemCount() && i < static_cast<int>(state_.ItemComponents.size()); ++i) {
        const int c = state_.ItemComponents[static_cast<size_t>(i)];
        if (c < ComponentCount) list_.SetItemData(i, ComponentSize(files, state_, ComponentFiles[c]));
    }
}

void TSelCompPage::SelCompLstBxDrawItem(HDC dc, int index, const RECT& rect, UINT) {
    ::PatBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, PATCOPY);
    if (index < 0 || index >= list_.ItemCount()) return;
    if (static_cast<size_t>(index) < state_.ItemComponents.size() &&
        state_.ItemComponents[static_cast<size_t>(index)] == 0)
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    const int height = rect.bottom - rect.top;

    const std::string& text = list_.ItemText(index);
    SIZE extent = {};
    GetTextExtentU(dc, text, extent);
    const int margin = ScaleForDpi(2, list_.Dpi());
    TextOutU(dc, rect.left + margin, rect.top + (height - extent.cy) / 2, text);

    const int32_t rounded = static_cast<int32_t>(RoundUpToCluster(state_.Options.DestDir, list_.ItemData(index)));
    const std::string size = FormatSize(rounded);
    GetTextExtentU(dc, size, extent);
    TextOutU(dc, rect.right - extent.cx - margin, rect.top + (height - extent.cy) / 2, size);
}

void TSelCompPage::SelCompLstBxClickCheck() {
    const bool programItemFirst = !state_.ItemComponents.empty() && state_.ItemComponents[0] == 0;
    if (!programItemFirst || list_.State(0) == csGrayed) {
        SyncStates();
        UpdateDiskSpace();
    } else {
        // The program itself cannot be left out: its box goes straight back to gray.
        list_.SetState(0, csGrayed);
        SyncStates();
    }
}

TDiskSpace TSelCompPage::UpdateDiskSpace() {
    SyncStates();
    std::vector<int32_t> sizes;
    for (int i = 0; i < list_.ItemCount(); ++i) sizes.push_back(list_.ItemData(i));

    int64_t available = 0;
    const bool known = QueryFreeSpace(state_.Options.DestDir, available);
    const TDiskSpace space = ComputeDiskSpace(state_.ItemStates, sizes, known, available);
    if (OnDiskSpace) OnDiskSpace(space);
    return space;
}

void TSelCompPage::SyncStates() {
    state_.ItemStates.clear();
    for (int i = 0; i < list_.ItemCount(); ++i) state_.ItemStates.push_back(list_.State(i));
}

}  // namespace orv
