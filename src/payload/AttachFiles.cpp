// The payload catalogue: loading the archive and listing its records as entries.
#include "payload/AttachFiles.h"

#include "common/Errors.h"
#include "common/InstUtils.h"

#include <cstring>

namespace orv {

TAttachedFiles* AttachedFiles = nullptr;

TAttachedFiles::TAttachedFiles() {
    ResourceBlock res = LoadResourceBlock(::GetModuleHandleA(nullptr), "FILES", "FILES");
    if (!res.Bytes) throw EArchiveMissing("The setup carries no product archive.");
    Load(res.Bytes, res.Count);
}

TAttachedFiles::TAttachedFiles(const void* packed, uint32_t count) {
    Load(packed, count);
}

TAttachedFiles::~TAttachedFiles() {
    PublicFiles.clear();
    for (auto& group : Groups)
        while (!group.empty()) group.pop_back();
    data_.reset();
    while (!entries_.empty()) entries_.pop_back();
    CleanTempFiles();
}

void TAttachedFiles::Load(const void* packed, uint32_t count) {
    // The estimate is five times the packed size, as the archive as built inflates to about
    // twice its size: one pass, no growth.
    InflatedBlock block = InflateToMemory(packed, count, count * 5u);
    data_ = std::move(block.Data);
    dataSize_ = block.Size;
    ListEntries();
}

// Every record is checked against the block, so a damaged archive is reported instead of
// being read past its end.
void TAttachedFiles::ListEntries() {
    const uint8_t* d = data_.get();
    const int64_t total = dataSize_;
    int64_t o = 0;
    while (o < total) {
        auto entry = std::make_unique<TAttachedFile>();
        const int64_t n = d[o];
        if (o + 1 + n + 12 > total) throw EArchiveFormat("A record header runs past the end of the archive.");
        entry->Name.assign(reinterpret_cast<const char*>(d + o + 1), static_cast<size_t>(n));
        o += 1 + n;
        std::memcpy(&entry->Timestamp, d + o, 8);
        o += 8;
        std::memcpy(&entry->Size, d + o, 4);
        o += 4;
        if (entry->Size < 0 || o + entry->Size > total)
            throw EArchiveFormat("The record \"" + entry->Name + "\" runs past the end of the archive.");
        entry->DataOffset = static_cast<int32_t>(o);
        o += entry->Size;
        entries_.push_back(std::move(entry));
    }
}

const TAttachedFile* TAttachedFiles::FindEntry(const std::string& name) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (SameTextNoCase((*it)->Name, name)) return it->get();
    return nullptr;
}

}  // namespace orv
