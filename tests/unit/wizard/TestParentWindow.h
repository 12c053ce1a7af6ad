// A plain top-level window for widget tests: it routes its children's messages to them.
#pragma once

#include "common/Owners.h"
#include "ui/Control.h"

#include <windows.h>

namespace orv::test {

class TestParentWindow {
public:
    TestParentWindow() {
        static const ATOM atom = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = Proc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
            wc.lpszClassName = "OrvWidgetTestParent";
            return ::RegisterClassA(&wc);
        }();
        (void)atom;
        wnd_.reset(::CreateWindowExA(0, "OrvWidgetTestParent", "widget test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                     420, 320, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
        ::SetWindowLongPtrA(wnd_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~TestParentWindow() { ::SetWindowLongPtrA(wnd_.get(), GWLP_USERDATA, 0); }
    TestParentWindow(const TestParentWindow&) = delete;
    TestParentWindow& operator=(const TestParentWindow&) = delete;

    HWND Handle() const { return wnd_.get(); }
    ui::TControlRouter& Router() { return router_; }

    // Handles every queued message (paints included).
    static void Pump() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TestParentWindow*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
        LRESULT result = 0;
        if (self && self->router_.Dispatch(msg, wParam, lParam, result)) return result;
        return ::DefWindowProcA(wnd, msg, wParam, lParam);
    }

    UniqueHwnd wnd_;
    ui::TControlRouter router_;
};

}  // namespace orv::test
