// Strict UTF-8 <-> UTF-16 conversion: exact round trips, and refusals at every malformed edge.
#include "common/Utf8.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

TWideText Units(std::vector<unsigned> units) {
    TWideText text;
    for (unsigned u : units) text.push_back(static_cast<wchar_t>(u));
    return text;
}

TEST(Utf8, WellFormedTextRoundTripsUnitForUnit) {
    struct Case {
        const char* utf8;
        std::vector<unsigned> utf16;
    } cases[] = {
        {"", {}},
        {"C:\\Apps", {'C', ':', '\\', 'A', 'p', 'p', 's'}},
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         {0x141, 0xF3, 'd', 0x17A}},                                         // Łódź
        {"\xE4\xBA\x88\xE7\xB4\x84\xE8\xA1\xA8", {0x4E88, 0x7D04, 0x8868}},  // 予約表
        {"\xEF\xBC\x82", {0xFF02}},                                          // full-width quote
        {"\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},                              // beyond the BMP
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", {0xFFFF, 0xDBFF, 0xDFFF}},          // the last of each range
    };
    for (const auto& c : cases) {
        TWideText wide;
        ASSERT_TRUE(Utf8ToUtf16(c.utf8, wide)) << c.utf8;
        EXPECT_EQ(Units(c.utf16), wide) << c.utf8;
        std::string back;
        ASSERT_TRUE(Utf16ToUtf8(wide, back)) << c.utf8;
        EXPECT_EQ(c.utf8, back);
    }
    TWideText withNul;
    ASSERT_TRUE(Utf8ToUtf16(std::string("a\0b", 3), withNul));
    EXPECT_EQ(3u, withNul.size());
}

TEST(Utf8, MalformedUtf8IsRefusedNotReplaced) {
    const char* cases[] = {
        "\x80",              // a continuation byte alone
        "\xC3",              // cut short at the end
        "a\xE4\xBA",         // cut short after a character
        "\xC3(",             // a lead byte followed by no continuation
        "\xC0\x80",          // overlong NUL
        "\xC1\x9C",          // overlong backslash: must never turn into a separator
        "\xE0\x80\xAF",      // overlong "/"
        "\xF0\x80\x80\xAF",  // overlong "/" in four bytes
        "\xED\xA0\x80",      // an encoded high surrogate
        "\xED\xBF\xBF",      // an encoded low surrogate
        "\xF4\x90\x80\x80",  // beyond U+10FFFF
        "\xFE",
        "\xFF",
    };
    for (const char* c : cases) {
        TWideText wide = Units({'x'});
        EXPECT_FALSE(Utf8ToUtf16(c, wide)) << testing::PrintToString(c);
        EXPECT_TRUE(wide.empty());
        EXPECT_FALSE(IsValidUtf8(c));
    }
}

TEST(Utf8, LoneSurrogatesAreRefusedNotReplaced) {
    const std::vector<unsigned> cases[] = {
        {0xD800}, {0xDC00}, {'a', 0xD83D}, {0xD83D, 'a'}, {0xDE00, 0xD83D}, {0xD83D, 0xD83D, 0xDE00},
    };
    for (const auto& c : cases) {
        const TWideText wide = Units(c);
        std::string out = "x";
        EXPECT_FALSE(Utf16ToUtf8(wide, out)) << testing::PrintToString(c);
        EXPECT_EQ("", out);
    }
}

TEST(Utf8, CharacterLengthsNeverRunPastTheEnd) {
    const std::string text = "a\xC5\x81\xE4\xBA\x88\xF0\x9F\x98\x80\xE4\xBA";
    std::vector<size_t> lengths;
    for (size_t at = 0; at < text.size(); at += Utf8CharLength(text, at)) lengths.push_back(Utf8CharLength(text, at));
    EXPECT_EQ((std::vector<size_t>{1, 2, 3, 4, 1, 1}), lengths);
    EXPECT_TRUE(IsAsciiText("C:\\Program Files\\"));
    EXPECT_FALSE(IsAsciiText("C:\\\xC5\x81"));
}

}  // namespace
}  // namespace orv
