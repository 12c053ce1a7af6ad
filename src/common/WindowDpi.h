// The scale a window is shown at and the scale-aware forms of a few system calls, bound by
// name so that the program still starts on systems that predate them.
#pragma once

#include "common/Owners.h"

#include <windows.h>

namespace orv {

// The window's dots per inch (GetDpiForWindow), or the screen's (LOGPIXELSY) on systems
// without per-window scales.
int WindowDpi(HWND wnd);
// The scale the system's own metrics and fonts are given for (GetDpiForSystem, or LOGPIXELSY).
int SystemDpi();

// The outer size of a window with this client rectangle, frame and caption measured at the
// scale (AdjustWindowRectExForDpi where the system has it).
RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi);

// Turns off the dialog manager's own rescaling of the dialog (per-monitor v2) where the
// system has it: our layout follows a change of scale, and the two would stretch it twice.
void KeepDialogManagerScalingOff(HWND wnd);

// A system icon (IDI_*) drawn for size x size pixels: the standard icon at 32, otherwise
// scaled down from the system's larger artwork (LoadIconWithScaleDown) when it exists.
// The owner is empty when the shared standard icon serves; use Icon then.
struct TSystemIcon {
    HICON Icon = nullptr;
    UniqueHIcon Owned;
};
TSystemIcon LoadSystemIcon(LPCSTR id, int size);

}  // namespace orv
