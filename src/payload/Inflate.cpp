// Inflating a zlib stream into one newly allocated memory block.
#include "payload/InflateBlock.h"

#include "common/Errors.h"

#include <zlib.h>

#include <algorithm>
#include <new>

namespace orv {

namespace {

constexpr uint64_t MaxBlockSize = 0x7FFFFFFF;

// Ends the zlib stream on every way out of InflateToMemory.
class InflateStream {
public:
    InflateStream() {
        stream_.zalloc = Z_NULL;
        stream_.zfree = Z_NULL;
        stream_.opaque = Z_NULL;
        stream_.next_in = Z_NULL;
        stream_.avail_in = 0;
        if (inflateInit(&stream_) != Z_OK) throw EArchiveDamaged("The archive decoder could not start.");
    }
    ~InflateStream() { inflateEnd(&stream_); }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
    z_stream* operator->() { return &stream_; }
    z_stream* get() { return &stream_; }

private:
    z_stream stream_;
};

uint8_t* Reallocate(MallocBlock& block, size_t size) {
    void* p = std::realloc(block.get(), size ? size : 1);
    if (!p) throw std::bad_alloc();
    block.release();
    block.reset(static_cast<uint8_t*>(p));
    return block.get();
}

}  // namespace

InflatedBlock InflateToMemory(const void* input, uint32_t inputCount, uint32_t sizeEstimate) {
    const uint64_t step = (static_cast<uint64_t>(inputCount) + 255) & ~static_cast<uint64_t>(255);
    uint64_t capacity = sizeEstimate != 0 ? sizeEstimate : step;
    if (capacity == 0) capacity = 256;  // an empty input still gets a block to fail into
    // The size is kept as a signed 32-bit number, so the block never grows beyond that.
    capacity = std::min<uint64_t>(capacity, MaxBlockSize);

    InflatedBlock out;
    Reallocate(out.Data, static_cast<size_t>(capacity));

    InflateStream zs;
    zs->next_in = static_cast<Bytef*>(const_cast<void*>(input));
    zs->avail_in = inputCount;
    zs->next_out = out.Data.get();
    zs->avail_out = static_cast<uInt>(capacity);

    for (;;) {
        int rc = inflate(zs.get(), Z_NO_FLUSH);
        if (rc == Z_STREAM_END) break;
        // A preset dictionary is not part of the format, and a stream that stops making
        // progress with output space left is cut short: both are damage, not a reason to grow.
        if (rc < 0 || rc == Z_NEED_DICT || zs->avail_out != 0)
            throw EArchiveDamaged(zs->msg ? zs->msg : "The archive is damaged or incomplete.");
        if (capacity >= MaxBlockSize) throw EArchiveDamaged("The archive inflates to 2 GiB or more.");
        // Growing by half the block at least keeps the copying linear however far a small
        // stream inflates.
        capacity = std::min<uint64_t>(capacity + std::max<uint64_t>(step ? step : 256, capacity / 2), MaxBlockSize);
        uint8_t* base = Reallocate(out.Data, static_cast<size_t>(capacity));
        zs->next_out = base + zs->total_out;
        zs->avail_out = static_cast<uInt>(capacity - zs->total_out);
    }
    out.Size = static_cast<int32_t>(zs->total_out);
    Reallocate(out.Data, static_cast<size_t>(out.Size));
    return out;
}

}  // namespace orv
