// Fuzz target: inflating the archive and listing its records; every listed record must lie
// inside the inflated block and every name must stay inside the folder it is joined to.
#include "common/Errors.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/PathOracle.h"
#include "payload/ArchiveRecords.h"
#include "payload/InflateBlock.h"

#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace orv;

// The records tile the block: each header starts where the last record's data ended, its
// name is the block's bytes, its data lies inside, and the last one ends the block.
void CheckRecords(const uint8_t* block, int32_t size, const std::vector<TAttachedFile>& records) {
    int64_t next = 0;
    for (const TAttachedFile& r : records) {
        FUZZ_CHECK(next < size, "a record starts inside the block");
        FUZZ_CHECK(block[next] == r.Name.size(), "the name has the length its header gives");
        FUZZ_CHECK(std::memcmp(block + next + 1, r.Name.data(), r.Name.size()) == 0, "the name is the block's bytes");
        FUZZ_CHECK(r.DataOffset == next + 1 + static_cast<int64_t>(r.Name.size()) + 12, "the data follows the header");
        FUZZ_CHECK(r.Size >= 0 && r.DataOffset >= 0, "offsets and sizes are not negative");
        FUZZ_CHECK(static_cast<int64_t>(r.DataOffset) + r.Size <= size, "the data ends inside the block");
        FUZZ_CHECK(fuzz::JoinedStaysInside(r.Name), "a name joined to the destination stays inside it");
        next = static_cast<int64_t>(r.DataOffset) + r.Size;
    }
    FUZZ_CHECK(next == size, "the last record ends the block");
}

// The listing either succeeds with records that pass the checks or refuses with its error.
void ListAndCheck(const uint8_t* block, int32_t size) {
    std::vector<TAttachedFile> records;
    try {
        records = ListArchiveRecords(block, size);
    } catch (const EArchiveFormat&) {
        return;
    }
    CheckRecords(block, size, records);
}

// What the catalogue does with the bytes of its resource: inflate with five times the
// packed size as the estimate, then list.
void LoadAsTheSetupDoes(const uint8_t* data, size_t size) {
    InflatedBlock block;
    try {
        block = InflateToMemory(data, static_cast<uint32_t>(size), static_cast<uint32_t>(size) * 5u);
    } catch (const EArchiveDamaged&) {
        return;
    }
    FUZZ_CHECK(block.Size >= 0, "the inflated size is not negative");
    ListAndCheck(block.Data.get(), block.Size);
}

// A stream the inflater must give back byte for byte, through the growth path (a tiny estimate).
// The deflater gets a small window and little memory: the inputs are short, and its
// allocations would otherwise cost more than everything else the target does.
void RoundTrip(const uint8_t* data, size_t size) {
    z_stream zs{};
    if (deflateInit2(&zs, Z_BEST_SPEED, Z_DEFLATED, 9, 1, Z_DEFAULT_STRATEGY) != Z_OK) return;
    std::vector<uint8_t> packed(deflateBound(&zs, static_cast<uLong>(size)));
    zs.next_in = const_cast<uint8_t*>(data);
    zs.avail_in = static_cast<uInt>(size);
    zs.next_out = packed.data();
    zs.avail_out = static_cast<uInt>(packed.size());
    const int rc = deflate(&zs, Z_FINISH);
    const size_t packedSize = zs.total_out;
    deflateEnd(&zs);
    FUZZ_CHECK(rc == Z_STREAM_END, "the deflater finishes within its bound");
    const uint32_t estimate = data[0] % 8;
    InflatedBlock block = InflateToMemory(packed.data(), static_cast<uint32_t>(packedSize), estimate);
    FUZZ_CHECK(block.Size == static_cast<int32_t>(size), "a deflated stream inflates to its length");
    FUZZ_CHECK(std::memcmp(block.Data.get(), data, size) == 0, "a deflated stream inflates to its bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoadAsTheSetupDoes(data, size);
    // The bytes as an inflated block, so that the listing meets every shape of record.
    ListAndCheck(data, static_cast<int32_t>(size));
    if (size > 0 && size <= 1024) RoundTrip(data, size);
    return 0;
}
