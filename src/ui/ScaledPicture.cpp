// Loading the artwork, reading its pixels, and making and drawing the smoothly scaled pictures.
#include "ui/ScaledPicture.h"

#include "ui/CompressedBitmap.h"

namespace orv::ui {

namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

std::string LargeArtworkName(const std::string& name) {
    return name + "_2X";
}

UniqueHBitmap LoadBitmapResourceDib(const char* name) {
    // The large artwork is kept compressed; the pictures of 100 % are plain BITMAP resources.
    if (UniqueHBitmap packed = LoadCompressedBitmapResource(name)) return packed;
    return UniqueHBitmap(
        static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE PictureSize(HBITMAP bitmap) {
    BITMAP bm = {};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

TPixels ReadPixels(HBITMAP bitmap) {
    TPixels pixels;
    const SIZE size = PictureSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0) return pixels;
    std::vector<uint32_t> data(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
    BITMAPINFO info = TopDown32(size.cx, size.cy);
    WindowDC screen(nullptr);
    if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(size.cy), data.data(), &info, DIB_RGB_COLORS) != size.cy)
        return pixels;
    for (uint32_t& p : data) p |= 0xFF000000u;
    pixels.Width = size.cx;
    pixels.Height = size.cy;
    pixels.Data = std::move(data);
    return pixels;
}

UniqueHBitmap MakeBitmap(const TPixels& pixels) {
    if (pixels.Width <= 0 || pixels.Height <= 0) return UniqueHBitmap();
    BITMAPINFO info = TopDown32(pixels.Width, pixels.Height);
    void* bits = nullptr;
    UniqueHBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return UniqueHBitmap();
    ::GdiFlush();
    std::copy(pixels.Data.begin(), pixels.Data.end(), static_cast<uint32_t*>(bits));
    return bitmap;
}

UniqueHBitmap ScaleBitmap(HBITMAP source, int width, int height, bool keyTransparent) {
    TPixels pixels = ReadPixels(source);
    if (pixels.Data.empty()) return UniqueHBitmap();
    if (keyTransparent) pixels = KeyToAlpha(pixels, pixels.Data[static_cast<size_t>(pixels.Height - 1) * pixels.Width]);
    return MakeBitmap(ResamplePixels(pixels, width, height));
}

void DrawScaledBitmap(HDC dc, HBITMAP picture, int x, int y) {
    const SIZE size = PictureSize(picture);
    if (size.cx <= 0 || size.cy <= 0) return;
    UniqueMemoryDC memory(::CreateCompatibleDC(dc));
    if (!memory.get()) return;
    SelectObjectGuard keep(memory.get(), picture);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, x, y, size.cx, size.cy, memory.get(), 0, 0, size.cx, size.cy, blend);
}

}  // namespace orv::ui
