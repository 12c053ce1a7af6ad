// The UTF-8 wrappers of the registry's W functions; strings are stored as the A forms store them.
#include "common/WideApi.h"

namespace orv {

namespace {

// The value name: an empty name is the key's default value, as with the A functions.
const wchar_t* NameOrDefault(const TWideArg& name) {
    return name.text().empty() ? nullptr : name.c_str();
}

}  // namespace

LSTATUS RegOpenKeyExU(HKEY root, const std::string& subKey, REGSAM access, HKEY* key) {
    const TWideArg s(subKey);
    if (!s.ok()) return ERROR_NO_UNICODE_TRANSLATION;
    return ::RegOpenKeyExW(root, s.c_str(), 0, access, key);
}

LSTATUS RegCreateKeyExU(HKEY root, const std::string& subKey, REGSAM access, HKEY* key) {
    const TWideArg s(subKey);
    if (!s.ok()) return ERROR_NO_UNICODE_TRANSLATION;
    return ::RegCreateKeyExW(root, s.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key, nullptr);
}

LSTATUS RegQueryValueExU(HKEY key, const std::string& name, DWORD* type, BYTE* data, DWORD* size) {
    const TWideArg n(name);
    if (!n.ok()) return ERROR_NO_UNICODE_TRANSLATION;
    return ::RegQueryValueExW(key, NameOrDefault(n), nullptr, type, data, size);
}

LSTATUS RegSetValueExU(HKEY key, const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    const TWideArg n(name);
    if (!n.ok()) return ERROR_NO_UNICODE_TRANSLATION;
    return ::RegSetValueExW(key, NameOrDefault(n), 0, type, data, size);
}

// The stored bytes may lack the NUL or hold an odd count; the text ends at the first NUL.
LSTATUS RegQueryStringU(HKEY key, const std::string& name, std::string& value, DWORD* type) {
    value.clear();
    DWORD t = 0, size = 0;
    LSTATUS status = RegQueryValueExU(key, name, &t, nullptr, &size);
    for (int attempt = 0; status == ERROR_SUCCESS && attempt < 4; ++attempt) {
        if (type) *type = t;
        if (t != REG_SZ && t != REG_EXPAND_SZ) return ERROR_UNSUPPORTED_TYPE;
        TWideText buffer;
        buffer.resize(size / sizeof(wchar_t) + 1);
        DWORD got = size;
        status = RegQueryValueExU(key, name, &t, reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (status == ERROR_MORE_DATA) {
            size = got;
            status = ERROR_SUCCESS;
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        buffer.resize(got / sizeof(wchar_t));
        buffer.TrimAtNul();
        return Utf16ToUtf8(buffer, value) ? ERROR_SUCCESS : ERROR_NO_UNICODE_TRANSLATION;
    }
    return status == ERROR_SUCCESS ? ERROR_MORE_DATA : status;
}

LSTATUS RegSetStringU(HKEY key, const std::string& name, const std::string& value, DWORD type) {
    const TWideArg v(value);
    if (!v.ok()) return ERROR_NO_UNICODE_TRANSLATION;
    const DWORD size = static_cast<DWORD>((v.text().size() + 1) * sizeof(wchar_t));
    return RegSetValueExU(key, name, type, reinterpret_cast<const BYTE*>(v.c_str()), size);
}

LSTATUS RegDeleteValueU(HKEY key, const std::string& name) {
    const TWideArg n(name);
    if (!n.ok()) return ERROR_NO_UNICODE_TRANSLATION;
    return ::RegDeleteValueW(key, NameOrDefault(n));
}

LSTATUS RegDeleteTreeU(HKEY key, const std::string& subKey) {
    const TWideArg s(subKey);
    if (!s.ok()) return ERROR_NO_UNICODE_TRANSLATION;
    return ::RegDeleteTreeW(key, subKey.empty() ? nullptr : s.c_str());
}

LSTATUS RegDeleteKeyU(HKEY key, const std::string& subKey) {
    const TWideArg s(subKey);
    if (!s.ok()) return ERROR_NO_UNICODE_TRANSLATION;
    return ::RegDeleteKeyW(key, s.c_str());
}

}  // namespace orv
