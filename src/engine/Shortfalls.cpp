// What an install meant to leave behind after its copy and could not, with the reasons.
#include "engine/Shortfalls.h"

#include "common/Owners.h"
#include "common/SystemError.h"

namespace orv {

namespace {

// Shortcuts and logs are written on the user-interface thread, but the install log's
// failure can come from a shut-down path; one lock keeps the list whole either way.
CriticalSection& ShortfallLock() {
    static CriticalSection lock;
    return lock;
}

std::vector<TShortfall>& List() {
    static std::vector<TShortfall> list;
    return list;
}

}  // namespace

void RecordShortfall(const std::string& what, uint32_t errorCode) {
    CriticalSectionLock hold(ShortfallLock());
    List().push_back({what, errorCode});
}

std::vector<TShortfall> Shortfalls() {
    CriticalSectionLock hold(ShortfallLock());
    return List();
}

void ClearShortfalls() {
    CriticalSectionLock hold(ShortfallLock());
    List().clear();
}

std::string ShortfallText(const TShortfall& shortfall) {
    return shortfall.What + ": " + SystemErrorText(shortfall.ErrorCode);
}

}  // namespace orv
