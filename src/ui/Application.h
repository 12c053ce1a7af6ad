// The application object: the hidden application window with the program's title and
// icon, the common-controls start-up, and the box that shows an error in flight.
#pragma once

#include <windows.h>

#include <string>

namespace orv::ui {

// Registers the common controls the layer uses and makes the hidden application window.
// Safe to call more than once.
void InitApplication();
HWND ApplicationWindow();

// The application's icon: forms without their own take it; WM_SETICON (ICON_BIG) is sent
// to the application window.
void SetApplicationIcon(HICON icon);
HICON ApplicationIcon();
// The application's title, also the text of the application window.
void SetApplicationTitle(const std::string& title);
std::string ApplicationTitle();

// Inside a catch block: the type name the error box shows for the exception in flight
// ("EOutOfMemory" for memory exhaustion, "Exception" when nothing better is known), or ""
// for the silent kind, which is dropped without a box.
std::string CurrentExceptionTypeName();
// The error box: no owner, no caption, "Exception %s", MB_ICONERROR | MB_TASKMODAL.
void ShowExceptionBox(const std::string& typeName);
// Inside a catch block of a window message handler: shows the error (unless silent) and
// lets the program go on.
void HandleCurrentException();

}  // namespace orv::ui
