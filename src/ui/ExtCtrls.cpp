// Panels, bevels, images and the page container: windows that paint themselves.
#include "ui/ExtCtrls.h"

#include "ui/ScaledPicture.h"

namespace orv::ui {

namespace {

// Panels and pages hold controls: the dialog keyboard walks into them.
constexpr DWORD ContainerExStyle = WS_EX_CONTROLPARENT;
constexpr DWORD ContainerStyle = WS_VISIBLE | WS_CLIPSIBLINGS;

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
    UniqueAny<HGDIOBJ, GdiObjectTraits> pen(::CreatePen(PS_SOLID, 1, color));
    SelectObjectGuard keep(dc, pen.get());
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

}  // namespace

void TPanel::Create(HWND parent, int id, int left, int top, int width, int height, bool etched) {
    etched_ = etched;
    CreateWindowed("TPanel", "", ContainerStyle, ContainerExStyle, parent, id, left, top, width, height);
}

void TPanel::Paint(HDC dc, const RECT& client) {
    if (!etched_) return;
    RECT rc = client;
    ::DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
}

void TBevel::Create(HWND parent, int id, int left, int top, int width, int height, TShape shape) {
    shape_ = shape;
    CreateWindowed("TBevel", "", WS_VISIBLE, 0, parent, id, left, top, width, height);
}

void TBevel::Paint(HDC dc, const RECT& client) {
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if (shape_ == bsLeftLine) {
        Line(dc, 0, 0, 0, client.bottom, shadow);
        Line(dc, 1, 0, 1, client.bottom, light);
        return;
    }
    // A lowered box: shadow on the top and left edges, light on the bottom and right.
    int r = client.right - 1, b = client.bottom - 1;
    Line(dc, 0, b, 0, 0, shadow);
    Line(dc, 0, 0, r, 0, shadow);
    Line(dc, r, 0, r, b, light);
    Line(dc, r, b, -1, b, light);
}

void TImage::Create(HWND parent, int id, int left, int top, int width, int height) {
    CreateWindowed("TImage", "", WS_VISIBLE, 0, parent, id, left, top, width, height);
}

bool TImage::LoadBitmapResource(const char* name) {
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    bitmap_.reset(static_cast<HBITMAP>(::LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    large_ = LoadBitmapResourceDib(LargeArtworkName(name).c_str());
    scaled_.reset();
    ::InvalidateRect(Handle(), nullptr, TRUE);
    return bitmap_.valid();
}

HBITMAP TImage::ShownBitmap() {
    RECT client;
    ::GetClientRect(Handle(), &client);
    const SIZE own = PictureSize(bitmap_.get());
    if (!bitmap_ || (own.cx == client.right && own.cy == client.bottom)) return bitmap_.get();
    const SIZE made = PictureSize(scaled_.get());
    if (!scaled_ || made.cx != client.right || made.cy != client.bottom) {
        // Shrinking the larger artwork keeps detail that enlarging the small one cannot.
        HBITMAP source = large_ && client.right > own.cx ? large_.get() : bitmap_.get();
        scaled_ = ScaleBitmap(source, client.right, client.bottom, false);
    }
    return scaled_ ? scaled_.get() : bitmap_.get();
}

void TImage::Paint(HDC dc, const RECT& client) {
    HBITMAP picture = ShownBitmap();
    if (!picture) return;
    UniqueMemoryDC memory(::CreateCompatibleDC(dc));
    SelectObjectGuard keep(memory.get(), picture);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

void TTabSheet::Create(TPageControl& owner, int id) {
    RECT rc;
    ::GetClientRect(owner.Handle(), &rc);
    CreateWindowed("TTabSheet", "", WS_CLIPSIBLINGS, ContainerExStyle, owner.Handle(), id, 0, 0, rc.right, rc.bottom);
    owner.AddPage(this);
}

void TTabSheet::ScaleTo(int, int, int, int, int) {
    RECT rc;
    ::GetClientRect(::GetParent(Handle()), &rc);
    SetBounds(0, 0, rc.right, rc.bottom);
}

void TPageControl::Create(HWND parent, int id, int left, int top, int width, int height) {
    CreateWindowed("TPageControl", "", ContainerStyle, ContainerExStyle, parent, id, left, top, width, height);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page == active_) return;
    if (page) page->SetVisible(true);
    if (active_) active_->SetVisible(false);
    active_ = page;
}

}  // namespace orv::ui
