// Byte counts as the short texts the component page shows.
#include "wizard/SizeFormat.h"

namespace orv {

namespace {

constexpr int64_t Megabyte = 1048576;
// From this size on the text is in megabytes; below it only exact megabytes are.
constexpr int64_t MegabyteTextFrom = 0xFFFFFF;

// n / d rounded to the nearest whole number, a half to the even neighbour (d > 0).
int64_t DivRoundHalfEven(int64_t n, int64_t d) {
    int64_t q = n / d;
    int64_t r = n % d;
    if (r < 0) {  // make the remainder non-negative so one rule serves both signs
        r += d;
        --q;
    }
    if (2 * r > d || (2 * r == d && (q & 1) != 0)) ++q;
    return q;
}

}  // namespace

std::string GroupDigits(int64_t n) {
    // The magnitude as unsigned, so that the most negative value has one too.
    const uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    const std::string digits = std::to_string(magnitude);
    std::string grouped;
    for (std::string::size_type i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
        grouped += digits[i];
    }
    return n < 0 ? "-" + grouped : grouped;
}

std::string FormatSize(int64_t bytes, char decimalSeparator) {
    const int64_t mb = DivRoundHalfEven(bytes, Megabyte);
    if (bytes >= MegabyteTextFrom) {
        if (mb >= 100) return GroupDigits(mb) + " MB";
        // Below 100 MB a whole number would hide up to half a megabyte; one decimal,
        // rounded the same way, keeps the figure honest without clutter.
        const int64_t tenths = DivRoundHalfEven(bytes * 10, Megabyte);
        return GroupDigits(tenths / 10) + decimalSeparator + static_cast<char>('0' + tenths % 10) + " MB";
    }
    if (bytes != mb * Megabyte || bytes == 0) return GroupDigits(bytes / 1024) + " KB";
    return GroupDigits(mb) + " MB";
}

}  // namespace orv
