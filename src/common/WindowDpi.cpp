// The window's scale and the scale-aware system calls, each with a fallback for systems
// that do not export it.
#include "common/WindowDpi.h"

#include "common/DpiScaling.h"
#include "common/SystemLibrary.h"

namespace orv {

namespace {

int ScreenDpi() {
    WindowDC dc(nullptr);
    const int dpi = dc.get() ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : DefaultDpi;
}

}  // namespace

int WindowDpi(HWND wnd) {
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn getDpiForWindow = SystemFunction<Fn>("user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpiForWindow && wnd ? getDpiForWindow(wnd) : 0;
    return dpi ? static_cast<int>(dpi) : ScreenDpi();
}

int SystemDpi() {
    using Fn = UINT(WINAPI*)();
    static const Fn getDpiForSystem = SystemFunction<Fn>("user32.dll", "GetDpiForSystem");
    const UINT dpi = getDpiForSystem ? getDpiForSystem() : 0;
    return dpi ? static_cast<int>(dpi) : ScreenDpi();
}

RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const Fn adjustForDpi = SystemFunction<Fn>("user32.dll", "AdjustWindowRectExForDpi");
    RECT rc = client;
    if (!adjustForDpi || !adjustForDpi(&rc, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        rc = client;
        ::AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    }
    return rc;
}

void KeepDialogManagerScalingOff(HWND wnd) {
    using Fn = BOOL(WINAPI*)(HWND, int, int);
    static const Fn set = SystemFunction<Fn>("user32.dll", "SetDialogDpiChangeBehavior");
    const int disableAll = 1;  // DDC_DISABLE_ALL
    if (set) set(wnd, disableAll, disableAll);
}

TSystemIcon LoadSystemIcon(LPCSTR id, int size) {
    TSystemIcon icon;
    if (size != 32) {
        using Fn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
        static const Fn loadScaled = SystemFunction<Fn>("comctl32.dll", "LoadIconWithScaleDown");
        HICON scaled = nullptr;
        if (loadScaled && SUCCEEDED(loadScaled(nullptr, reinterpret_cast<PCWSTR>(id), size, size, &scaled)) && scaled) {
            icon.Owned.reset(scaled);
            icon.Icon = scaled;
            return icon;
        }
    }
    icon.Icon = ::LoadIconA(nullptr, id);
    return icon;
}

}  // namespace orv
