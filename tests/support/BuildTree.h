// Where the test programs find the build's outputs (the setup executable, the archive).
#pragma once

#include <string>

namespace orv::test {

// A path inside the build tree, given relative to its top with "/" separators, as a
// Windows path (the build tree is reached through Wine's Z: drive).
std::string BuildTreePath(const std::string& relative);

// The same for a path inside the source tree (ORV_SOURCE_DIR, also set by ctest).
std::string SourceTreePath(const std::string& relative);

// The setup executable and the packed archive it embeds.
std::string SetupExePath();
std::string PayloadArchivePath();

}  // namespace orv::test
