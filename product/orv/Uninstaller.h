// orv.exe -ui: removes the installed product, asking first unless /S follows.
#pragma once

#include <string>
#include <vector>

namespace orv::uninstall {

// Exit codes of "-ui".
enum : int {
    ucDone = 0,            // everything recorded is gone, the entry with it
    ucNotStarted = 1,      // the working copy could not be made or started
    ucCancelled = 2,       // No at the question, or a portable copy: nothing changed
    ucProductRunning = 3,  // refused while the product runs: nothing changed
    ucItemsLeft = 4,       // finished, some items left (Uninstall.log says which and why)
    // Another setup or uninstall of the product runs: nothing changed. The code deployment
    // tools know as "another installation is already in progress".
    ucAnotherSetupRunning = 1618,
};

// The full path of this program's executable; empty if it does not fit MAX_PATH.
std::string ModulePath();

// args: the arguments after "-ui".
int RunUninstall(const std::vector<std::string>& args);

}  // namespace orv::uninstall
