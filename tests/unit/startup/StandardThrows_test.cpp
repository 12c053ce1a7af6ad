// The library's containers still fail loudly with the setup's own throw helpers: what they
// throw is caught as std::exception and, under libstdc++, carries the library's own text.
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
    std::vector<int> numbers;
    const std::string substr = WhatItThrows([&] { (void)text.substr(3); });
    const std::string at = WhatItThrows([&] { (void)numbers.at(0); });
    const std::string reserve = WhatItThrows([&] { numbers.reserve(numbers.max_size() + 1); });
    for (const std::string* what : {&substr, &at, &reserve}) EXPECT_NE("nothing thrown", *what);
#if defined(__GLIBCXX__)
    EXPECT_EQ("basic_string::substr: __pos (which is 3) > this->size() (which is 2)", substr);
    EXPECT_EQ("vector::_M_range_check: __n (which is 0) >= this->size() (which is 0)", at);
    EXPECT_EQ("vector::reserve", reserve);
#endif
}

}  // namespace
