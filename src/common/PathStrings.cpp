// The setup's title and the text comparisons of the user's code page and locale.
#include "common/InstUtils.h"
#include "common/WideApi.h"

#include <vector>

namespace orv {

const char* const SetupTitle = "Orvanel Word Processor - Setup";

// The system's upper case of the text (CharUpperBuff's per-character mapping, as the A form
// applied it in the ANSI code page); false when the text is not UTF-8.
static bool UpperWide(const std::string& s, TWideText& upper) {
    if (!Utf8ToUtf16(s, upper)) return false;
    if (!upper.empty()) ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return true;
}

// Plain ASCII is upper-cased alike everywhere, and every other character's UTF-8 bytes are
// above 0x7F. So up to the first such byte the texts are compared here, without asking the
// system to convert them; from there on the system's conversion decides.
enum class TAsciiVerdict { Same, Different, Undecided };

static TAsciiVerdict CompareAsciiNoCase(const std::string& a, const std::string& b) {
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80 || y >= 0x80) return TAsciiVerdict::Undecided;
        if (x == y) continue;
        const unsigned char lower = static_cast<unsigned char>(x | 0x20);
        if (lower != (y | 0x20) || lower < 'a' || lower > 'z') return TAsciiVerdict::Different;
    }
    return TAsciiVerdict::Same;
}

std::string LowerCaseText(const std::string& text) {
    if (IsAsciiText(text)) {
        std::string lower = text;
        for (char& c : lower) c = AsciiLower(c);
        return lower;
    }
    TWideText wide;
    if (!Utf8ToUtf16(text, wide)) return text;
    ::CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return Utf8Of(wide.c_str(), wide.size());
}

// A letter and its capital may take different numbers of UTF-8 bytes (dotless i and I), so
// texts of different sizes are compared too once either holds more than ASCII.
bool SameTextNoCase(const std::string& a, const std::string& b) {
    if (a.size() == b.size()) {
        const TAsciiVerdict verdict = CompareAsciiNoCase(a, b);
        if (verdict != TAsciiVerdict::Undecided) return verdict == TAsciiVerdict::Same;
    } else if (IsAsciiText(a) && IsAsciiText(b)) {
        return false;
    }
    TWideText upperA, upperB;
    if (!UpperWide(a, upperA) || !UpperWide(b, upperB)) return a == b;
    return upperA == upperB;
}

int CompareTextLocale(const std::string& a, const std::string& b) {
    const TWideArg wa(a), wb(b);
    if (!wa.ok() || !wb.ok()) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    int r = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, wa.c_str(), -1, wb.c_str(), -1);
    return r - CSTR_EQUAL;
}

bool SameTextLocale(const std::string& a, const std::string& b) {
    return CompareTextLocale(a, b) == 0;
}

std::string SortKeyLocale(const std::string& text, LCID locale) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE | SORT_STRINGSORT;
    // With LCMAP_SORTKEY the W form writes bytes and counts its output in bytes.
    const TWideArg wide(text);
    if (!wide.ok()) return std::string();
    const int size = ::LCMapStringW(locale, flags, wide.c_str(), -1, nullptr, 0);
    if (size <= 0) return std::string();
    std::string key(static_cast<size_t>(size), '\0');
    const int got = ::LCMapStringW(locale, flags, wide.c_str(), -1, reinterpret_cast<LPWSTR>(&key[0]), size);
    if (got <= 0) return std::string();
    key.resize(static_cast<size_t>(got));
    return key;
}

}  // namespace orv
