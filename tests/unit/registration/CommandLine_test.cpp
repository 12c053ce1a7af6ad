// The command line: its arguments, the "-d" destination, the switches and every kind of bad
// command line.
#include "registration/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
        // Full-width quotes are letters like any other: they neither group nor end an argument.
        {"setup.exe /DIR=E:\\Apps\xEF\xBC\x82 \xEF\xBC\x82/LOG=x",
         {"setup.exe", "/DIR=E:\\Apps\xEF\xBC\x82", "\xEF\xBC\x82/LOG=x"}},
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

TEST(Switches, SoundCommandLinesAreReadAsGiven) {
    struct Case {
        std::string line;
        std::vector<std::string> described;
    } cases[] = {
        {"setup.exe", {}},
        {"setup.exe /S", {"/S"}},
        {"setup.exe /silent /s", {"/S"}},
        {"setup.exe -dE:\\Apps\\Orv /S", {"-dE:\\Apps\\Orv", "/S"}},
        {"setup.exe /S \"/DIR=E:\\My Apps\\Orv\"", {"/S", "/DIR=E:\\My Apps\\Orv"}},
        {"setup.exe /S /DIR=\"E:\\My Apps\\Orv\\\"", {"/S", "/DIR=E:\\My Apps\\Orv\\"}},
        {"setup.exe /dir=e:  /DIR=E:", {"/DIR=e:"}},
        {"setup.exe /DIR=\\\\server\\share\\Orv", {"/DIR=\\\\server\\share\\Orv"}},
        {"setup.exe /COMPONENTS=Templates,spell", {"/COMPONENTS=spell,templates"}},
        {"setup.exe /COMPONENTS= /COMPONENTS=", {"/COMPONENTS="}},
        {"setup.exe \"/COMPONENTS=clips, sounds ,hyphen\"", {"/COMPONENTS=hyphen,clips,sounds"}},
        {"setup.exe /COMPONENTS=spell,hyphen /COMPONENTS=hyphen,spell", {"/COMPONENTS=spell,hyphen"}},
        {"setup.exe /AllUsers /ALLUSERS", {"/ALLUSERS"}},
        {"setup.exe /CURRENTUSER", {"/CURRENTUSER"}},
        {"setup.exe /ASSOC=dba", {"/ASSOC=ABD"}},
        {"setup.exe /ASSOC=", {"/ASSOC="}},
        {"setup.exe /LAUNCH /launch", {"/LAUNCH"}},
        {"setup.exe /LOG=C:\\Temp\\setup.log", {"/LOG=C:\\Temp\\setup.log"}},
        {"setup.exe /? /HELP", {"/?"}},
        // Without /S what is not a switch is passed over, as the wizard always did.
        {"setup.exe -DE:\\x", {}},
        {"setup.exe -x -dE:\\x S \"\" /LAUNCH", {"/LAUNCH"}},
    };
    for (const Case& c : cases) {
        const TCommandLineResult r = ParseCommandLine(c.line);
        EXPECT_TRUE(r.Valid) << c.line << ": " << r.Error;
        EXPECT_EQ(c.described, DescribeCommandLine(r.Switches)) << c.line;
    }
}

TEST(Switches, ValuesLandInTheirFields) {
    const TCommandLineResult r = ParseCommandLine(
        "setup.exe -dC:\\Old /s /DIR=\" E:\\Orv \" /COMPONENTS=spell,sounds /CURRENTUSER "
        "/ASSOC=c /LAUNCH /LOG=x.log");
    ASSERT_TRUE(r.Valid) << r.Error;
    const TCommandLine& s = r.Switches;
    EXPECT_TRUE(s.Silent);
    EXPECT_TRUE(s.HasDestArgument);
    EXPECT_EQ("C:\\Old", s.DestArgument);
    EXPECT_EQ("E:\\Orv", s.Dir);  // blanks around the value go, as on the destination page
    EXPECT_EQ((1u << 1) | (1u << 5), s.Components);
    EXPECT_TRUE(s.HasInstallToAll);
    EXPECT_FALSE(s.InstallToAll);
    EXPECT_EQ("C", s.Assoc);
    EXPECT_TRUE(s.Launch);
    EXPECT_EQ("x.log", s.LogFile);
    EXPECT_FALSE(s.Help);
}

