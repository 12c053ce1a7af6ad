// The install plan: which entries are copied where, plus the plan's own few file writes.
#pragma once

#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

namespace orv {

// Fills the catalogue's six install groups for the state's destination and chosen
// components; deletes the old version's two files, writes Orvanel.ini and install_stamp.
void BuildInstallPlan(TAttachedFiles& files, TSetupState& state);

}  // namespace orv
