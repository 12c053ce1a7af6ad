// Lists a folder's files as archive entries, in archive order, refusing what cannot be packed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvpack {

// A file that cannot go into the archive; the message names the file.
class PackRefusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PackEntry {
    std::string source;  // Linux path of the file
    std::string name;    // archive name, "\\" between folder levels
    double timestamp;    // local modification time, MS-DOS precision
    std::int32_t size;
};

// Every file below `root`. Order: in each folder its files first, then its
// sub-folders, each sorted byte-wise by name; "orv.exe" at the root comes before
// everything else, because the setup expects the product's executable as the
// first record. Throws PackRefusal for any file that the archive cannot hold.
std::vector<PackEntry> CollectEntries(const std::string& root);

}  // namespace orvpack
