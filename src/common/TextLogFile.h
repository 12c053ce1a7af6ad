// A text file written one line at a time, each line on the disk at once, in the stored-text
// form: ANSI until a line ANSI cannot hold, then the whole file again as UTF-8 after a mark.
#pragma once

#include "common/Owners.h"

#include <string>

namespace orv {

class TTextLogFile {
public:
    // Creates (or empties) the file; false when it cannot be written.
    bool Create(const std::string& path);
    // Appends the line and CR LF; dropped when the file is not open.
    void Line(const std::string& text);

private:
    void Write(const std::string& bytes);

    UniqueFile file_;
    std::string text_;  // everything so far, UTF-8, while the file is still ANSI
    bool utf8_ = false;
};

}  // namespace orv
