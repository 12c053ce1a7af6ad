// A small registry access class: one root, at most one open key, no errors raised.
#include "registration/Registry.h"

#include <vector>

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
    if (::RegCreateKeyExA(base, sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened,
                          nullptr) != ERROR_SUCCESS)
        opened = nullptr;
    key_.reset(opened);
}

bool TRegistry::HasValue(const std::string& name) const {
    if (!key_) return false;
    DWORD size = 0;
    return ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
}

bool TRegistry::ReadString(const std::string& name, std::string& value) const {
    if (!key_) return false;
    // The value may grow between the size query and the read: ask again until it fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        if (::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        // Another type's bytes are no text; reading them as one would show garbage.
        if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
        if (size == 0) {
            value.clear();
            return true;
        }
        std::vector<char> buf(size);
        LONG rc =
            ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
        std::string text(buf.data(), size);  // a stored value need not end in a NUL
        std::string::size_type nul = text.find('\0');
        if (nul != std::string::npos) text.resize(nul);
        value = text;
        return true;
    }
    return false;
}

std::string TRegistry::GetString(const std::string& name) const {
    std::string text;
    return ReadString(name, text) ? text : std::string();
}

void TRegistry::PutString(const std::string& name, const std::string& value) {
    if (!key_) return;
    ::RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

bool TRegistry::ReadInt(const std::string& name, int32_t& value) const {
    if (!key_) return false;
    DWORD type = 0, size = sizeof(int32_t);
    int32_t v = 0;
    // A longer value fails with ERROR_MORE_DATA and leaves the buffer undefined; a
    // shorter one or another type would give stray bytes: all count as missing.
    if (::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(int32_t))
        return false;
    value = v;
    return true;
}

bool TRegistry::ReadFourBytes(const std::string& name, int32_t& value) const {
    if (!key_) return false;
    DWORD size = sizeof(int32_t);
    int32_t v = 0;
    if (::RegQueryValueExA(key_.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &size) !=
            ERROR_SUCCESS ||
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
    ::RegSetValueExA(key_.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace orv
