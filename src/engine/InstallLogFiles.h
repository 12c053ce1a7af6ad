// Install.log in the destination folder and Update.log in the shared data folder.
#pragma once

#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <string>
#include <vector>

namespace orv {

// Makes the install log list and, unless the install is portable, decides InstallLogPath
// and loads the earlier Install.log into the list (read errors leave it empty).
void StartInstallLog(const TSetupState& state);
// Writes the list to InstallLogPath, unless the install is portable (asked again now) or
// no path was decided. Write errors are passed over.
void SaveInstallLog(const TSetupState& state);

// Merges this install's public files into Update.log under its stamp line. Nothing is
// read or written when no public file was planned. Raises EUpdateLogError when the file
// cannot be read or written.
void WriteUpdateLog(TAttachedFiles& files, const TSetupState& state);

// "*" and the stamp's 8 bytes in memory order, each as two upper-case hex digits.
std::string UpdateLogStampLine(TDateTime stamp);
// Sorts with the locale comparison of string lists (ignoring case, string sort).
void SortLogLines(std::vector<std::string>& lines);
// The new contents of Update.log: the old lines cleaned of empty lines, of lines equal to
// a public file, of stamp lines left without files; then the stamp line and the files.
// publicFiles must be sorted with SortLogLines.
std::vector<std::string> MergeUpdateLog(std::vector<std::string> oldLines, const std::vector<std::string>& publicFiles,
                                        const std::string& stampLine);

}  // namespace orv
