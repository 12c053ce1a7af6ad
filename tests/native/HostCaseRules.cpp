// The case rules of the Linux build of the parsers: ASCII letters fold, every other byte is itself.
#include "common/PathText.h"

#include <cstring>

namespace orv {

namespace {

unsigned char Lower(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

bool SameTextNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// Like the locale comparison it stands in for, the texts end at their first NUL and fold to
// lower case, so that "_" sorts before the letters.
int CompareTextLocale(const std::string& a, const std::string& b) {
    const size_t na = std::strlen(a.c_str());
    const size_t nb = std::strlen(b.c_str());
    for (size_t i = 0; i < na && i < nb; ++i) {
        const int d = Lower(a[i]) - Lower(b[i]);
        if (d != 0) return d < 0 ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

bool SameTextLocale(const std::string& a, const std::string& b) {
    return CompareTextLocale(a, b) == 0;
}

}  // namespace orv
