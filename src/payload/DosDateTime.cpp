// Entry timestamps to MS-DOS date and time, and setting a file's last-write time from one.
#include "payload/DosDateTime.h"

#include <cmath>

namespace orv {

namespace {

constexpr int64_t MsPerDay = 86400000;
constexpr int64_t DaysFrom1899To1970 = 25569;  // TDateTime's day 0 is 1899-12-30

struct CivilDate {
    int64_t Year;
    unsigned Month, Day;
};

// The proleptic Gregorian date of a day count from 1970-01-01 (Howard Hinnant's algorithm).
CivilDate CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

}  // namespace

uint32_t PackDosDateTime(TDateTime value) {
    // Anything outside 1980 .. 2099 packs to 0; a value far out of range (or not a number)
    // is refused before it could overflow the millisecond count.
    if (!(value >= 0.0 && value < 100000.0)) return 0;
    const int64_t ms = std::llround(value * static_cast<double>(MsPerDay));
    const CivilDate date = CivilFromDays(ms / MsPerDay - DaysFrom1899To1970);
    if (date.Year < 1980 || date.Year > 2099) return 0;
    const int64_t msOfDay = ms % MsPerDay;
    const unsigned hours = static_cast<unsigned>(msOfDay / 3600000);
    const unsigned minutes = static_cast<unsigned>(msOfDay / 60000 % 60);
    const unsigned seconds = static_cast<unsigned>(msOfDay / 1000 % 60);
    const uint32_t timeWord = seconds / 2 + minutes * 32 + hours * 2048;
    const uint32_t dateWord = date.Day + date.Month * 32 + static_cast<uint32_t>(date.Year - 1980) * 512;
    return dateWord * 65536u + timeWord;
}

DWORD SetFileWriteTime(HANDLE file, uint32_t packed) {
    // 0 means no valid date; some versions would read it as 1980-00-00 rather than fail.
    if (packed == 0) return ERROR_INVALID_PARAMETER;
    FILETIME local, utc;
    if (!::DosDateTimeToFileTime(static_cast<WORD>(packed >> 16), static_cast<WORD>(packed & 0xFFFF), &local))
        return ::GetLastError();
    if (!::LocalFileTimeToFileTime(&local, &utc)) return ::GetLastError();
    if (!::SetFileTime(file, nullptr, nullptr, &utc)) return ::GetLastError();
    return 0;
}

}  // namespace orv
