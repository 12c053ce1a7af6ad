// A control with a window class of this layer: it paints its own background and hosts
// child controls, whose notifications it routes back to them.
#pragma once

#include "common/Owners.h"
#include "ui/Control.h"

namespace orv::ui {

class TWinControl : public TControl {
public:
    TControlRouter& Router() { return router_; }
    // The background colour (the system's button face until set).
    void SetColor(COLORREF color);
    COLORREF Color() const;
    HBRUSH BackgroundBrush() const;

protected:
    // Creates the window of a class of this layer (registered on first use) with this
    // object as its window procedure. parent null makes a top-level window.
    HWND CreateWindowed(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent, int id,
                        int left, int top, int width, int height);
    // The window's messages; the default routes control messages, colours static
    // children, erases with the background and paints through Paint.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void Paint(HDC dc, const RECT& client);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ColorChild(HDC dc);

    TControlRouter router_;
    HFONT font_ = nullptr;  // the font set with WM_SETFONT, not owned
    UniqueHBrush brush_;    // empty: the system button-face brush
    COLORREF color_ = CLR_INVALID;
};

}  // namespace orv::ui
