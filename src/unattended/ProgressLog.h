// The plain-text progress log of a silent install (/LOG=): a GUI program has no console, so
// this file is how a script sees what happened.
#pragma once

#include "common/Owners.h"
#include "common/TextLogFile.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace orv {

class TProgressLog {
public:
    TProgressLog() = default;
    TProgressLog(const TProgressLog&) = delete;
    TProgressLog& operator=(const TProgressLog&) = delete;

    // Creates (or empties) the file; false when it cannot be written. Without a call to
    // Open every Line is dropped.
    bool Open(const std::string& fileName);
    // Appends one line and passes it to the disk at once, so that a script that watches the
    // file sees the install go on. Callable from any thread. (See TTextLogFile for the form.)
    void Line(const std::string& text);

private:
    TTextLogFile file_;
    CriticalSection lock_;
};

}  // namespace orv
