// Packing entry times into the MS-DOS form, and the range it can hold.
#include "payload/DosDateTime.h"
#include "unit/payload/CraftedArchive.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using orv::test::EncodeDateTime;

uint32_t Packed(int y, int m, int d, int hh, int mm, int ss) {
    const uint32_t date = static_cast<uint32_t>((y - 1980) * 512 + m * 32 + d);
    return (date << 16) | static_cast<uint32_t>(hh * 2048 + mm * 32 + ss / 2);
}

TEST(DosDateTime, PacksDateAndTimeWords) {
    struct Case {
        TDateTime value;
        uint32_t packed;
    } cases[] = {
        {EncodeDateTime(2017, 5, 29, 2, 9, 14), Packed(2017, 5, 29, 2, 9, 14)},
        {EncodeDateTime(2017, 5, 29, 2, 9, 15), Packed(2017, 5, 29, 2, 9, 14)},  // odd second: the even one below
        {EncodeDateTime(1980, 1, 1), Packed(1980, 1, 1, 0, 0, 0)},
        {EncodeDateTime(2099, 12, 31, 23, 59, 58), Packed(2099, 12, 31, 23, 59, 58)},
        {EncodeDateTime(2000, 2, 29, 12, 0, 0), Packed(2000, 2, 29, 12, 0, 0)},
        {EncodeDateTime(2017, 5, 29, 2, 9, 14) + 999.0 / 86400000.0, Packed(2017, 5, 29, 2, 9, 14)},  // ms dropped
        // 23:59:59.9996 rounds to the next day's midnight
        {EncodeDateTime(2017, 5, 29, 23, 59, 59) + 999.6 / 86400000.0, Packed(2017, 5, 30, 0, 0, 0)},
        {EncodeDateTime(1979, 12, 31, 23, 59, 58), 0},
        {EncodeDateTime(2100, 1, 1), 0},
        {EncodeDateTime(1899, 12, 30), 0},
        {-1.5, 0},
        {1e300, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.packed, PackDosDateTime(c.value)) << c.value;
}

}  // namespace
}  // namespace orv
