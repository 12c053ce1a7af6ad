// The install plan: which entries are copied where, plus the plan's own few file writes.
#pragma once

#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// Fills the catalogue's six install groups for the state's destination and chosen
// components; deletes the old version's two files, writes Orvanel.ini and install_stamp.
void BuildInstallPlan(TAttachedFiles& files, TSetupState& state);

struct TPlannedWrite {
    std::string Path;
    int64_t Size;  // bytes (the few small files the install writes itself count as 0 to 8)
};
// Every file an install of the state's choices (its checked items) would write, worked out
// without writing, making or logging anything: the copies, the logs, the stamp and the
// settings file. The catalogue's plan is left as it was.
std::vector<TPlannedWrite> PlannedWrites(TAttachedFiles& files, const TSetupState& state);

}  // namespace orv
