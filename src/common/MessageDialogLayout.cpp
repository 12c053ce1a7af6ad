// The message dialog's geometry, computed from the font's average character size.
#include "common/MessageDialogLayout.h"

#include <windows.h>

#include <algorithm>

namespace orv {

namespace {

bool HasButton(uint16_t buttons, int index) {
    return index >= 0 && (buttons & (1u << index)) != 0;
}

// OK wins over Yes; otherwise Retry, which exists only in the Abort/Retry/Ignore set.
int DefaultButtonIndex(uint16_t buttons) {
    int index = HasButton(buttons, 2) ? 2 : HasButton(buttons, 0) ? 0 : 5;
    return HasButton(buttons, index) ? index : -1;
}

// Cancel, else No, else OK: the button that Esc presses.
int CancelButtonIndex(uint16_t buttons) {
    int index = HasButton(buttons, 3) ? 3 : HasButton(buttons, 1) ? 1 : 2;
    return HasButton(buttons, index) ? index : -1;
}

}  // namespace

TMessageDialogLayout LayoutMessageDialog(int ax, int ay, int textWidth, int textHeight, uint16_t buttons,
                                         int iconSize) {
    TMessageDialogLayout l;
    // MulDiv rounds to the nearest integer, halves away from zero (17.5 -> 18).
    l.Hm = ::MulDiv(10, ax, 4);
    l.Vm = ::MulDiv(8, ay, 8);
    l.Hs = ::MulDiv(10, ax, 4);
    l.Vs = ::MulDiv(10, ay, 8);
    l.Bw = ::MulDiv(50, ax, 4);
    l.Bh = ::MulDiv(14, ay, 8);
    l.Bs = ::MulDiv(4, ax, 4);

    const int iconTextWidth = textWidth + l.Hs + iconSize;
    const int iconTextHeight = std::max(textHeight, iconSize);
    int n = 0;
    for (int i = 0; i < MessageButtonCount; ++i)
        if (HasButton(buttons, i)) ++n;
    const int rowWidth = n == 0 ? 0 : n * l.Bw + (n - 1) * l.Bs;

    l.ClientWidth = std::max(iconTextWidth, rowWidth) + 2 * l.Hm;
    l.ClientHeight = iconTextHeight + l.Bh + l.Vs + 2 * l.Vm;
    l.Icon = {l.Hm, l.Vm, iconSize, iconSize};
    l.Text = {l.Hm + iconSize + l.Hs, l.Vm, textWidth, textHeight};
    l.DefaultIndex = DefaultButtonIndex(buttons);
    l.CancelIndex = CancelButtonIndex(buttons);

    int x = (l.ClientWidth - rowWidth) / 2;
    const int y = iconTextHeight + l.Vm + l.Vs;
    for (int i = 0; i < MessageButtonCount; ++i) {
        if (!HasButton(buttons, i)) continue;
        l.Buttons.push_back({i, {x, y, l.Bw, l.Bh}});
        x += l.Bw + l.Bs;
    }
    return l;
}

void CentreOnScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight, int& left, int& top) {
    // Each half separately, as unsigned shifts: a window wider than the screen still
    // gets a negative left edge that keeps it centred.
    left = static_cast<int>(static_cast<unsigned>(screenWidth) >> 1) -
           static_cast<int>(static_cast<unsigned>(windowWidth) >> 1);
    top = static_cast<int>(static_cast<unsigned>(screenHeight) >> 1) -
          static_cast<int>(static_cast<unsigned>(windowHeight) >> 1);
}

}  // namespace orv
