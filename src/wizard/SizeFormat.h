// Byte counts as the short texts the component page shows ("4 882 KB", "102 MB").
#pragma once

#include <cstdint>
#include <string>

namespace orv {

// n in decimal with a blank between groups of three digits counted from the right.
std::string GroupDigits(int64_t n);

// A size as whole kilobytes (truncated) or megabytes (rounded, a half to even); from
// 16,777,215 bytes up to 100 MB one decimal of a megabyte after decimalSeparator.
std::string FormatSize(int64_t bytes, char decimalSeparator);
// The same with the user's decimal separator, read from the locale on first use.
std::string FormatSize(int64_t bytes);

// The first character of the user locale's decimal separator ('.' when it cannot be read).
char UserDecimalSeparator();

}  // namespace orv
