// Looks for a running copy of the installed product by its window property.
#include "common/ProductInterface.h"

#include <windows.h>

namespace orv {

namespace {

BOOL CALLBACK CheckWindow(HWND wnd, LPARAM found) {
    if (::GetPropA(wnd, RunningMarkProperty) != nullptr) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;  // the first one settles it
    }
    return TRUE;
}

}  // namespace

bool IsProductRunning() {
    bool found = false;
    ::EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace orv
