// One setup or uninstall of the product at a time on the machine: a named mutex that the
// setup holds from its start to its end, and the uninstaller while it removes.
#pragma once

#include "common/Owners.h"

namespace orv {

// "Global\" so that setups in other sessions (a deployment tool's service, another user
// switched in) see it too.
constexpr const char* SingleSetupMutexName = "Global\\Orvanel Word Processor Setup";

class TSingleSetup {
public:
    // Takes the mutex when no other process holds it. A holder that died without letting
    // go leaves it abandoned, which counts as free.
    TSingleSetup();
    ~TSingleSetup();
    TSingleSetup(const TSingleSetup&) = delete;
    TSingleSetup& operator=(const TSingleSetup&) = delete;

    bool Acquired() const { return acquired_; }

private:
    UniqueHandle mutex_;
    bool acquired_ = false;
};

}  // namespace orv
