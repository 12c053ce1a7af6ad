// Update.log's contents: the stamp line, and the merge of a new block into the old lines.
#include "engine/UpdateLogMerge.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Lines = std::vector<std::string>;

TEST(UpdateLog, StampLineIsTheDoublesBytesInMemoryOrder) {
    EXPECT_EQ("*00000000F066E540", UpdateLogStampLine(43831.5));  // 1 January 2020, 12:00
    EXPECT_EQ("*0000000000000000", UpdateLogStampLine(0.0));
    EXPECT_EQ("*000000000000F03F", UpdateLogStampLine(1.0));
}

TEST(UpdateLog, MergeKeepsOldBlocksAndAppendsThisInstall) {
    struct Case {
        const char* what;
        Lines old, pub, expected;
    } cases[] = {
        {"no file yet", {}, {"f1", "f2"}, {"*C", "f1", "f2"}},
        {"files placed again leave their block",
         {"*A", "f1", "f2", "*B", "f3"},
         {"f1", "f2", "f4"},
         {"*A", "f3", "*C", "f1", "f2", "f4"}},
        {"the old stamp goes with its only file", {"*A", "f1"}, {"f1"}, {"*C", "f1"}},
        {"comparison ignores case", {"*A", "F1", "*B", "x"}, {"f1"}, {"*A", "x", "*C", "f1"}},
        {"empty lines are dropped", {"", "*A", "", "f1", ""}, {"f2"}, {"*A", "f1", "*C", "f2"}},
        {"a suffix makes another line", {"*A", "f1\t!"}, {"f1"}, {"*A", "f1\t!", "*C", "f1"}},
        {"a run of stamps keeps the oldest", {"*A", "*B", "*D", "f1"}, {"f2"}, {"*A", "f1", "*C", "f2"}},
        {"a trailing stamp goes", {"*A", "f1", "*B"}, {"f2"}, {"*A", "f1", "*C", "f2"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, MergeUpdateLog(c.old, c.pub, "*C")) << c.what;
}

TEST(UpdateLog, SortIgnoresCaseAndPutsDotBeforeBackslash) {
    Lines lines = {"c:\\p\\b.txt", "C:\\P\\a\\x", "c:\\p\\C.txt", "C:\\P\\A.txt"};
    SortLogLines(lines);
    EXPECT_EQ(Lines({"C:\\P\\A.txt", "C:\\P\\a\\x", "c:\\p\\b.txt", "c:\\p\\C.txt"}), lines);
}

}  // namespace
}  // namespace orv
