// The small pictures of the drive and folder lists: loading from resources, transparent drawing.
#pragma once

#include "common/Owners.h"

#include <windows.h>

namespace orv {

// The bitmap resource of the program's own module; empty when it is missing.
UniqueHBitmap LoadBitmapResource(const char* name);

// Size of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// Draws the bitmap at (x, y) with every pixel of its bottom-left pixel's colour left out.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y);

}  // namespace orv
