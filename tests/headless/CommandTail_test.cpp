// The setup's arguments are found in the walker's command line exactly as Wine wrote them,
// and a silent switch among them is recognised however it is spelt.
#include "CommandTail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv::walk {
namespace {

TEST(CommandTail, TheTextAfterTheSeparatorIsKeptAsWritten) {
    struct Case {
        const char* line;
        const char* tail;
    };
    const Case cases[] = {
        {"Z:\\b\\RunSetupDriver.exe Z:\\b\\shots --", ""},
        {"Z:\\b\\RunSetupDriver.exe Z:\\b\\shots -- -dE:\\Apps\\Orvanel", "-dE:\\Apps\\Orvanel"},
        {"\"Z:\\b c\\Run.exe\" shots --   \"-dC:\\Program Files\\Orvanel\" /S", "\"-dC:\\Program Files\\Orvanel\" /S"},
        // A quoted "--", or one inside a quoted group, is an argument of the picture folder.
        {"Run.exe \"--\" -- /DIR=\"C:\\a b\"", "/DIR=\"C:\\a b\""},
        {"Run.exe \"a -- b\" -- x", "x"},
        {"Run.exe \"a\\\" -- b\" -- d", "d"},
        // Only the first separator counts; later ones belong to the setup.
        {"Run.exe shots -- -- /S", "-- /S"},
        // The program name ends at its closing quote, whatever backslashes it holds.
        {"\"C:\\dir\\\" -- x", "x"},
        {"Run.exe shots", ""},
        {"Run.exe shots --x", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.tail, TextAfterSeparator(c.line)) << c.line;
}

TEST(CommandTail, ArgumentsSplitByTheWindowsRules) {
    using Args = std::vector<std::string>;
    EXPECT_EQ(Args(), SplitArguments("   "));
    EXPECT_EQ(Args({"-dC:\\Program Files\\X", "/S"}), SplitArguments("\"-dC:\\Program Files\\X\"  /S"));
    EXPECT_EQ(Args({"/DIR=C:\\a b\\"}), SplitArguments("/DIR=\"C:\\a b\\\\\""));
    EXPECT_EQ(Args({"a\"b", "c\\\\d"}), SplitArguments("a\\\"b\tc\\\\d"));
    EXPECT_EQ(Args({""}), SplitArguments("\"\""));
}

TEST(CommandTail, SilentSwitchesInAnyLetterCase) {
    using Args = std::vector<std::string>;
    for (const Args& silent : {Args({"/S"}), Args({"/s"}), Args({"-dE:\\X", "/Silent"}), Args({"/SILENT", "/LOG=x"})})
        EXPECT_TRUE(AsksForSilentInstall(silent)) << silent[0];
    for (const Args& wizard :
         {Args(), Args({"-dE:\\S"}), Args({"/S2"}), Args({"S"}), Args({"/SILENTLY"}), Args({"/DIR=/S"}), Args({"-S"})})
        EXPECT_FALSE(AsksForSilentInstall(wizard)) << (wizard.empty() ? "" : wizard[0]);
}

}  // namespace
}  // namespace orv::walk
