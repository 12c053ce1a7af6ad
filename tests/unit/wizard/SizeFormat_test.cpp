// Size texts of the component page: kilobytes, megabytes, the one-decimal range, grouping.
#include "wizard/SizeFormat.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orv {
namespace {

TEST(SizeFormat, GroupDigitsPutsBlanksBetweenGroupsOfThree) {
    struct Case {
        int64_t n;
        const char* text;
    } cases[] = {
        {0, "0"},
        {7, "7"},
        {999, "999"},
        {1000, "1 000"},
        {12345, "12 345"},
        {123456, "123 456"},
        {1234567, "1 234 567"},
        {2147483647, "2 147 483 647"},
        {-1234, "-1 234"},
        {-123, "-123"},
        {INT64_MIN, "-9 223 372 036 854 775 808"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, GroupDigits(c.n)) << c.n;
}

TEST(SizeFormat, KilobytesTruncatedAndMegabytesRoundedHalfToEven) {
    struct Case {
        int64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 KB"},
        {1023, "0 KB"},
        {1024, "1 KB"},
        {1048575, "1 023 KB"},
        {1048576, "1 MB"},
        {1048577, "1 024 KB"},
        {5000000, "4 882 KB"},
        {15728640, "15 MB"},
        {16777214, "16 383 KB"},
        {104857600, "100 MB"},
        {105381888, "100 MB"},  // 100.5 MB: the half goes to the even neighbour
        {106430464, "102 MB"},  // 101.5 MB
        {1073741824, "1 024 MB"},
        {5497558138880LL, "5 242 880 MB"},
        {-2048, "-2 KB"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, FormatSize(c.bytes, ',')) << c.bytes;
}

TEST(SizeFormat, BelowHundredMegabytesShowsOneDecimalWithTheGivenSeparator) {
    struct Case {
        int64_t bytes;
        char separator;
        const char* text;
    } cases[] = {
        {16777215, '.', "16.0 MB"},                                      // the first size shown in megabytes
        {16777216, ',', "16,0 MB"},         {17301504, '.', "16.5 MB"},  // exactly 16.5
        {20971520 + 52428, '.', "20.0 MB"},                              // 20.04999 rounds down
        {20971520 + 52429, '.', "20.1 MB"},                              // 20.05000x rounds up
        {104333311, '.', "99.5 MB"},  // just below 99.5 MB: the last one-decimal text
        {104333312, '.', "100 MB"},   // 99.5 MB itself rounds to the even 100
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, FormatSize(c.bytes, c.separator)) << c.bytes;
}

}  // namespace
}  // namespace orv
