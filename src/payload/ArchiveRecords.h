// The records of the inflated archive: listing them, each checked against the block.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// Days since 1899-12-30 00:00 local time, the time of day as the fraction.
using TDateTime = double;

// One payload entry: a record of the archive. Only the catalogue makes them.
struct TAttachedFile {
    std::string Name;
    int32_t Size = 0;
    TDateTime Timestamp = 0;
    int32_t DataOffset = 0;
};

// Why the name cannot be joined to a folder without reaching outside it (a drive, a
// stream or a root, a "." or ".." level, a device name, a character Windows does not allow
// in names), or "" when it can. An empty name stays the folder itself.
std::string ArchiveNameProblem(const std::string& name);

// The records of an inflated archive in order: a name length byte, the name, an 8-byte
// timestamp, a 4-byte size, the data. Raises EArchiveFormat for a record that runs past
// the block's end and for a name that would lead outside the destination.
std::vector<TAttachedFile> ListArchiveRecords(const uint8_t* data, int32_t size);

}  // namespace orv
