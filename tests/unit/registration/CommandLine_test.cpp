// The command line: its arguments and the "-d" destination.
#include "registration/CommandLine.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(CommandLine, SplitsAtBlanksAndControlCharactersWithQuotesGrouping) {
    struct Case {
        std::string line;
        std::vector<std::string> args;
    } cases[] = {
        {"setup.exe", {"setup.exe"}},
        {"  setup.exe   -dE:\\x  ", {"setup.exe", "-dE:\\x"}},
        {"setup.exe\t-dE:\\x\r\nnext", {"setup.exe", "-dE:\\x", "next"}},
        {"\"C:\\My Files\\setup.exe\" \"-dE:\\My Apps\\Orv\"", {"C:\\My Files\\setup.exe", "-dE:\\My Apps\\Orv"}},
        {"setup.exe -d\"E:\\My Apps\"\\Orv", {"setup.exe", "-dE:\\My Apps\\Orv"}},
        {"setup.exe \"unclosed quote", {"setup.exe", "unclosed quote"}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, OnlyAFirstArgumentInLowerCaseGivesTheDestination) {
    struct Case {
        std::string line;
        bool given;
        std::string dest;
    } cases[] = {
        {"setup.exe -dE:\\Apps", true, "E:\\Apps"},
        {"setup.exe -DE:\\Apps", false, ""},
        {"setup.exe /s -dE:\\Apps", false, ""},
        {"\"C:\\My Files\\setup.exe\" \"-dE:\\My Apps\"", true, "E:\\My Apps"},
        {"setup.exe -d", true, ""},
        {"setup.exe -d  ", true, ""},
        {"setup.exe \"-d \"", true, " "},  // taken as given, untrimmed
        {"setup.exe", false, ""},
        {"setup.exe d:\\x", false, ""},
        {"setup.exe -" + std::string(1, 'd') + std::string(400, 'x'), true, std::string(400, 'x')},
    };
    for (const Case& c : cases) {
        std::string dest = "unchanged";
        EXPECT_EQ(DestinationArgument(c.line, dest), c.given) << c.line;
        if (c.given) {
            EXPECT_EQ(dest, c.dest) << c.line;
        }
    }
}

}  // namespace
}  // namespace orv
