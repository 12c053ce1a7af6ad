// Bitmaps kept zlib-compressed in the program's resources, turned back into DIB sections.
#pragma once

#include "common/Owners.h"

#include <windows.h>

#include <cstddef>

namespace orv::ui {

// The resource type of a compressed bitmap: a zlib stream of a packed DIB, that is of a
// .bmp file without its 14-byte file header (the bytes a BITMAP resource holds).
constexpr const char* CompressedBitmapType = "ZBITMAP";

// A DIB section with the header, colour table and pixels of the compressed packed DIB,
// as LoadImageA with LR_CREATEDIBSECTION makes one from the same DIB kept as a BITMAP
// resource. Empty when the data is damaged, cut short, longer than its picture, or not an
// uncompressed picture of a sensible size.
UniqueHBitmap BitmapFromCompressedDib(const void* data, size_t size);

// The program's own compressed bitmap resource of that name; empty when missing or damaged.
UniqueHBitmap LoadCompressedBitmapResource(const char* name);

}  // namespace orv::ui
