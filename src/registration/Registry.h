// A small registry access class: one root, at most one open key, no errors raised.
#pragma once

#include "common/Owners.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace orv {

// Every operation passes failures over: a key that cannot be opened leaves no open key,
// reads then find nothing and writes are lost. A failed open or write is remembered, so
// that a caller who must tell of it can ask once at the end.
class TRegistry {
public:
    TRegistry() = default;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // A different root closes the open key.
    void SelectRoot(HKEY root);
    // "\\path" is taken from the root; any other path from the open key, else the root.
    // Missing keys are created, also when the caller only reads.
    void OpenOrCreateKey(const std::string& path);
    HKEY CurrentKey() const { return key_.get(); }
    // The system's code of the first open or write that failed since the last call (0: none).
    uint32_t TakeWriteError();

    bool HasValue(const std::string& name) const;
    // The text of a REG_SZ or REG_EXPAND_SZ value, cut at its first NUL; anything else
    // counts as missing (false).
    bool ReadString(const std::string& name, std::string& value) const;
    // ReadString's text, "" when missing or not a string.
    std::string GetString(const std::string& name) const;
    void PutString(const std::string& name, const std::string& value);
    // The value when it is a 4-byte REG_DWORD; anything else counts as missing (false).
    bool ReadInt(const std::string& name, int32_t& value) const;
    // Any value of exactly 4 bytes, whatever its type, in memory order: for a value whose
    // encoding another program owns. Anything else counts as missing (false).
    bool ReadFourBytes(const std::string& name, int32_t& value) const;
    // ReadInt's value, 0 when missing or of the wrong size or type.
    int32_t GetInt(const std::string& name) const;
    void PutInt(const std::string& name, int32_t value);
    bool GetFlag(const std::string& name) const { return GetInt(name) != 0; }
    void PutFlag(const std::string& name, bool value) { PutInt(name, value ? 1 : 0); }

private:
    void NoteWriteError(LONG rc);

    HKEY root_ = HKEY_CURRENT_USER;
    UniqueHKey key_;
    uint32_t writeError_ = 0;
};

}  // namespace orv
