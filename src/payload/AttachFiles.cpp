// The payload catalogue: loading the archive resource and listing its records as entries.
#include "payload/AttachFiles.h"

#include "common/Errors.h"
#include "common/InstUtils.h"

#include <utility>

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

void TAttachedFiles::ListEntries() {
    for (TAttachedFile& record : ListArchiveRecords(data_.get(), dataSize_))
        entries_.push_back(std::make_unique<TAttachedFile>(std::move(record)));
}

ResourceBlock LoadResourceBlock(HMODULE module, const char* name, const char* type) {
    ResourceBlock block;
    HRSRC res = ::FindResourceA(module, name, type);
    if (!res) return block;
    block.Count = ::SizeofResource(module, res);
    HGLOBAL loaded = ::LoadResource(module, res);
    block.Bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!block.Bytes) block.Count = 0;
    return block;
}

const TAttachedFile* TAttachedFiles::FindEntry(const std::string& name) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (SameTextNoCase((*it)->Name, name)) return it->get();
    return nullptr;
}

}  // namespace orv
