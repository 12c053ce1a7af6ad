// The plain-text progress log of a silent install.
#include "unattended/ProgressLog.h"

namespace orv {

bool TProgressLog::Open(const std::string& fileName) {
    return file_.Create(fileName);
}

void TProgressLog::Line(const std::string& text) {
    CriticalSectionLock hold(lock_);
    file_.Line(text);
}

}  // namespace orv
