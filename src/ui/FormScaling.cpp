// The form's size at its screen's scale, and its answer to a move onto a screen of another scale.
#include "common/DpiScaling.h"
#include "common/WindowDpi.h"
#include "ui/Form.h"

namespace orv::ui {

// The client area is the 96-dpi size scaled; the frame is measured at the scale the system
// draws it at, the window's own. Without a proposed place the window is centred on the
// screen, as when it was made.
void TForm::FitClientToDpi(const RECT* proposed) {
    const RECT client = {0, 0, ScaleForDpi(clientWidth_, dpi_), ScaleForDpi(clientHeight_, dpi_)};
    const RECT outer =
        WindowRectForClient(client, static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_STYLE)),
                            static_cast<DWORD>(::GetWindowLongA(Handle(), GWL_EXSTYLE)), WindowDpi(Handle()));
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (proposed) {
        left = proposed->left;
        top = proposed->top;
    }
    ::SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::DpiChanged(int dpi, const RECT& proposed) {
    if (dpi <= 0) return;
    dpi_ = dpi;
    FitClientToDpi(&proposed);
    OnDpiChanged(dpi);
}

}  // namespace orv::ui
