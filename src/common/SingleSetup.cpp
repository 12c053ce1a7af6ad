// One setup or uninstall of the product at a time on the machine.
#include "common/SingleSetup.h"

#include <windows.h>

namespace orv {

TSingleSetup::TSingleSetup() {
    mutex_.reset(::CreateMutexA(nullptr, FALSE, SingleSetupMutexName));
    if (!mutex_) {
        // An elevated setup's mutex refuses a standard user's full access: it is there, so
        // a setup runs. Any other failure tells nothing, and the run goes on as it would
        // without the mutex.
        acquired_ = ::GetLastError() != ERROR_ACCESS_DENIED;
        return;
    }
    const DWORD wait = ::WaitForSingleObject(mutex_.get(), 0);
    acquired_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (!acquired_) mutex_.reset();
}

TSingleSetup::~TSingleSetup() {
    if (acquired_ && mutex_) ::ReleaseMutex(mutex_.get());
}

}  // namespace orv
