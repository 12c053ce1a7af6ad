// Builds payload archives in memory for the payload tests: records packed and deflated with zlib.
#pragma once

#include "payload/ArchiveRecords.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace orv::test {

struct CraftedRecord {
    std::string Name;
    TDateTime Timestamp;
    std::string Data;
};

// A TDateTime exactly as the archive stores it: whole days plus the time of day in ms.
inline TDateTime EncodeDateTime(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long daysFrom1970 = static_cast<long long>(era) * 146097 + doe - 719468;
    return static_cast<double>(daysFrom1970 + 25569) + (hh * 3600000.0 + mm * 60000.0 + ss * 1000.0) / 86400000.0;
}

// The inflated form: records back to back.
inline std::string PackRecords(const std::vector<CraftedRecord>& records) {
    std::string out;
    for (const CraftedRecord& r : records) {
        out += static_cast<char>(r.Name.size());
        out += r.Name;
        char ts[8];
        std::memcpy(ts, &r.Timestamp, 8);
        out.append(ts, 8);
        const int32_t size = static_cast<int32_t>(r.Data.size());
        char sz[4];
        std::memcpy(sz, &size, 4);
        out.append(sz, 4);
        out += r.Data;
    }
    return out;
}

// One zlib stream at the best compression (it starts with 78 DA, as the packer writes).
inline std::string Deflate(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

inline std::string CraftArchive(const std::vector<CraftedRecord>& records) {
    return Deflate(PackRecords(records));
}

}  // namespace orv::test
