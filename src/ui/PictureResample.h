// Smooth resizing of a picture held as premultiplied 32-bit pixels: pure arithmetic, so
// that the scaled artwork is the same on every system and testable without a screen.
#pragma once

#include <cstdint>
#include <vector>

namespace orv::ui {

// Pixels as 0xAARRGGBB, rows top-down, colour channels premultiplied by alpha.
struct TPixels {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Data;
};

// Each target pixel is the area-weighted mean of the source pixels its footprint covers,
// so shrinking keeps fine lines as soft edges instead of dropping them and no pixel is
// doubled. An empty source or target size gives an empty picture.
TPixels ResamplePixels(const TPixels& source, int width, int height);

// Opaque pixels (alpha 255), except those of the key colour (its RGB), which become fully
// transparent: the lists' pictures mark their background with the bottom-left pixel's colour.
TPixels KeyToAlpha(const TPixels& source, uint32_t keyRgb);

}  // namespace orv::ui
