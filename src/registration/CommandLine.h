// The setup's command line: its arguments and the "-d" destination.
#pragma once

#include <string>
#include <vector>

namespace orv {

// The arguments of a command line, the program name first. Blanks and control characters
// separate them; double quotes group blanks into one argument and are removed.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);
// True when the first argument begins with "-d" (exactly, in lower case); dest is then the
// rest of it, possibly empty.
bool DestinationArgument(const std::string& commandLine, std::string& dest);

}  // namespace orv
