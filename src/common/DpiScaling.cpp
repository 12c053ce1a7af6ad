// Scaling of 96-dpi layout values, rectangles and font heights to another scale.
#include "common/DpiScaling.h"

#include <cstdint>

namespace orv {

namespace {

// a x b / c rounded to nearest with halves away from zero; c > 0.
int MulDivRound(int a, int b, int c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : -((-product + half) / c));
}

}  // namespace

int ScaleForDpi(int value, int dpi) {
    return dpi == DefaultDpi || dpi <= 0 ? value : MulDivRound(value, dpi, DefaultDpi);
}

TLayoutRect ScaleRectForDpi(const TLayoutRect& rect, int dpi) {
    TLayoutRect r;
    r.Left = ScaleForDpi(rect.Left, dpi);
    r.Top = ScaleForDpi(rect.Top, dpi);
    r.Width = ScaleForDpi(rect.Left + rect.Width, dpi) - r.Left;
    r.Height = ScaleForDpi(rect.Top + rect.Height, dpi) - r.Top;
    return r;
}

int FontHeightForDpi(int points, int dpi) {
    return -MulDivRound(points, dpi > 0 ? dpi : DefaultDpi, 72);
}

int RescaleFontHeight(int height, int fromDpi, int toDpi) {
    if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return height;
    return MulDivRound(height, toDpi, fromDpi);
}

}  // namespace orv
