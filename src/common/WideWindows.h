// UTF-8 front ends of the W functions for windows, controls, message boxes and drawn text.
#pragma once

#include <windows.h>

#include <string>

namespace orv {

// Text that is not UTF-8 reaches no window: these then fail (or show and measure nothing).
std::string GetWindowTextU(HWND wnd);
BOOL SetWindowTextU(HWND wnd, const std::string& text);
HWND CreateWindowExU(DWORD exStyle, const char* className, const std::string& text, DWORD style, int left, int top,
                     int width, int height, HWND parent, HMENU menu, void* param);
int MessageBoxU(HWND owner, const std::string& text, const std::string& caption, UINT type);

// A message whose lParam is a text (LB_ADDSTRING, CB_ADDSTRING, CB_FINDSTRINGEXACT...).
LRESULT SendTextMessageU(HWND wnd, UINT msg, WPARAM wParam, const std::string& text);
// The text of a list item: lengthMsg/textMsg are LB_GETTEXTLEN/LB_GETTEXT or the CB_ pair.
std::string GetItemTextU(HWND wnd, UINT lengthMsg, UINT textMsg, int index);

// Drawn text; positions and lengths are the system's, over the whole text.
int DrawTextU(HDC dc, const std::string& text, RECT& rect, UINT format);
BOOL TextOutU(HDC dc, int x, int y, const std::string& text);
BOOL GetTextExtentU(HDC dc, const std::string& text, SIZE& size);

}  // namespace orv
