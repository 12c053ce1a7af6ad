// Watching the uninstaller: its message boxes and its working copies.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orv::e2e {

constexpr const char* UninstallCaption = "Orvanel Word Processor Uninstall";

// The working copies of the uninstaller still on disk: in the user's temporary folder
// (an unelevated uninstall) or in a folder of their own in the system's (an elevated one).
std::vector<std::string> WorkingCopies();

// A message box of the uninstaller, whichever of its processes shows it.
HWND WaitForUninstallBox(DWORD timeoutMs = 30000);

}  // namespace orv::e2e
