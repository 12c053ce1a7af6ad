// Inflating a zlib stream into one newly allocated memory block.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace orv {

// Frees a block from the C allocator (the inflated archive grows with realloc).
struct FreeDeleter {
    void operator()(void* p) const noexcept { std::free(p); }
};
using MallocBlock = std::unique_ptr<uint8_t, FreeDeleter>;

// A newly allocated block holding an inflated zlib stream, and its length.
struct InflatedBlock {
    MallocBlock Data;
    int32_t Size = 0;
};
// Raises EArchiveDamaged for a stream that is damaged, cut short, needs a preset
// dictionary or inflates to 2 GiB or more.
InflatedBlock InflateToMemory(const void* input, uint32_t inputCount, uint32_t sizeEstimate);

}  // namespace orv
