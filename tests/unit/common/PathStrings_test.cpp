// Path and string helpers: backslashes, joining, comparisons, line splitting.
#include "common/CodePage.h"
#include "common/InstUtils.h"
#include "common/WideApi.h"

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

// Text written in code page 1252 (the test prefix's ANSI code page), as the program's UTF-8.
std::string Cp1252(const std::string& bytes) {
    std::string utf8;
    EXPECT_TRUE(CodePageToUtf8(bytes, 1252, utf8)) << bytes;
    return utf8;
}

// Names that case-insensitive comparisons get wrong: accents, the German sharp s, dotted
// and dotless i (Turkish code page), ligatures, ignorable and punctuation characters, and
// full-width and half-width letters (Japanese code page), next to every character of the
// ANSI code page.
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
    for (std::string& name : names) name = Cp1252(name);
    for (const char* wide : {"\xEF\xBC\xA1", "\xEF\xBD\x81", "\xEF\xBD\xB1", "\xE3\x82\xA2", "\xC4\xB1", "\xC4\xB0"})
        names.push_back(wide);  // Ａ ａ ｱ ア ı İ
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
                const bool equal =
                    ::CompareStringW(locale, NORM_IGNORECASE | SORT_STRINGSORT, TWideArg(names[i]).c_str(), -1,
                                     TWideArg(names[j]).c_str(), -1) == CSTR_EQUAL;
                if (equal == (keys[i] == keys[j])) continue;
                ++mismatches;
                ADD_FAILURE() << "locale " << locale << ": [" << names[i] << "] [" << names[j] << "] compare " << equal;
            }
        }
    }
    // A text is keyed up to its first NUL, as CompareString reads it.
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
// for every character of the ANSI code page, before, after and beside one it leaves to the
// system, and for letters whose capital takes another number of UTF-8 bytes.
TEST(PathStrings, NoCaseComparisonAgreesWithTheSystemForEveryAnsiCharacter) {
    auto systemSame = [](const std::string& a, const std::string& b) {
        TWideText wa(TWideArg(a).text()), wb(TWideArg(b).text());
        ::CharUpperBuffW(wa.data(), static_cast<DWORD>(wa.size()));
        ::CharUpperBuffW(wb.data(), static_cast<DWORD>(wb.size()));
        return wa == wb;
    };
    std::vector<std::string> chars;
    for (int x = 1; x < 256; ++x) chars.push_back(Cp1252(std::string(1, static_cast<char>(x))));
    int disagreements = 0;
    for (const std::string& cx : chars) {
        for (const std::string& cy : chars) {
            const std::string pairs[][2] = {{"ab" + cx, "AB" + cy}, {cx + "z", cy + "Z"}, {cx + "a", cx + "?"}};
            for (const auto& p : pairs)
                if (SameTextNoCase(p[0], p[1]) != systemSame(p[0], p[1])) ++disagreements;
        }
    }
    EXPECT_EQ(0, disagreements);
    EXPECT_TRUE(
        SameTextNoCase("\xC5\x82\xC3\xB3"
                       "d\xC5\xBA",
                       "\xC5\x81\xC3\x93"
                       "D\xC5\xB9"));                                         // łódź ŁÓDŹ
    EXPECT_EQ(systemSame("\xC4\xB1", "I"), SameTextNoCase("\xC4\xB1", "I"));  // dotless i: 2 bytes and 1
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
