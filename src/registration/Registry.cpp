// A small registry access class: one root, at most one open key, no errors raised.
#include "registration/Registry.h"

#include "common/WideApi.h"

namespace orv {

void TRegistry::SelectRoot(HKEY root) {
    if (root == root_) return;
    key_.reset();
    root_ = root;
}

void TRegistry::OpenOrCreateKey(const std::string& path) {
    HKEY base = key_ ? key_.get() : root_;
    std::string sub = path;
    if (!sub.empty() && sub[0] == '\\') {
        base = root_;
        sub.erase(0, 1);
    }
    HKEY opened = nullptr;
    const LONG rc = RegCreateKeyExU(base, sub, KEY_ALL_ACCESS, &opened);
    if (rc != ERROR_SUCCESS) opened = nullptr;
    NoteWriteError(rc);
    key_.reset(opened);
}

void TRegistry::NoteWriteError(LONG rc) {
    if (rc != ERROR_SUCCESS && writeError_ == 0) writeError_ = static_cast<uint32_t>(rc);
}

uint32_t TRegistry::TakeWriteError() {
    const uint32_t error = writeError_;
    writeError_ = 0;
    return error;
}

bool TRegistry::HasValue(const std::string& name) const {
    if (!key_) return false;
    DWORD size = 0;
    return RegQueryValueExU(key_.get(), name, nullptr, nullptr, &size) == ERROR_SUCCESS;
}

bool TRegistry::ReadString(const std::string& name, std::string& value) const {
    if (!key_) return false;
    // Another type's bytes are no text; reading them as one would show garbage.
    std::string text;
    if (RegQueryStringU(key_.get(), name, text) != ERROR_SUCCESS) return false;
    value = text;
    return true;
}

std::string TRegistry::GetString(const std::string& name) const {
    std::string text;
    return ReadString(name, text) ? text : std::string();
}

void TRegistry::PutString(const std::string& name, const std::string& value) {
    if (!key_) return;
    NoteWriteError(RegSetStringU(key_.get(), name, value));
}

bool TRegistry::ReadInt(const std::string& name, int32_t& value) const {
    if (!key_) return false;
    DWORD type = 0, size = sizeof(int32_t);
    int32_t v = 0;
    // A longer value fails with ERROR_MORE_DATA and leaves the buffer undefined; a
    // shorter one or another type would give stray bytes: all count as missing.
    if (RegQueryValueExU(key_.get(), name, &type, reinterpret_cast<BYTE*>(&v), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(int32_t))
        return false;
    value = v;
    return true;
}

bool TRegistry::ReadFourBytes(const std::string& name, int32_t& value) const {
    if (!key_) return false;
    DWORD size = sizeof(int32_t);
    int32_t v = 0;
    // The A form on purpose: a string value counts by its ANSI bytes, as it always has (the
    // W form would see twice as many).
    if (::RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &size) != ERROR_SUCCESS ||
        size != sizeof(int32_t))
        return false;
    value = v;
    return true;
}

int32_t TRegistry::GetInt(const std::string& name) const {
    int32_t v = 0;
    return ReadInt(name, v) ? v : 0;
}

void TRegistry::PutInt(const std::string& name, int32_t value) {
    if (!key_) return;
    NoteWriteError(RegSetValueExU(key_.get(), name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value));
}

}  // namespace orv
