// Walks the real setup wizard from Welcome to Finish as a user who keeps every proposal,
// keeping a picture of each page once it has painted; for runs on a machine without a display.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace orv::walk {

// How a walk through the wizard ended.
struct WalkOutcome {
    bool Ended = false;                 // the setup ended by itself
    DWORD ExitCode = STILL_ACTIVE;      // its exit code, when it ended by itself
    std::string Trouble;                // why the walk stopped before Finish ("" when it did not)
    bool CopyStarted = false;           // the Installing page (or a later one) was reached
    DWORD CopyMs = 0;                   // from Next on the Ready page to the end of the Installing page
    std::vector<std::string> Pictures;  // the pictures saved, in page order
};

// Starts the setup with the argument text, walks it to the end and saves the pictures of
// the pages as BMP files in pictureFolder. A setup still running when the walk gives up is
// stopped.
WalkOutcome WalkWizard(const std::string& arguments, const std::string& pictureFolder);

}  // namespace orv::walk
