// Strict UTF-8 <-> UTF-16 conversion in plain C++, so that the same code runs on every platform.
#include "common/Utf8.h"

#include <cstdint>

namespace orv {

namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Decodes one scalar value at text[at]; 0 when the bytes there are not well-formed UTF-8
// (the shortest form only, no surrogates, nothing beyond U+10FFFF).
size_t DecodeOne(const unsigned char* text, size_t size, size_t at, uint32_t& value) {
    const unsigned char lead = text[at];
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    size_t length;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, value = lead & 0x07u;
    } else {
        return 0;
    }
    if (size - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if (!IsContinuation(text[at + i])) return 0;
        value = (value << 6) | (text[at + i] & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

void EncodeOne(uint32_t value, std::string& out) {
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (value >> 18)));
        out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

}  // namespace

bool IsHighSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

TWideText::TWideText(const wchar_t* text) : TWideText() {
    if (!text) return;
    size_t n = 0;
    while (text[n]) ++n;
    append(text, n);
}

TWideText::TWideText(const wchar_t* text, size_t size) : TWideText() {
    append(text, size);
}

void TWideText::append(const wchar_t* text, size_t size) {
    units_.pop_back();
    units_.insert(units_.end(), text, text + size);
    units_.push_back(L'\0');
}

void TWideText::TrimAtNul() {
    size_t n = 0;
    while (n < size() && units_[n] != L'\0') ++n;
    resize(n);
}

bool Utf8ToUtf16(const char* text, size_t size, TWideText& out) {
    out.clear();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::vector<wchar_t> units;
    units.reserve(size);
    for (size_t at = 0; at < size;) {
        uint32_t value = 0;
        const size_t length = DecodeOne(bytes, size, at, value);
        if (length == 0) return false;
        at += length;
        if (value >= 0x10000) {
            value -= 0x10000;
            units.push_back(static_cast<wchar_t>(0xD800 + (value >> 10)));
            units.push_back(static_cast<wchar_t>(0xDC00 + (value & 0x3FF)));
        } else {
            units.push_back(static_cast<wchar_t>(value));
        }
    }
    out.append(units.data(), units.size());
    return true;
}

bool Utf8ToUtf16(const std::string& text, TWideText& out) {
    return Utf8ToUtf16(text.data(), text.size(), out);
}

bool Utf16ToUtf8(const wchar_t* text, size_t size, std::string& out) {
    out.clear();
    std::string result;
    result.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        // wchar_t is wider than 16 bits on some platforms: larger values are no UTF-16 unit.
        uint32_t unit = static_cast<uint32_t>(text[i]);
        if (unit > 0xFFFFu) return false;
        if (IsHighSurrogate(unit)) {
            const uint32_t next = i + 1 < size ? static_cast<uint32_t>(text[i + 1]) : 0;
            if (!IsLowSurrogate(next)) return false;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
            ++i;
        } else if (IsLowSurrogate(unit)) {
            return false;
        }
        EncodeOne(unit, result);
    }
    out.swap(result);
    return true;
}

bool Utf16ToUtf8(const TWideText& text, std::string& out) {
    return Utf16ToUtf8(text.c_str(), text.size(), out);
}

bool IsValidUtf8(const std::string& text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t at = 0; at < text.size();) {
        uint32_t value = 0;
        const size_t length = DecodeOne(bytes, text.size(), at, value);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

bool IsAsciiText(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

size_t Utf8CharLength(const std::string& text, size_t at) {
    uint32_t value = 0;
    const size_t length = DecodeOne(reinterpret_cast<const unsigned char*>(text.data()), text.size(), at, value);
    return length == 0 ? 1 : length;
}

}  // namespace orv
