// The window and drawing wrappers: UTF-8 in, the W functions called, UTF-8 out.
#include "common/WideWindows.h"

#include "common/WideApi.h"

namespace orv {

std::string GetWindowTextU(HWND wnd) {
    const int length = ::GetWindowTextLengthW(wnd);
    if (length <= 0) return std::string();
    TWideText text;
    text.resize(static_cast<size_t>(length));
    const int got = ::GetWindowTextW(wnd, text.data(), length + 1);
    return Utf8Of(text.c_str(), got > 0 && got <= length ? static_cast<size_t>(got) : 0);
}

BOOL SetWindowTextU(HWND wnd, const std::string& text) {
    const TWideArg t(text);
    return t.ok() ? ::SetWindowTextW(wnd, t.c_str()) : RefuseText(FALSE);
}

HWND CreateWindowExU(DWORD exStyle, const char* className, const std::string& text, DWORD style, int left, int top,
                     int width, int height, HWND parent, HMENU menu, void* param) {
    const TWideArg c(className), t(text);
    if (!c.ok() || !t.ok()) return RefuseText<HWND>(nullptr);
    return ::CreateWindowExW(exStyle, c.c_str(), t.c_str(), style, left, top, width, height, parent, menu,
                             ::GetModuleHandleW(nullptr), param);
}

int MessageBoxU(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    const TWideArg t(text), c(caption);
    if (!t.ok() || !c.ok()) return RefuseText(0);
    return ::MessageBoxW(owner, t.c_str(), caption.empty() ? nullptr : c.c_str(), type);
}

LRESULT SendTextMessageU(HWND wnd, UINT msg, WPARAM wParam, const std::string& text) {
    const TWideArg t(text);
    if (!t.ok()) return RefuseText<LRESULT>(-1);  // LB_ERR and CB_ERR
    return ::SendMessageW(wnd, msg, wParam, reinterpret_cast<LPARAM>(t.c_str()));
}

std::string GetItemTextU(HWND wnd, UINT lengthMsg, UINT textMsg, int index) {
    const LRESULT length = ::SendMessageW(wnd, lengthMsg, static_cast<WPARAM>(index), 0);
    if (length <= 0) return std::string();
    TWideText text;
    text.resize(static_cast<size_t>(length));
    const LRESULT got = ::SendMessageW(wnd, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return Utf8Of(text.c_str(), got > 0 && got <= length ? static_cast<size_t>(got) : 0);
}

int DrawTextU(HDC dc, const std::string& text, RECT& rect, UINT format) {
    const TWideArg t(text);
    if (!t.ok()) return 0;
    return ::DrawTextW(dc, t.c_str(), static_cast<int>(t.text().size()), &rect, format);
}

BOOL TextOutU(HDC dc, int x, int y, const std::string& text) {
    const TWideArg t(text);
    return t.ok() && ::TextOutW(dc, x, y, t.c_str(), static_cast<int>(t.text().size()));
}

BOOL GetTextExtentU(HDC dc, const std::string& text, SIZE& size) {
    const TWideArg t(text);
    size = SIZE{0, 0};
    return t.ok() && ::GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.text().size()), &size);
}

}  // namespace orv
