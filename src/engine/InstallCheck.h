// What can be known of an install before anything is written: that every path it writes
// fits, that every folder it writes to can be written, and that every drive has the room.
#pragma once

#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace orv {

// The longest file path the system takes (MAX_PATH less the closing NUL).
constexpr size_t MaxFilePathLength = MAX_PATH - 1;

enum class TCheckProblem : uint8_t {
    None,
    PathTooLong,   // Path: a file or folder of the plan; Length: its characters
    NotWritable,   // Path: the folder; ErrorCode: why
    SpaceUnknown,  // Path: a file of the plan on a drive that cannot be asked
    DiskFull       // Path: the drive; Needed and Available in bytes
};

struct TInstallCheck {
    TCheckProblem Problem = TCheckProblem::None;
    std::string Path;
    size_t Length = 0;
    uint32_t ErrorCode = 0;
    int64_t Needed = 0;
    int64_t Available = 0;
};

// The checks over the plan of the state's checked items: the lengths, then the folders (a
// read-only drive reports no free space, which would hide why), then the space only when
// asked (the component page shows the destination's, and the user may still choose less
// there). Writes nothing but a probe file that is gone when it returns.
TInstallCheck CheckBeforeWriting(TAttachedFiles& files, const TSetupState& state, bool withSpace = true);

// The system's code of a file created and deleted in the folder (or, when it is not made
// yet, its nearest existing parent, where the install would make it); 0 when it could be.
uint32_t ProbeWritable(const std::string& folder);

// Whether a refusal of the system is one that administrator rights would lift: access was
// denied and this process does not already run with them.
bool NeedsAdministrator(uint32_t errorCode, bool elevated);
// Whether this process runs with administrator rights (an elevated or a full token).
bool RunsElevated();

// The problem in one or two sentences for the user and the progress log.
std::string InstallCheckText(const TInstallCheck& check, bool elevated);

}  // namespace orv
