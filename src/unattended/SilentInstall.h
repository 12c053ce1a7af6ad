// The unattended install: a second front end beside the wizard. It fills the same setup
// state from the stored settings and the command line and runs the same engine, worker,
// logs and registration steps, with no window, message box or question.
#pragma once

#include "registration/CommandLine.h"

namespace orv {

// Answers to a file that cannot be written: tried again this many times, this far apart
// (a file held for a moment by a virus scanner is the common case), then the install stops
// as if the user had chosen Abort.
constexpr int SilentWriteRetries = 5;
constexpr unsigned SilentRetryDelayMs = 1000;

// Runs the whole silent run of the parsed command line (a bad one, and /?, included) and
// returns its exit code.
int RunSilentInstall(const TCommandLineResult& commandLine);

}  // namespace orv
