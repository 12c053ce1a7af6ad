// Where the uninstaller's working copy is written: a place no unelevated program of the
// same user can change or predict while the copy is made and started.
#pragma once

#include "common/Owners.h"

#include <string>

namespace orv::uninstall {

struct TWorkingPlace {
    std::string Program;      // the copy's full path, not yet written
    std::string Folder;       // its own folder, or "" when it goes straight into the temp folder
    UniqueFile FolderHandle;  // holds that folder in place (no delete sharing); inheritable
};

// Elevated: a new folder with a random name in the system's temporary folder, that only
// SYSTEM and the administrators may change, held open so it cannot be renamed or replaced.
// Not elevated: a random name in the user's temporary folder, as every program of the user
// has the same rights anyway. Empty Program with a reason in failure when neither works.
TWorkingPlace MakeWorkingPlace(bool elevated, std::string& failure);

}  // namespace orv::uninstall
