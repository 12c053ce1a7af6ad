// Fuzz target: the size texts, against a reference computed in 128-bit arithmetic.
#include "fuzz/FuzzCheck.h"
#include "wizard/SizeFormat.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

using Wide = __int128;

// n / d to the nearest, a half to the even neighbour; d > 0.
Wide RoundHalfEven(Wide n, Wide d) {
    Wide q = n / d, r = n % d;
    if (r < 0) r += d, q -= 1;
    if (2 * r > d || (2 * r == d && q % 2 != 0)) q += 1;
    return q;
}

// Groups of three digits from the right, written from the right.
std::string Grouped(Wide n) {
    const bool negative = n < 0;
    if (negative) n = -n;
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0) reversed += ' ';
        reversed += static_cast<char>('0' + static_cast<int>(n % 10));
        n /= 10;
        ++digits;
    } while (n != 0);
    if (negative) reversed += '-';
    return std::string(reversed.rbegin(), reversed.rend());
}

std::string Expected(int64_t bytes, char separator) {
    const Wide mb = RoundHalfEven(bytes, 1048576);
    if (bytes >= 0xFFFFFF) {
        if (mb >= 100) return Grouped(mb) + " MB";
        const Wide tenths = RoundHalfEven(static_cast<Wide>(bytes) * 10, 1048576);
        return Grouped(tenths / 10) + separator + static_cast<char>('0' + static_cast<int>(tenths % 10)) + " MB";
    }
    if (bytes != 0 && static_cast<Wide>(bytes) % 1048576 == 0) return Grouped(mb) + " MB";
    return Grouped(static_cast<Wide>(bytes) / 1024) + " KB";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int64_t bytes = 0;
    std::memcpy(&bytes, data, size < 8 ? size : 8);
    const char separator = size > 8 ? static_cast<char>(data[8]) : '.';
    FUZZ_CHECK(orv::FormatSize(bytes, separator) == Expected(bytes, separator), "the size text is the exact figure");
    FUZZ_CHECK(orv::GroupDigits(bytes) == Grouped(bytes), "digits are grouped by three from the right");
    return 0;
}
