// Layout values made for 96 dots per inch scaled to another scale: pure arithmetic, kept
// apart from the system calls that tell a window's scale (WindowDpi.h).
#pragma once

namespace orv {

// The scale every layout table of this program is drawn for (100 %).
constexpr int DefaultDpi = 96;

struct TLayoutRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

// value x dpi / 96, rounded to the nearest integer with halves away from zero (as MulDiv
// rounds), so that 96 dpi gives every value back unchanged.
int ScaleForDpi(int value, int dpi);

// A rectangle scaled edge by edge rather than by its size: two rectangles that touch or
// keep apart at 96 dpi still do at every scale, whatever the rounding.
TLayoutRect ScaleRectForDpi(const TLayoutRect& rect, int dpi);

// The character height (negative: without internal leading) of a font of this many
// points at the scale: 8 points is 11 pixels at 96 dpi.
int FontHeightForDpi(int points, int dpi);

// A font height chosen for one scale carried over to another (the message font, which the
// system gives for its own scale).
int RescaleFontHeight(int height, int fromDpi, int toDpi);

}  // namespace orv
