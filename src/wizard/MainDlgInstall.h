// The wizard's side of the install and of what follows it: the worker it owns, and the
// system actions of the association and Finish transitions.
#pragma once

#include "engine/SetupState.h"
#include "payload/AttachFiles.h"

#include <memory>

namespace orv {

// The running copy. Destroying it waits for the worker to end, so shut-down never
// overlaps the file in hand.
class TInstallWorker {
public:
    explicit TInstallWorker(TAttachedFiles& files);
    ~TInstallWorker();
    TInstallWorker(const TInstallWorker&) = delete;
    TInstallWorker& operator=(const TInstallWorker&) = delete;
    // Waits for the worker's end (a stop must have been requested or the copy done).
    void WaitFor();

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

// The Finish transition: the product's association run and the shortcuts (non-portable).
void RunAssociationsAndShortcuts(TSetupState& state);
// The Finish button: the update log (non-portable), then the launch when wished.
void FinishInstall(TAttachedFiles& files, TSetupState& state);
// The component label's text: every "&" doubled so that it shows as itself.
std::string EscapeAmpersands(const std::string& text);

}  // namespace orv
