// The small pictures of the drive and folder lists: loading from resources, transparent drawing.
#include "wizard/ListBitmaps.h"

#include "common/DpiScaling.h"
#include "ui/ScaledPicture.h"

namespace orv {

// The classic mask method: a monochrome mask cut where the key colour is, the picture's
// key pixels turned black, then AND the mask and OR the picture onto the target.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    const SIZE size = ui::PictureSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0) return;

    UniqueMemoryDC imageDC(::CreateCompatibleDC(dc)), maskDC(::CreateCompatibleDC(dc)),
        workDC(::CreateCompatibleDC(dc));
    if (!imageDC.get() || !maskDC.get() || !workDC.get()) return;
    UniqueHBitmap mask(::CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    UniqueHBitmap work(::CreateCompatibleBitmap(dc, size.cx, size.cy));
    if (!mask || !work) return;

    SelectObjectGuard selImage(imageDC.get(), bitmap);
    SelectObjectGuard selMask(maskDC.get(), mask.get());
    SelectObjectGuard selWork(workDC.get(), work.get());

    const COLORREF key = ::GetPixel(imageDC.get(), 0, size.cy - 1);
    const COLORREF oldImageBk = ::SetBkColor(imageDC.get(), key);
    // Mask: white (1) where the picture has the key colour, black elsewhere.
    ::BitBlt(maskDC.get(), 0, 0, size.cx, size.cy, imageDC.get(), 0, 0, SRCCOPY);
    ::SetBkColor(imageDC.get(), oldImageBk);

    // Work copy of the picture with the key pixels black: a monochrome source paints its
    // 1 bits in the target's background colour and its 0 bits in the text colour.
    ::BitBlt(workDC.get(), 0, 0, size.cx, size.cy, imageDC.get(), 0, 0, SRCCOPY);
    const COLORREF oldWorkBk = ::SetBkColor(workDC.get(), RGB(0, 0, 0));
    const COLORREF oldWorkText = ::SetTextColor(workDC.get(), RGB(255, 255, 255));
    ::BitBlt(workDC.get(), 0, 0, size.cx, size.cy, maskDC.get(), 0, 0, SRCAND);
    ::SetBkColor(workDC.get(), oldWorkBk);
    ::SetTextColor(workDC.get(), oldWorkText);

    // Target: keep it where the mask is white, clear it elsewhere, then add the picture.
    const COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    ::BitBlt(dc, x, y, size.cx, size.cy, maskDC.get(), 0, 0, SRCAND);
    ::SetBkColor(dc, oldBk);
    ::SetTextColor(dc, oldText);
    ::BitBlt(dc, x, y, size.cx, size.cy, workDC.get(), 0, 0, SRCPAINT);
}

void TListPicture::Load(const char* name, int dpi) {
    bitmap_ = ui::LoadBitmapResourceDib(name);
    large_ = ui::LoadBitmapResourceDib(ui::LargeArtworkName(name).c_str());
    SetDpi(dpi);
}

void TListPicture::SetDpi(int dpi) {
    dpi_ = dpi;
    scaled_.reset();
    if (!bitmap_ || dpi == DefaultDpi) return;
    const SIZE own = ui::PictureSize(bitmap_.get());
    const int width = ScaleForDpi(own.cx, dpi), height = ScaleForDpi(own.cy, dpi);
    HBITMAP source = large_ && width > own.cx ? large_.get() : bitmap_.get();
    scaled_ = ui::ScaleBitmap(source, width, height, true);
}

SIZE TListPicture::Size() const {
    return ui::PictureSize(scaled_ ? scaled_.get() : bitmap_.get());
}

void TListPicture::Draw(HDC dc, int x, int y) const {
    if (scaled_)
        ui::DrawScaledBitmap(dc, scaled_.get(), x, y);
    else
        DrawTransparentBitmap(dc, bitmap_.get(), x, y);
}

}  // namespace orv
