// The base of the windowing layer's controls: one child window and the messages its parent
// hands back to it (notifications, owner drawing).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orv::ui {

class TControl {
public:
    TControl() = default;
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return handle_; }
    int Id() const { return id_; }

    void SetBounds(int left, int top, int width, int height);
    // The window moved to a screen of another scale: the bounds are the control's layout
    // row scaled to dpi. The default places it; controls that draw or measure in pixels
    // of their own (item heights, pictures) follow the scale as well.
    virtual void ScaleTo(int left, int top, int width, int height, int dpi);
    void SetVisible(bool visible);
    bool Visible() const;
    void SetEnabled(bool enabled);
    bool Enabled() const;
    // Gives the control the keyboard focus unless it or a parent is hidden or disabled.
    void SetFocus();
    void SetFont(HFONT font);
    HFONT Font() const;
    // The window text (WM_GETTEXT / WM_SETTEXT).
    std::string Text() const;
    virtual void SetText(const std::string& text);

    // Alt plus the letter after "&" in the control's text was pressed (the form found the
    // control). The default takes the focus; buttons click, labels focus their partner.
    virtual void Accelerate();

    // The control object behind a window made by this layer, or nullptr.
    static TControl* FromHandle(HWND wnd);

    // Messages that Windows sends to the parent on behalf of this control (WM_COMMAND,
    // WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, WM_COMPAREITEM, WM_CHARTOITEM,
    // WM_VKEYTOITEM). The parent's window procedure finds the control by its id or handle
    // and calls this; return true when handled, with the message's result in result.
    virtual bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // Creates the child window; the control's id is its child-window identifier.
    HWND CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent, int id, int left,
                     int top, int width, int height);
    void Attach(HWND handle, int id);
    // Called after WM_SETFONT, for controls whose size follows their font.
    virtual void FontChanged() {}

private:
    HWND handle_ = nullptr;  // destroyed with its parent window
    int id_ = 0;
};

// Routes a parent's control messages to the TControl that sent them. Every window that
// hosts controls (the form, a panel, a page) keeps one and calls Dispatch from its window
// procedure before anything else.
class TControlRouter {
public:
    void Add(TControl* control);
    void Remove(TControl* control);
    bool Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    TControl* Find(HWND wnd, int id) const;
    std::vector<TControl*> controls_;  // not owned
};

}  // namespace orv::ui
