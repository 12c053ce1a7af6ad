// Install.log in the destination folder and Update.log in the shared data folder.
#pragma once

#include "engine/SetupState.h"
#include "engine/UpdateLogMerge.h"
#include "payload/AttachFiles.h"

#include <string>
#include <vector>

namespace orv {

// The install log's name in the destination folder, the update log's in the shared data folder.
constexpr const char* InstallLogName = "Install.log";
constexpr const char* UpdateLogName = "Update.log";

// Makes the install log list and, unless the install is portable, decides InstallLogPath
// and loads the earlier Install.log into the list (read errors leave it empty).
void StartInstallLog(const TSetupState& state);
// Writes the list to InstallLogPath, unless the install is portable (asked again now) or
// no path was decided. Write errors are passed over.
void SaveInstallLog(const TSetupState& state);
// Between the plan and the copy: makes the destination folder (logging it as the copy
// would) and writes the list so far. A run cut off during the copy then leaves every folder
// it made on record for the next run, which rewrites every file but makes no folder again.
void SaveInstallLogBeforeCopy(const TSetupState& state);

// Merges this install's public files into Update.log under its stamp line. Nothing is
// read or written when no public file was planned. Raises EUpdateLogError when the file
// cannot be read or written.
void WriteUpdateLog(TAttachedFiles& files, const TSetupState& state);

}  // namespace orv
