// Starting an install: the step every front end takes once the choices are final.
#include "engine/InstallStart.h"

#include "engine/FolderLayout.h"
#include "engine/InstallLogFiles.h"
#include "engine/InstallPlan.h"
#include "engine/Shortfalls.h"

namespace orv {

bool InstallStarted = false;

uint8_t ChosenFromItems(const TSetupState& state) {
    uint8_t chosen = 0;
    for (size_t i = state.ItemStates.size(); i-- > 0;) {
        const uint8_t component = i < state.ItemComponents.size() ? state.ItemComponents[i] : 255;
        if (state.ItemStates[i] != csUnchecked && component <= 7) chosen |= static_cast<uint8_t>(1u << component);
    }
    return chosen;
}

void BeginInstall(TAttachedFiles& files, TSetupState& state) {
    FixPortableDecision(state);
    ClearShortfalls();
    StartInstallLog(state);
    InstallStarted = true;
    state.ChosenComponents = ChosenFromItems(state);
    BuildInstallPlan(files, state);
    SaveInstallLogBeforeCopy(state);
}

}  // namespace orv
