// The CRC-32 that zlib's inflate refers to, small instead of fast.
//
// inflate checks a gzip stream's trailer with crc32(); the setup only ever inflates zlib
// streams (the archive, the compressed artwork), whose trailer is an Adler-32, so the CRC
// is never computed. zlib's own crc32 object still comes along through that reference, with
// 13 KB of tables. Defined here, in an object every program that inflates links directly,
// the linker takes this one and leaves zlib's out. It is the same CRC (reflected,
// polynomial 0xEDB88320), bit by bit, so a gzip stream would still be checked correctly.
#include <zlib.h>

#include <cstdint>

uLong ZEXPORT crc32(uLong crc, const Bytef* buf, uInt len) {
    if (buf == Z_NULL) return 0;
    uint32_t c = static_cast<uint32_t>(crc) ^ 0xFFFFFFFFu;
    for (uInt i = 0; i < len; ++i) {
        c ^= buf[i];
        for (int bit = 0; bit < 8; ++bit) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
}
