// The product's command line taken apart: plain text in, arguments and switches out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::uninstall {

// The arguments after the program's own (possibly quoted) path. Blanks and tabs separate
// them; an argument that begins with a double quote runs to the next one.
std::vector<std::string> SplitArguments(const char* commandLine);

// The switches that follow "-ui". Names are case-insensitive and begin with "/".
struct TUninstallArgs {
    bool Silent = false;      // "/S": no question, no message
    std::string Folder;       // "/DIR=": the install folder, for the copy in the temporary folder
    uint64_t WaitHandle = 0;  // "/WAIT=": the first process, whose end the copy waits for
    uint64_t ReportPipe = 0;  // "/REPORT=": where the copy reports the exit code
    // The copy that does the work is told all three; the first process none of them.
    bool IsWorkingCopy() const { return !Folder.empty() && WaitHandle != 0 && ReportPipe != 0; }
};
// args: the arguments after "-ui". Unknown switches are passed over.
TUninstallArgs ParseUninstallArgs(const std::vector<std::string>& args);

}  // namespace orv::uninstall
