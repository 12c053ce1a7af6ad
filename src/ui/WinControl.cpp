// Window classes of this layer: one shared window procedure that forwards to the object.
#include "ui/WinControl.h"

#include "ui/Application.h"

#include "common/WideApi.h"
#include "common/WideWindows.h"

namespace orv::ui {

void TWinControl::SetColor(COLORREF color) {
    color_ = color;
    brush_.reset(::CreateSolidBrush(color));
    if (Handle()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

COLORREF TWinControl::Color() const {
    return color_ == CLR_INVALID ? ::GetSysColor(COLOR_BTNFACE) : color_;
}

HBRUSH TWinControl::BackgroundBrush() const {
    return brush_ ? brush_.get() : ::GetSysColorBrush(COLOR_BTNFACE);
}

HWND TWinControl::CreateWindowed(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent,
                                 int id, int left, int top, int width, int height) {
    // Unicode windows: every text they are given or give back is UTF-16, so no name the user
    // sees passes through the ANSI code page.
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const TWideArg classW(className);
    WNDCLASSW wc = {};
    if (!::GetClassInfoW(instance, classW.c_str(), &wc)) {
        wc.lpfnWndProc = StaticWindowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        wc.hIcon = ApplicationIcon();
        wc.lpszClassName = classW.c_str();
        ::RegisterClassW(&wc);
    }
    if (parent) style |= WS_CHILD;
    HMENU menu = parent ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    HWND wnd =
        CreateWindowExU(exStyle, className, text ? text : "", style, left, top, width, height, parent, menu, this);
    Attach(wnd, id);
    return wnd;
}

LRESULT CALLBACK TWinControl::StaticWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TWinControl*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self || !self->Handle()) return ::DefWindowProcW(wnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        return ::DefWindowProcW(wnd, msg, wParam, lParam);
    }
    // An error must not unwind through the system's frames: it is shown here and the
    // program goes on.
    try {
        return self->WindowProc(msg, wParam, lParam);
    } catch (...) {
        HandleCurrentException();
        return 0;
    }
}

LRESULT TWinControl::ColorChild(HDC dc) {
    ::SetBkColor(dc, Color());
    return reinterpret_cast<LRESULT>(BackgroundBrush());
}

LRESULT TWinControl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (router_.Dispatch(msg, wParam, lParam, result)) return result;
    switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ColorChild(reinterpret_cast<HDC>(wParam));
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_ERASEBKGND: {
        RECT rc;
        ::GetClientRect(Handle(), &rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, BackgroundBrush());
        return 1;
    }
    case WM_PRINTCLIENT: {
        RECT rc;
        ::GetClientRect(Handle(), &rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, BackgroundBrush());
        Paint(reinterpret_cast<HDC>(wParam), rc);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(Handle(), &ps);
        RECT rc;
        ::GetClientRect(Handle(), &rc);
        Paint(dc, rc);
        ::EndPaint(Handle(), &ps);
        return 0;
    }
    default:
        return ::DefWindowProcW(Handle(), msg, wParam, lParam);
    }
}

void TWinControl::Paint(HDC, const RECT&) {}

}  // namespace orv::ui
