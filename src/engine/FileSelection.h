// The component table's file lists turned into sizes and planned copies.
#pragma once

#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <cstdint>
#include <string>

namespace orv {

// Overwrite modes of a selection request, for a destination that exists as a file.
enum : uint8_t { omKeepExisting = 0, omKeepSameTime = 1, omAlways = 2 };

// While true, a selection's destination is the full file name rather than a folder.
extern bool DestIsFileName;

// Bytes the list's entries take on the destination's drive, each rounded to clusters.
int32_t ComponentSize(const TAttachedFiles& files, const TSetupState& state, const std::string& fileList);
// Plans every entry that the name or folder prefix matches into group g.
void AddFiles(TAttachedFiles& files, const std::string& name, const std::string& destination, int group, uint8_t mode);
void ClearGroup(TAttachedFiles& files, int group);
int32_t TotalSize(const TAttachedFiles& files);
// The file's last-write time in local time at DOS precision; now when it is not found.
TDateTime FileModifiedTime(const std::string& path);

// A local date and time as a TDateTime (days since 1899-12-30, time of day as the fraction).
TDateTime EncodeDateTime(const SYSTEMTIME& t);
TDateTime NowDateTime();

}  // namespace orv
