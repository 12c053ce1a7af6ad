// The destination text as typed or given with -d, made usable as a folder.
#pragma once

#include <string>

namespace orv {

// The destination text made usable: blanks trimmed, runs of backslashes taken as one (a
// UNC path's leading pair aside), a drive supplied when it has none,
// "Orvanel" appended to a drive root, to a folder ending in "\" and to the program-files
// folder itself. drive is the drive list's letter (none: the program-files drive).
std::string NormalizeDestDir(const std::string& text, char drive, const std::string& programFiles);

}  // namespace orv
