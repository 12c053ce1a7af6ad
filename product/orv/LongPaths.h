// Paths in their long form, for comparing what the logs recorded with where the program is:
// an install given an 8.3 folder records it so, while the program finds itself by long names.
#pragma once

#include <string>

namespace orv::uninstall {

// The path with every part that exists turned to its long name; the parts below the last
// one that exists are kept as they are. A path that is not plain, or would not be plain
// afterwards, is returned unchanged: the uninstall refuses it either way.
std::string LongForm(const std::string& path);

}  // namespace orv::uninstall
