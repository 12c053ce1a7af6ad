// Size texts written with the user locale's decimal separator.
#include "wizard/SizeFormat.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orv {
namespace {

TEST(SizeFormat, UsesTheUserLocalesSeparator) {
    char buf[8] = {};
    ASSERT_GT(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf), 0);
    EXPECT_EQ(buf[0], UserDecimalSeparator());
    EXPECT_EQ(std::string("16") + buf[0] + "5 MB", FormatSize(17301504));
}

}  // namespace
}  // namespace orv
