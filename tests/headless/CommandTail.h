// Finding the setup's own arguments in the walker's raw command line.
#pragma once

#include <string>
#include <vector>

namespace orv::walk {

// The text after the first argument that is exactly "--", as it stands in the command line
// (quotes and all), so the setup gets the very text Wine would give it when started directly;
// "" when there is no "--". The program name, the first argument, ends at its closing quote.
std::string TextAfterSeparator(const std::string& commandLine);

// Argument text (no program name) split by the Windows rules: quotes group, backslashes
// escape a quote.
std::vector<std::string> SplitArguments(const std::string& text);

// True when an argument asks for a silent install: "/S" or "/SILENT", in any letter case.
bool AsksForSilentInstall(const std::vector<std::string>& arguments);

}  // namespace orv::walk
