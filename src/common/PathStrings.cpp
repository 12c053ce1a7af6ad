// The setup's title and the text comparisons of the user's code page and locale.
#include "common/InstUtils.h"

#include <vector>

namespace orv {

const char* const SetupTitle = "Orvanel Word Processor - Setup";

static std::string UpperAnsi(const std::string& s) {
    std::vector<char> buf(s.begin(), s.end());
    if (!buf.empty()) ::CharUpperBuffA(buf.data(), static_cast<DWORD>(buf.size()));
    return std::string(buf.begin(), buf.end());
}

// Plain ASCII is upper-cased alike in every code page, and a DBCS character always starts
// with a byte above 0x7F. So up to the first such byte the texts are compared here, without
// asking the system to convert them; from there on the system's conversion decides.
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

bool SameTextNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    const TAsciiVerdict verdict = CompareAsciiNoCase(a, b);
    if (verdict != TAsciiVerdict::Undecided) return verdict == TAsciiVerdict::Same;
    return UpperAnsi(a) == UpperAnsi(b);
}

int CompareTextLocale(const std::string& a, const std::string& b) {
    int r = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1, b.c_str(), -1);
    return r - CSTR_EQUAL;
}

bool SameTextLocale(const std::string& a, const std::string& b) {
    return CompareTextLocale(a, b) == 0;
}

std::string SortKeyLocale(const std::string& text, LCID locale) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE | SORT_STRINGSORT;
    const int size = ::LCMapStringA(locale, flags, text.c_str(), -1, nullptr, 0);
    if (size <= 0) return std::string();
    std::string key(static_cast<size_t>(size), '\0');
    const int got = ::LCMapStringA(locale, flags, text.c_str(), -1, &key[0], size);
    if (got <= 0) return std::string();
    key.resize(static_cast<size_t>(got));
    return key;
}

}  // namespace orv
