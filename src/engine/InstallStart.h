// Starting an install: the step every front end takes once the choices are final.
#pragma once

#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <cstdint>

namespace orv {

// Set when an install has started; the settings and the install log are then saved at the
// end, whatever became of the copy. Nothing clears it.
extern bool InstallStarted;

// The components of the items that are checked or grayed: bit i = component i.
uint8_t ChosenFromItems(const TSetupState& state);

// The install log list (and the earlier Install.log), the started mark, the chosen
// components, the plan with its few writes of its own, and Install.log written once before
// the copy. The worker comes next.
void BeginInstall(TAttachedFiles& files, TSetupState& state);

}  // namespace orv
