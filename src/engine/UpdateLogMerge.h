// The new contents of Update.log: the old lines merged with this install's public files.
#pragma once

#include "payload/ArchiveRecords.h"

#include <string>
#include <vector>

namespace orv {

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
