// The component page's logic: the check list's items and sizes, their drawing, the toggles
// and the disk-space figures that decide whether Next is enabled.
#pragma once

#include "engine/Destination.h"
#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv {

class TCheckListBox;

// The figures below the list and the decision on Next.
struct TDiskSpace {
    int64_t Required = 0;         // sizes of the items that are checked or grayed
    int64_t Available = 0;        // free bytes for the user on the destination's drive
    bool AvailableKnown = false;  // false when the drive could not be asked
    bool NextEnabled = false;
    std::string RequiredText;
    std::string AvailableText;
};

// The decision, apart from the query: Next only when the space is known and covers the
// required space. An unknown figure shows as 0 KB.
TDiskSpace ComputeDiskSpace(const std::vector<uint8_t>& states, const std::vector<int32_t>& sizes, bool availableKnown,
                            int64_t available);

class TSelCompPage {
public:
    // Installs itself as the list's check and drawing handlers.
    TSelCompPage(TCheckListBox& list, TSetupState& state);

    // Fills the list from the stored component set: item i is component i, checked when
    // its bit is set; item 0 grayed; item 1 current.
    void SetUpItems();
    // Each item's size on the destination's drive (on every arrival at the page).
    void RefreshSizes(const TAttachedFiles& files);

    void SelCompLstBxDrawItem(HDC dc, int index, const RECT& rect, UINT state);
    void SelCompLstBxClickCheck();
    // Recomputes the figures and hands them to OnDiskSpace (labels and Next).
    TDiskSpace UpdateDiskSpace();

    // Copies the list's boxes into the state, which the install takes them from.
    void SyncStates();

    std::function<void(const TDiskSpace&)> OnDiskSpace;

private:
    TCheckListBox& list_;
    TSetupState& state_;
};

}  // namespace orv
