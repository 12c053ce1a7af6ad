// Path and string helpers: backslashes, joining, comparisons, line splitting.
#include "common/InstUtils.h"

#include <gtest/gtest.h>

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

TEST(PathStrings, ComparisonsIgnoreCase) {
    EXPECT_TRUE(SameTextNoCase("templates\\", "Templates\\"));
    EXPECT_FALSE(SameTextNoCase("Template", "Templates\\"));
    EXPECT_TRUE(SameTextLocale("File Copy: C:\\A", "file copy: c:\\a"));
    EXPECT_LT(CompareTextLocale("a", "B"), 0);
    EXPECT_GT(CompareTextLocale("b", "A"), 0);
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
