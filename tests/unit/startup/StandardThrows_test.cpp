// The library's containers still fail loudly with the setup's own throw helpers: what they
// throw is caught as std::exception and carries the library's text.
#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <vector>

namespace {

template <typename Action>
std::string WhatItThrows(Action action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "nothing thrown";
}

TEST(StandardThrows, LibraryErrorsArriveAsStandardExceptionsWithTheirText) {
    const std::string text = "ab";
    EXPECT_EQ("basic_string::substr: __pos (which is 3) > this->size() (which is 2)",
              WhatItThrows([&] { (void)text.substr(3); }));
    std::vector<int> numbers;
    EXPECT_NE(std::string::npos, WhatItThrows([&] { (void)numbers.at(0); }).find("vector::_M_range_check"));
    EXPECT_NE(std::string::npos, WhatItThrows([&] { numbers.reserve(numbers.max_size() + 1); }).find("vector::reserve"));
}

}  // namespace
