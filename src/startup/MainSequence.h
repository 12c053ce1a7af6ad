// The main sequence of the setup program, from start-up to shut-down.
#pragma once

namespace orv {

// Runs the whole program and returns the process exit code (0, or 1 after an error that
// nothing caught).
int RunProgram();

// True on Windows 2000 or later (an NT platform with a major version above 4).
bool IsWin2000OrLater();

}  // namespace orv
