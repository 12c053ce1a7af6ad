// Path and string helpers: backslashes, joining, comparisons, line splitting.
#include "common/InstUtils.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orv {
namespace {

TEST(PathStrings, AddBackslashChangesOnlyTheLastCharacter) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""}, {"C:/x/", "C:/x\\"}, {"C:\\x", "C:\\x\\"}, {"C:\\x\\", "C:\\x\\"}, {"c:", "c:\\"},
    };
    for (const auto& c : cases) {
        std::string s = c.in;
        AddBackslash(s);
        EXPECT_EQ(c.out, s) << c.in;
    }
}

TEST(PathStrings, JoinPathAndFolderPart) {
    EXPECT_EQ("a.txt", JoinPath("", "a.txt"));
    EXPECT_EQ("C:\\d\\a", JoinPath("C:\\d\\", "a"));
    EXPECT_EQ("D:\\orv.exe", JoinPath("D:\\", "orv.exe"));
    EXPECT_EQ("C:\\a\\", FolderPart("C:\\a\\b.txt"));
    EXPECT_EQ("Q:", FolderPart("Q:x"));
    EXPECT_EQ("", FolderPart("name"));
}

TEST(PathStrings, CharHelpersLeaveEmptyTextsAlone) {
    std::string s;
    DropFirstChar(s);
    DropLastChar(s);
    EXPECT_EQ("", s);
    EXPECT_EQ('\0', LastChar(s));
    s = "abc";
    DropFirstChar(s);
    DropLastChar(s);
    EXPECT_EQ("b", s);
}

// Names that case-insensitive comparisons get wrong: accents, the German sharp s, dotted
// and dotless i (Turkish code page), ligatures, ignorable and punctuation characters, and
// full-width and half-width letters (Japanese code page), next to every single byte.
std::vector<std::string> AwkwardNames() {
    std::vector<std::string> names = {
        "",
        "ss",
        "SS",
        "\xDF",
        "Stra\xDF"
        "e",
        "STRASSE",
        "strasse",
        "Strase",
        "caf\xE9",
        "CAF\xC9",
        "cafe",
        "Cafe ",
        "\xE6",
        "ae",
        "AE",
        "\x9C",
        "oe",
        "co\xAD"
        "op",
        "coop",
        "co-op",
        "co'op",
        "\xFF",
        "\x9F",
        "y",
        "\x8A",
        "s",
        "I",
        "i",
        "\xDD",
        "\xFD",
        "\xDDstanbul",
        "istanbul",
        "ISTANBUL",
        "\xFDstanbul",
        "\x82\x60",
        "\x82\x81",
        "A",
        "a",
        "\x83\x41",
        "\xB1",
        "\x82\x60\x82\x81",
        "Aa",
        "\x81",
        "\x7F",
        "\x01",
        "a\x01",
        "a\tb",
        "a b",
    };
    for (int c = 1; c < 256; ++c) names.push_back(std::string(1, static_cast<char>(c)));
    return names;
}

TEST(PathStrings, SortKeysAreEqualExactlyWhenCompareStringCallsTextsEqual) {
    const LCID locales[] = {LOCALE_USER_DEFAULT, 0x409 /* en-US */, 0x407 /* de-DE */, 0x41F /* tr-TR */,
                            0x411 /* ja-JP */};
    const std::vector<std::string> names = AwkwardNames();
    for (LCID locale : locales) {
        std::vector<std::string> keys;
        for (const std::string& name : names) {
            keys.push_back(SortKeyLocale(name, locale));
            ASSERT_FALSE(keys.back().empty()) << name;
        }
        int mismatches = 0;
        for (size_t i = 0; i < names.size(); ++i) {
            for (size_t j = 0; j < names.size() && mismatches < 10; ++j) {
                const bool equal = ::CompareStringA(locale, NORM_IGNORECASE | SORT_STRINGSORT, names[i].c_str(), -1,
                                                    names[j].c_str(), -1) == CSTR_EQUAL;
                if (equal == (keys[i] == keys[j])) continue;
                ++mismatches;
                ADD_FAILURE() << "locale " << locale << ": [" << names[i] << "] [" << names[j] << "] compare " << equal;
            }
        }
    }
    // A text is keyed up to its first NUL, as CompareStringA reads it.
    EXPECT_EQ(SortKeyLocale("ab"), SortKeyLocale(std::string("ab\0c", 4)));
}

TEST(PathStrings, ComparisonsIgnoreCase) {
    EXPECT_TRUE(SameTextNoCase("templates\\", "Templates\\"));
    EXPECT_FALSE(SameTextNoCase("Template", "Templates\\"));
    EXPECT_TRUE(SameTextLocale("File Copy: C:\\A", "file copy: c:\\a"));
    EXPECT_LT(CompareTextLocale("a", "B"), 0);
    EXPECT_GT(CompareTextLocale("b", "A"), 0);
}

// The comparison answers plain ASCII itself; it must agree with the system's upper-casing
// for every byte, before, after and beside a byte it leaves to the system.
TEST(PathStrings, NoCaseComparisonAgreesWithTheSystemForEveryByte) {
    auto systemSame = [](std::string a, std::string b) {
        ::CharUpperBuffA(&a[0], static_cast<DWORD>(a.size()));
        ::CharUpperBuffA(&b[0], static_cast<DWORD>(b.size()));
        return a == b;
    };
    int disagreements = 0;
    for (int x = 1; x < 256; ++x) {
        for (int y = 1; y < 256; ++y) {
            const char cx = static_cast<char>(x), cy = static_cast<char>(y);
            const std::string pairs[][2] = {{std::string("ab") + cx, std::string("AB") + cy},
                                            {std::string(1, cx) + "z", std::string(1, cy) + "Z"},
                                            {std::string(1, cx) + "a", std::string(1, cx) + "?"}};
            for (const auto& p : pairs)
                if (SameTextNoCase(p[0], p[1]) != systemSame(p[0], p[1])) ++disagreements;
        }
    }
    EXPECT_EQ(0, disagreements);
}

TEST(PathStrings, SplitLinesAcceptsEveryLineEnd) {
    using V = std::vector<std::string>;
    EXPECT_EQ(V({"a", "b", "c"}), SplitLines("a\r\nb\rc\n"));
    EXPECT_EQ(V({"a", "", "b"}), SplitLines("a\n\nb"));
    EXPECT_EQ(V({"a"}), SplitLines(std::string("a\r\n\0b", 5)));
    EXPECT_EQ(V(), SplitLines(""));
}

}  // namespace
}  // namespace orv
