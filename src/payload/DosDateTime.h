// Entry timestamps to MS-DOS date and time, and setting a file's last-write time from one.
#pragma once

#include "payload/AttachFiles.h"

#include <windows.h>

#include <cstdint>

namespace orv {

// The date word in the high half (day, month, year - 1980), the time word in the low half
// (seconds / 2, minutes, hours). Milliseconds are dropped and an odd second becomes the
// even second below. 0 (no valid date) for a year before 1980 or after 2099.
uint32_t PackDosDateTime(TDateTime value);

// Gives the file the packed local time as its last-write time (creation and last-access
// times are left alone). 0 on success, otherwise the failing call's GetLastError; the
// packed value 0 fails at the first call, so the file keeps the time it was written.
DWORD SetFileWriteTime(HANDLE file, uint32_t packed);

}  // namespace orv
