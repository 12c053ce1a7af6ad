// The document-type page, the product's association run, the shortcuts and the final launch.
#pragma once

#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <string>

namespace orv {

// "-assoc orvx" followed by "_rtf", "_cod", "_doc", "_docx" for each checked box in order.
std::string AssociationArgument(const bool checked[4]);

// Entering the association page: box i is checked when its letter ("A" to "D") occurs in
// the stored association letters.
void EnterAssocPage(TSetupState& state);

// Entering the Finish page; does nothing for a portable install. The letters are rebuilt
// from the boxes, the installed product is started (not waited for) with the association
// argument, and the shortcuts are written.
void EnterFinishPage(TSetupState& state);

// Leaving the Finish page: Update.log (unless portable), then the launch when wished.
// An Update.log failure is raised as EUpdateLogError only after the launch, so the wizard
// shows it and still closes: it must set CloseAllowed and its modal result first.
void LeaveFinishPage(TAttachedFiles& files, const TSetupState& state);

}  // namespace orv
