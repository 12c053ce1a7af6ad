// Drive parts and roots of paths: the one grammar every caller shares.
#include "common/PathGrammar.h"

namespace orv {

size_t DrivePartLength(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return 2;
    if (path.compare(0, 2, "\\\\") != 0) return 0;
    const size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string::npos || serverEnd == 2) return 0;  // no share, or no server
    const size_t shareEnd = path.find('\\', serverEnd + 1);
    if (shareEnd == serverEnd + 1 || serverEnd + 1 == path.size()) return 0;  // empty share
    return shareEnd == std::string::npos ? path.size() : shareEnd;
}

bool HasDriveLetter(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return false;
    const char c = path[0];
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string FreeSpaceRoot(const std::string& path) {
    const size_t length = DrivePartLength(path);
    if (length == 0) return std::string();
    return path[1] == ':' ? path.substr(0, 2) : path.substr(0, length) + "\\";
}

size_t RootLength(const std::string& path) {
    if (HasDriveLetter(path)) return path.size() >= 3 && path[2] == '\\' ? 3 : 0;
    const size_t length = path.compare(0, 2, "\\\\") == 0 ? DrivePartLength(path) : 0;
    return length != 0 && length < path.size() ? length + 1 : 0;
}

}  // namespace orv
