// Bitmap resources drawn at another scale than their own: the larger artwork chosen where
// the program carries one, resized smoothly into a 32-bit picture with alpha, and drawn.
#pragma once

#include "common/Owners.h"
#include "ui/PictureResample.h"

#include <windows.h>

#include <string>

namespace orv::ui {

// The name under which the artwork of a bitmap resource is kept at twice its size.
std::string LargeArtworkName(const std::string& name);

// The program's own bitmap resource of that name as a DIB section, from its compressed form
// when it is kept so, else by LoadImageA; empty when missing.
UniqueHBitmap LoadBitmapResourceDib(const char* name);

// Size of a bitmap; 0 x 0 for none.
SIZE PictureSize(HBITMAP bitmap);

// The bitmap's pixels, read as 32-bit top-down with alpha 255.
TPixels ReadPixels(HBITMAP bitmap);

// A 32-bit top-down DIB section holding the (premultiplied) pixels.
UniqueHBitmap MakeBitmap(const TPixels& pixels);

// The picture resized smoothly to width x height. With keyTransparent, the pixels of the
// bottom-left pixel's colour become transparent first, so that no key colour bleeds into
// the edges of the smaller picture.
UniqueHBitmap ScaleBitmap(HBITMAP source, int width, int height, bool keyTransparent);

// Draws a picture made by ScaleBitmap at (x, y), blending its transparent edges.
void DrawScaledBitmap(HDC dc, HBITMAP picture, int x, int y);

}  // namespace orv::ui
