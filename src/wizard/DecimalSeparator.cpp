// The user locale's decimal separator, and size texts written with it.
#include "wizard/SizeFormat.h"

#include <windows.h>

namespace orv {

char UserDecimalSeparator() {
    static const char separator = [] {
        char buf[8] = {};
        if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf) > 0 && buf[0] != '\0')
            return buf[0];
        return '.';
    }();
    return separator;
}

std::string FormatSize(int64_t bytes) {
    return FormatSize(bytes, UserDecimalSeparator());
}

}  // namespace orv
