// Helpers for the registration tests: the keys the setup writes, removed around each test.
#pragma once

#include "common/Owners.h"
#include "registration/Settings.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace orv::test {

constexpr const char* ProductKey = "Software\\Orvanel Word Processor";

inline void RemoveSetupKeys() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, ProductKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, ProductKey);
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallKey);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKey);
}

inline bool KeyExists(HKEY root, const std::string& path) {
    UniqueHKey key;
    return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// Writes raw bytes of any type, to make values of the wrong size or type.
inline void PutRaw(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
    UniqueHKey key;
    ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    ::RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
}

inline void PutDword(HKEY root, const std::string& path, const std::string& name, uint32_t v) {
    PutRaw(root, path, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&v), 4));
}

inline void PutSz(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
    PutRaw(root, path, name, REG_SZ, text + '\0');
}

// The value's type and bytes; false when missing.
inline bool GetRaw(HKEY root, const std::string& path, const std::string& name, DWORD& type, std::string& bytes) {
    UniqueHKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    bytes.assign(size, '\0');
    return ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(size ? &bytes[0] : nullptr), &size) == ERROR_SUCCESS;
}

}  // namespace orv::test
