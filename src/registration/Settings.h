// The user's choices remembered between runs, the "-d" argument and the uninstall entry.
#pragma once

#include "engine/SetupState.h"
#include "common/WideApi.h"
#include "registration/CommandLine.h"

#include <windows.h>

#include <string>
#include <vector>

namespace orv {

constexpr const char* SettingsKey = "Software\\Orvanel Word Processor\\Install";
constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanel Word Processor";

// Reads the stored choices (or their defaults) into the state, sets up the component items
// and lets a "-d" first argument override the destination. Creates both keys if missing.
void LoadSettings(TSetupState& state, const std::string& commandLine = GetCommandLineU());
// Lets the switches of the command line override what LoadSettings read: the destination,
// the components (bits 1 to 5), the install-for-all choice, the association letters and,
// in a silent run, the final launch (which a silent run makes only when asked to).
void ApplyCommandLine(TSetupState& state, const TCommandLine& switches);
// Stores the choices as the wizard left them (bits 0 to 5 of Comps from the items' check
// states) and, unless the install is portable, the uninstall entry.
void SaveSettings(TSetupState& state);
// After a started install, finished or not: the settings and, unless portable, the install
// log. The worker must have ended, so neither overlaps its last file.
void SaveAfterInstall(TSetupState& state);

}  // namespace orv
