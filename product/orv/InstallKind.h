// Which install an uninstaller belongs to, and whether it must ask for elevation first.
#pragma once

#include "common/Elevation.h"

#include <string>

namespace orv::uninstall {

enum class TInstallKind {
    Registered,  // the folder the machine's uninstall entry names
    Portable,    // on a removable or external drive: nothing machine-wide to take back
    Stray,       // a copy elsewhere (a backup, a copied folder): the shared data, shortcuts
                 // and settings belong to the registered install, so it removes nothing
};

// folder: the uninstaller's own folder; registeredLocation: the uninstall entry's
// InstallLocation ("" without an entry); both compared as full paths, letter case ignored.
TInstallKind ClassifyInstall(const std::string& folder, const std::string& registeredLocation, bool externalDrive);

// The uninstall entry's InstallLocation in its long form, "" when there is none.
std::string RegisteredLocation();

// A registered install lives in the program folders, the machine's data folder and the
// machine's uninstall entry: an unelevated uninstaller asks for elevation before it starts.
bool NeedsElevation(TInstallKind kind, TTokenState token);

// Starts program elevated ("runas": the consent or credentials prompt) with the arguments,
// waits for it and returns its exit code; -1 when it could not start (the prompt declined
// sets ERROR_CANCELLED).
int RunElevatedAndWait(const std::string& program, const std::string& arguments);

}  // namespace orv::uninstall
