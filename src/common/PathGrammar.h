// The drive part and root of a path, one set of rules for the setup and the uninstaller.
// Plain C++ over bytes: in UTF-8 no byte of a character beyond ASCII is a "\" or a ":".
#pragma once

#include <cstddef>
#include <string>

namespace orv {

// The length of the drive part: 2 for "X:..." (whatever X is), the length of
// "\\server\share" when both the server and the share are named, else 0.
size_t DrivePartLength(const std::string& path);
inline std::string DrivePart(const std::string& path) {
    return path.substr(0, DrivePartLength(path));
}
inline bool HasDrivePart(const std::string& path) {
    return DrivePartLength(path) != 0;
}
// "X:" with X an ASCII letter: drive letters are ASCII everywhere.
bool HasDriveLetter(const std::string& path);
// Where free space is asked: "X:" of a drive path, "\\server\share\" of a share; "" when
// the path has no drive part.
std::string FreeSpaceRoot(const std::string& path);
// The length of a full root with its backslash ("X:\" with a letter, "\\server\share\"),
// 0 when the path does not start with one.
size_t RootLength(const std::string& path);

}  // namespace orv
