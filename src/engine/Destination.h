// Taking the destination and checking it before an install: normalisation (its own file),
// the drive and the folder, the space the chosen components need and the space the drive has.
#pragma once

#include "common/PathGrammar.h"
#include "engine/DestDirNormalize.h"
#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// The program-files folder (without trailing backslash), or "c:\" when the shell knows none.
std::string ProgramFilesFolder();
// The bytes free for the user on the destination's drive; false when the drive cannot be
// asked (none named, not there, no medium). Never shows the system's "no disk" box.
bool QueryFreeSpace(const std::string& destination, int64_t& available);

// The space the items take: the sizes of those that are checked or grayed, summed wide (a
// wrapped 32-bit total would turn negative and pass any check).
int64_t RequiredSpace(const std::vector<uint8_t>& states, const std::vector<int32_t>& sizes);
// Each component item's size on the destination's drive, in item order.
std::vector<int32_t> ItemSizes(const TAttachedFiles& files, const TSetupState& state);

// Why a destination cannot take an install.
enum class TDestProblem : uint8_t {
    None,
    NoDrive,      // its drive or share is not there
    NotAFolder,   // it, or a folder on its way, is a file
    CannotCreate  // the folder could not be made
};
// The drive and the path, before anything is written.
TDestProblem CheckDestinationPath(const std::string& destination);
// Tells whether the folder can be made, by making it (with its parents) and removing again
// what was made: the install makes them itself, so that its log lists each one.
TDestProblem ProbeDestinationFolder(const std::string& destination);

}  // namespace orv