TEST(Switches, BadCommandLinesNameTheArgumentAtFault) {
    struct Case {
        std::string line;
        std::string badArgument;
        std::string errorPart;
    } cases[] = {
        {"setup.exe /X", "/X", "/X is not a switch"},
        {"setup.exe /S /Silentt", "/Silentt", "/SILENTT is not a switch"},
        {"setup.exe /S S", "S", "switches start with \"/\""},
        {"setup.exe /S \"\"", "", "empty argument"},
        {"setup.exe /S -dE:\\x", "-dE:\\x", "first argument"},
        {"setup.exe /S -DE:\\x", "-DE:\\x", "switches start with"},
        {"setup.exe /S=1", "/S=1", "takes no value"},
        {"setup.exe /LAUNCH=yes", "/LAUNCH=yes", "takes no value"},
        {"setup.exe /DIR", "/DIR", "needs \"=\""},
        {"setup.exe /DIR=", "/DIR=", "needs a folder"},
        {"setup.exe \"/DIR=  \"", "/DIR=  ", "needs a folder"},
        {"setup.exe /DIR=Apps\\Orv", "/DIR=Apps\\Orv", "full path"},
        {"setup.exe /DIR=C:Apps", "/DIR=C:Apps", "full path"},
        {"setup.exe /DIR=\\\\server", "/DIR=\\\\server", "full path"},
        {"setup.exe /DIR=1:\\x", "/DIR=1:\\x", "full path"},
        {"setup.exe /DIR=C:\\a|b", "/DIR=C:\\a|b", "character"},
        {"setup.exe /DIR=C:\\a:b", "/DIR=C:\\a:b", "character"},
        {"setup.exe /DIR=C:/Apps", "/DIR=C:/Apps", "full path"},
        {"setup.exe /DIR=C:\\a/b", "/DIR=C:\\a/b", "character"},
        {"setup.exe /DIR=E:\\a /DIR=E:\\b", "/DIR=E:\\b", "twice with different values"},
        // A silent run takes "-d" under the rules of /DIR=; the wizard shows what it made of it.
        {"setup.exe -dApps /S", "-dApps", "\"-d\" destination needs a full path"},
        {"setup.exe -d\\Apps\\Orvanel /S", "-d\\Apps\\Orvanel", "full path"},
        {"setup.exe -dC:Apps /S", "-dC:Apps", "full path"},
        {"setup.exe -d /S", "-d", "needs a folder"},
        {"setup.exe /COMPONENTS", "/COMPONENTS", "needs \"=\""},
        {"setup.exe /COMPONENTS=spel", "/COMPONENTS=spel", "unknown component \"spel\""},
        {"setup.exe /COMPONENTS=program", "/COMPONENTS=program", "unknown component"},
        {"setup.exe /COMPONENTS=spell,", "/COMPONENTS=spell,", "empty name"},
        {"setup.exe /COMPONENTS=,spell", "/COMPONENTS=,spell", "empty name"},
        {"setup.exe /COMPONENTS=spell /COMPONENTS=", "/COMPONENTS=", "twice with different values"},
        {"setup.exe /ALLUSERS /CURRENTUSER", "/CURRENTUSER", "contradicts"},
        {"setup.exe /ASSOC=E", "/ASSOC=E", "A, B, C and D"},
        {"setup.exe /ASSOC=A,B", "/ASSOC=A,B", "A, B, C and D"},
        {"setup.exe /ASSOC=A /ASSOC=B", "/ASSOC=B", "twice with different values"},
        {"setup.exe /LOG=", "/LOG=", "needs a file name"},
        {"setup.exe /LOG=a.log /LOG=b.log", "/LOG=b.log", "twice with different values"},
    };
    for (const Case& c : cases) {
        const TCommandLineResult r = ParseCommandLine(c.line);
        EXPECT_FALSE(r.Valid) << c.line;
        EXPECT_EQ(c.badArgument, r.BadArgument) << c.line;
        EXPECT_NE(std::string::npos, r.Error.find(c.errorPart)) << c.line << ": " << r.Error;
    }
}

// A silent run must not open a window to report its own bad command line, wherever /S is,
// and writes its log wherever /LOG= is.
TEST(Switches, SilentIsKnownEvenWhenTheLineIsBad) {
    for (const char* line : {"setup.exe /X /S", "setup.exe /S /X", "setup.exe /DIR= /silent", "setup.exe -dE: q /s"}) {
        const TCommandLineResult r = ParseCommandLine(line);
        EXPECT_FALSE(r.Valid) << line;
        EXPECT_TRUE(r.Switches.Silent) << line;
    }
    EXPECT_FALSE(ParseCommandLine("setup.exe /X").Switches.Silent);
    // The log named after the fault still gets to say what the fault was.
    const TCommandLineResult r = ParseCommandLine("setup.exe /S /X /DIR= /LOG=a.log");
    EXPECT_EQ("/X", r.BadArgument);
    EXPECT_EQ("a.log", r.Switches.LogFile);
}

TEST(Switches, UsageListsEveryShortNameAndExitCode) {
    const std::string usage = UsageText();
    for (const char* name : ComponentShortNames) EXPECT_NE(std::string::npos, usage.find(name)) << name;
    for (int code : ExitCodes) {
        ASSERT_STRNE("", ExitCodeText(code)) << code;
        EXPECT_NE(std::string::npos, usage.find(std::to_string(code) + " " + ExitCodeText(code))) << code;
    }
    EXPECT_STREQ("", ExitCodeText(ecLogNotWritable + 1));
}

}  // namespace
}  // namespace orv
