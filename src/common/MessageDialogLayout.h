// The message dialog's geometry: a pure function of the font's character size, the
// measured text, the button set and the screen, kept apart from the window so it is testable.
#pragma once

#include "common/DpiScaling.h"

#include <cstdint>
#include <vector>

namespace orv {

constexpr int MessageButtonCount = 9;  // bits 0 .. 8 of a button set
constexpr int MessageIconSize = 32;

struct TLayoutButton {
    int Index = 0;  // the button's bit number
    TLayoutRect Rect;
};

struct TMessageDialogLayout {
    // Spacing, from the average character size.
    int Hm = 0, Vm = 0, Hs = 0, Vs = 0, Bw = 0, Bh = 0, Bs = 0;
    int ClientWidth = 0, ClientHeight = 0;
    TLayoutRect Icon, Text;
    std::vector<TLayoutButton> Buttons;  // in bit order
    int DefaultIndex = -1;               // bit number of the default button, -1 for none shown
    int CancelIndex = -1;                // bit number of the button Esc presses, -1 for none shown
};

// Lays out a dialog whose font averages (ax, ay) and whose text measures textWidth x
// textHeight (DrawText's extent at half the screen width), with an iconSize-pixel square
// icon (32 at 96 dpi, scaled with the window). All values in client pixels.
TMessageDialogLayout LayoutMessageDialog(int ax, int ay, int textWidth, int textHeight, uint16_t buttons,
                                         int iconSize = MessageIconSize);

// The top-left corner that centres a window of the given outer size on the screen; each
// half is taken separately, rounding down.
void CentreOnScreen(int screenWidth, int screenHeight, int windowWidth, int windowHeight, int& left, int& top);

}  // namespace orv
