// Starting the product for the signed-in user: with the user's ordinary rights when the
// setup itself runs elevated.
#pragma once

#include "common/Elevation.h"

#include <string>

namespace orv {

enum class TLaunchAs {
    Directly,     // as this process: it is not elevated, or there is no unelevated shell
    AsShellUser,  // with the token of the desktop's shell, the signed-in user's own rights
};

// shellElevated: whether the shell of the desktop runs elevated too (true when there is none
// to ask, as then there is nobody else to start it as).
TLaunchAs DecideLaunch(TTokenState self, bool shellElevated);

// Starts the command line (a quoted program path and its arguments) without waiting, as
// DecideLaunch says; where starting it as the user fails, it is started directly. False
// when it did not start at all (GetLastError says why).
bool LaunchForUser(const std::string& commandLine);

}  // namespace orv
