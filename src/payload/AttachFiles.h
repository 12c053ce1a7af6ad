// The payload catalogue: the embedded archive inflated into memory and its entries.
#pragma once

#include "payload/ArchiveRecords.h"
#include "payload/InflateBlock.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orv {

class TKnownFolders;

// One planned copy of an entry (filled by the install plan, carried out by the worker).
struct TFileToInstall {
    const TAttachedFile* Entry = nullptr;  // not owned
    std::string DestPath;
    bool Logged = false;
};

constexpr int GroupCount = 6;

struct ResourceBlock {
    const void* Bytes = nullptr;
    uint32_t Count = 0;
};
ResourceBlock LoadResourceBlock(HMODULE module, const char* name, const char* type);

class TAttachedFiles {
public:
    // Loads the "FILES" resource of the program's own module.
    TAttachedFiles();
    // Loads a packed archive given as bytes (used for archives not embedded as resources).
    TAttachedFiles(const void* packed, uint32_t count);
    ~TAttachedFiles();
    TAttachedFiles(const TAttachedFiles&) = delete;
    TAttachedFiles& operator=(const TAttachedFiles&) = delete;

    const uint8_t* Data() const { return data_.get(); }
    int32_t DataSize() const { return dataSize_; }
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    const TAttachedFile& Entry(int index) const { return *entries_[index]; }
    // The last entry whose name equals name ignoring case, or nullptr.
    const TAttachedFile* FindEntry(const std::string& name) const;

    // Writes one entry to a file (entry may be null: then name picks it). True when
    // written or when the user chose Ignore after a failure; false after Abort.
    bool ExtractFile(const TAttachedFile* entry, const std::string& name, const std::string& destination);

    std::array<std::vector<std::unique_ptr<TFileToInstall>>, GroupCount> Groups;
    std::vector<std::string> PublicFiles;
    bool ForceOverwrite = false;
    // While a copy runs, the folders it has seen exist (set and cleared by whoever runs it;
    // not owned). Without it every entry's folders are asked about afresh.
    TKnownFolders* KnownFolders = nullptr;

private:
    void Load(const void* packed, uint32_t count);
    void ListEntries();

    MallocBlock data_;
    int32_t dataSize_ = 0;
    std::vector<std::unique_ptr<TAttachedFile>> entries_;
};

// The one catalogue of the run, reachable from the wizard's creation to its destruction.
extern TAttachedFiles* AttachedFiles;

}  // namespace orv
