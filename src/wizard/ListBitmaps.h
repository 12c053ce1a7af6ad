// The small pictures of the drive and folder lists: loading from resources, transparent drawing.
#pragma once

#include "common/Owners.h"

#include <windows.h>

namespace orv {

// Draws the bitmap at (x, y) with every pixel of its bottom-left pixel's colour left out.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y);

// One picture of a list at the list's scale: at 96 dpi the bitmap itself, drawn with its
// key colour left out; at any other scale the larger artwork (or the bitmap, when there is
// none) resized smoothly to the scaled size, its key colour turned into transparency.
class TListPicture {
public:
    // Loads the picture and its larger artwork for a list shown at dpi.
    void Load(const char* name, int dpi);
    void SetDpi(int dpi);
    bool Loaded() const { return bitmap_.valid(); }
    // The size drawn at the present scale; 0 x 0 when not loaded.
    SIZE Size() const;
    void Draw(HDC dc, int x, int y) const;

private:
    UniqueHBitmap bitmap_;
    UniqueHBitmap large_;
    UniqueHBitmap scaled_;  // for dpi_ other than 96
    int dpi_ = 96;
};

}  // namespace orv
