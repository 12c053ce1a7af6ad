// The base control: creation of the child window, common properties, message routing.
#include "ui/Control.h"

#include "common/WideWindows.h"

#include <algorithm>

namespace orv::ui {

namespace {
// The window property that leads from a window back to its control object.
constexpr const char* ControlProperty = "OrvControl";
}  // namespace

TControl::~TControl() {
    if (handle_ && ::IsWindow(handle_)) ::RemovePropA(handle_, ControlProperty);
}

void TControl::Attach(HWND handle, int id) {
    handle_ = handle;
    id_ = id;
    if (handle_) ::SetPropA(handle_, ControlProperty, this);
}

TControl* TControl::FromHandle(HWND wnd) {
    return wnd ? static_cast<TControl*>(::GetPropA(wnd, ControlProperty)) : nullptr;
}

HWND TControl::CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent, int id,
                           int left, int top, int width, int height) {
    HWND wnd = CreateWindowExU(exStyle, className, text ? text : "", style | WS_CHILD, left, top, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr);
    Attach(wnd, id);
    return wnd;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    ::MoveWindow(handle_, left, top, width, height, TRUE);
}

void TControl::ScaleTo(int left, int top, int width, int height, int) {
    SetBounds(left, top, width, height);
}

void TControl::SetVisible(bool visible) {
    ::ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

bool TControl::Visible() const {
    return (::GetWindowLongA(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetEnabled(bool enabled) {
    ::EnableWindow(handle_, enabled ? TRUE : FALSE);
}

bool TControl::Enabled() const {
    return ::IsWindowEnabled(handle_) != FALSE;
}

void TControl::SetFocus() {
    if (!handle_ || ::GetFocus() == handle_) return;
    for (HWND w = handle_; w; w = ::GetParent(w)) {
        if (!::IsWindowVisible(w) || !::IsWindowEnabled(w)) return;
        if (!(::GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) break;
    }
    ::SetFocus(handle_);
}

void TControl::SetFont(HFONT font) {
    ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    FontChanged();
}

HFONT TControl::Font() const {
    return reinterpret_cast<HFONT>(::SendMessageA(handle_, WM_GETFONT, 0, 0));
}

std::string TControl::Text() const {
    return GetWindowTextU(handle_);
}

void TControl::SetText(const std::string& text) {
    SetWindowTextU(handle_, text);
}

void TControl::Accelerate() {
    SetFocus();
}

bool TControl::HandleParentMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void TControlRouter::Add(TControl* control) {
    controls_.push_back(control);
}

void TControlRouter::Remove(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

TControl* TControlRouter::Find(HWND wnd, int id) const {
    for (TControl* c : controls_)
        if ((wnd && c->Handle() == wnd) || (!wnd && c->Id() == id)) return c;
    return nullptr;
}

bool TControlRouter::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    TControl* target = nullptr;
    switch (msg) {
    case WM_COMMAND:
        target = Find(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        break;
    case WM_NOTIFY:
        target = Find(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom, 0);
        break;
    case WM_DRAWITEM:
        target = Find(nullptr, static_cast<int>(wParam));
        break;
    case WM_MEASUREITEM:
        target = Find(nullptr, static_cast<int>(wParam));
        break;
    case WM_COMPAREITEM:
        target = Find(nullptr, static_cast<int>(wParam));
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        target = Find(reinterpret_cast<HWND>(lParam), 0);
        break;
    default:
        return false;
    }
    return target && target->HandleParentMessage(msg, wParam, lParam, result);
}

}  // namespace orv::ui
