// Strict UTF-8 <-> UTF-16 conversion: text inside the program is UTF-8, the system speaks UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

// UTF-16 text with a NUL after its last unit, for the W functions of the system. A vector,
// not a wide std::string, so that the program does not carry the library's wide-string code.
// (Platform-neutral: the units are wchar_t, which holds 16-bit units on every platform.)
class TWideText {
public:
    TWideText() : units_(1, L'\0') {}
    TWideText(const wchar_t* text);  // up to its NUL; nullptr is empty
    TWideText(const wchar_t* text, size_t size);

    const wchar_t* c_str() const { return units_.data(); }
    wchar_t* data() { return units_.data(); }  // size() units and the NUL may be written
    size_t size() const { return units_.size() - 1; }
    bool empty() const { return size() == 0; }
    wchar_t operator[](size_t i) const { return units_[i]; }

    void clear() { resize(0); }
    void resize(size_t size) {
        units_.resize(size + 1, L'\0');
        units_[size] = L'\0';
    }
    void append(const wchar_t* text, size_t size);
    void push_back(wchar_t unit) { append(&unit, 1); }
    // Cuts the text at its first NUL (after a system call wrote into data()).
    void TrimAtNul();

    bool operator==(const TWideText& other) const { return units_ == other.units_; }
    bool operator!=(const TWideText& other) const { return !(*this == other); }

private:
    std::vector<wchar_t> units_;
};

// Both directions refuse (return false, leave out empty) rather than substitute: invalid or
// overlong UTF-8, UTF-8 that encodes a surrogate or goes beyond U+10FFFF, a truncated
// sequence; UTF-16 with a lone (unpaired) surrogate. A NUL is text like any other.
bool Utf8ToUtf16(const char* text, size_t size, TWideText& out);
bool Utf8ToUtf16(const std::string& text, TWideText& out);
bool Utf16ToUtf8(const wchar_t* text, size_t size, std::string& out);
bool Utf16ToUtf8(const TWideText& text, std::string& out);

bool IsValidUtf8(const std::string& text);
// The two halves of a UTF-16 pair (a character beyond U+FFFF).
bool IsHighSurrogate(uint32_t unit);
bool IsLowSurrogate(uint32_t unit);
// True when every byte is below 0x80: the same bytes in UTF-8 and every ANSI code page.
bool IsAsciiText(const std::string& text);

// The length in bytes of the UTF-8 sequence that starts at text[at] (1 for a byte that
// starts none), never past the end: for walking text one character at a time.
size_t Utf8CharLength(const std::string& text, size_t at);

}  // namespace orv
