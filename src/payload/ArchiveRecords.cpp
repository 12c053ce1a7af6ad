// The records of the inflated archive: listing them, each checked against the block.
#include "payload/ArchiveRecords.h"

#include "common/Errors.h"
#include "common/PathText.h"

#include <cstring>

namespace orv {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Windows drops trailing dots and blanks from a level, so ". ." and "..." can mean "..".
bool IsDotLevel(const std::string& name, size_t start, size_t end) {
    if (start == end) return false;
    for (size_t i = start; i < end; ++i)
        if (name[i] != '.' && name[i] != ' ') return false;
    return true;
}

// CON, PRN, AUX, NUL, COMn and LPTn open a device in any folder, with any extension.
bool IsDeviceLevel(const std::string& name, size_t start, size_t end) {
    size_t stop = name.find('.', start);
    if (stop == std::string::npos || stop > end) stop = end;
    while (stop > start && name[stop - 1] == ' ') --stop;
    std::string base = name.substr(start, stop - start);
    for (char& c : base) c = AsciiUpper(c);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

}  // namespace

std::string ArchiveNameProblem(const std::string& name) {
    if (!name.empty() && IsSeparator(name[0])) return "begins at a root";
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size()) {
            const unsigned char c = static_cast<unsigned char>(name[i]);
            if (c < 32 || std::strchr("<>:\"|?*", c) != nullptr) return "has a character Windows does not allow";
            if (!IsSeparator(name[i])) continue;
        }
        if (IsDotLevel(name, start, i)) return "has a \".\" or \"..\" level";
        if (IsDeviceLevel(name, start, i)) return "names a device";
        start = i + 1;
    }
    return std::string();
}

// Every record is checked against the block, so a damaged archive is reported instead of
// being read past its end.
std::vector<TAttachedFile> ListArchiveRecords(const uint8_t* d, int32_t size) {
    std::vector<TAttachedFile> records;
    const int64_t total = size;
    int64_t o = 0;
    while (o < total) {
        TAttachedFile entry;
        const int64_t n = d[o];
        if (o + 1 + n + 12 > total) throw EArchiveFormat("A record header runs past the end of the archive.");
        entry.Name.assign(reinterpret_cast<const char*>(d + o + 1), static_cast<size_t>(n));
        o += 1 + n;
        std::memcpy(&entry.Timestamp, d + o, 8);
        o += 8;
        std::memcpy(&entry.Size, d + o, 4);
        o += 4;
        if (entry.Size < 0 || o + entry.Size > total)
            throw EArchiveFormat("The record \"" + entry.Name + "\" runs past the end of the archive.");
        const std::string problem = ArchiveNameProblem(entry.Name);
        if (!problem.empty()) throw EArchiveFormat("The record name \"" + entry.Name + "\" " + problem + ".");
        entry.DataOffset = static_cast<int32_t>(o);
        o += entry.Size;
        records.push_back(std::move(entry));
    }
    return records;
}

}  // namespace orv
