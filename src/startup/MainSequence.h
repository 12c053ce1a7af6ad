// The main sequence of the setup program, from start-up to shut-down.
#pragma once

namespace orv {

// Runs the whole program and returns the process exit code: for the wizard 0, 1 after an
// error that nothing caught, 2 for a bad command line or the usage box; for a silent run the
// codes of the command line's exit-code list.
int RunProgram();

// True on Windows 2000 or later (an NT platform with a major version above 4).
bool IsWin2000OrLater();

}  // namespace orv
