// The wizard's side of the install: the worker it owns and the progress label's text.
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

// The component label's text: every "&" doubled so that it shows as itself.
std::string EscapeAmpersands(const std::string& text);

}  // namespace orv
