// The user locale's decimal separator, and size texts written with it.
#include "wizard/SizeFormat.h"

#include <windows.h>

namespace orv {

char UserDecimalSeparator() {
    static const char separator = [] {
        // Sizes are UTF-8 text: a separator beyond ASCII has no one-byte form, and the
        // point stands in for it.
        wchar_t buf[8] = {};
        if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 0 && buf[0] != L'\0' && buf[0] < 0x80)
            return static_cast<char>(buf[0]);
        return '.';
    }();
    return separator;
}

std::string FormatSize(int64_t bytes) {
    return FormatSize(bytes, UserDecimalSeparator());
}

}  // namespace orv
