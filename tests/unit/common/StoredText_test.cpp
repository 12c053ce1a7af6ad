// Stored text files: ANSI bytes as ever when ANSI holds every character, else UTF-8 after a
// byte-order mark; every reader takes both, and refuses what is neither.
#include "common/InstUtils.h"
#include "common/StoredText.h"
#include "common/TextLogFile.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

const std::string Lodz =
    "C:\\\xC5\x81\xC3\xB3"
    "d\xC5\xBA";                             // not in code page 1252
const std::string Cafe = "C:\\caf\xC3\xA9";  // in code page 1252

TEST(StoredText, AnsiWhereItCanBeUtf8WithAMarkWhereNot) {
    struct Case {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"File Copy: C:\\x\r\n", "File Copy: C:\\x\r\n"},
        {"File Copy: " + Cafe + "\r\n", "File Copy: C:\\caf\xE9\r\n"},
        {"a\r\n" + Lodz + "\r\n",
         "\xEF\xBB\xBF"
         "a\r\n" +
             Lodz + "\r\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bytes, EncodeStoredText(c.text)) << c.text;
        std::string back;
        EXPECT_TRUE(DecodeStoredText(c.bytes, back)) << c.text;
        EXPECT_EQ(c.text, back);
    }
    std::string text = "x";
    EXPECT_FALSE(
        DecodeStoredText("\xEF\xBB\xBF"
                         "C:\\\xC3(",
                         text));  // a mark, then no UTF-8
    EXPECT_EQ("", text);
}

// A log written a line at a time stays ANSI until a line ANSI cannot hold, then the whole
// file is UTF-8 after the mark; the readers read it back line for line.
TEST(StoredText, ALogSwitchesFormWholeAtTheFirstLineAnsiCannotHold) {
    test::ScratchFolder scratch("stored");
    const std::string path = scratch / "progress.log";
    TTextLogFile log;
    ASSERT_TRUE(log.Create(path));
    log.Line("Destination: " + Cafe);
    EXPECT_EQ("Destination: C:\\caf\xE9\r\n", test::ReadFileBytes(path));
    log.Line("Destination: " + Lodz);
    log.Line("End");
    const std::string all = "Destination: " + Cafe + "\r\nDestination: " + Lodz + "\r\nEnd\r\n";
    EXPECT_EQ("\xEF\xBB\xBF" + all, test::ReadFileBytes(path));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(path, lines));
    EXPECT_EQ((std::vector<std::string>{"Destination: " + Cafe, "Destination: " + Lodz, "End"}), lines);
}

}  // namespace
}  // namespace orv
