// The one path grammar: drive parts, free-space roots and full roots, at their edges, in
// ASCII and in UTF-8 (where no byte of a character beyond ASCII is a "\" or a ":").
#include "common/PathGrammar.h"
#include "common/PathText.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(PathGrammar, DrivePartsAndRoots) {
    struct Case {
        std::string path;
        size_t drivePart;
        std::string freeSpaceRoot;
        size_t root;
        bool driveLetter;
    } cases[] = {
        {"C:\\Program Files", 2, "C:", 3, true},
        {"e:", 2, "e:", 0, true},
        {"C:x", 2, "C:", 0, true},
        {"1:\\x", 2, "1:", 0, false},  // a drive part, but no drive letter
        {"\\\\srv\\share\\Word", 11, "\\\\srv\\share\\", 12, false},
        {"\\\\srv\\share", 11, "\\\\srv\\share\\", 0, false},
        {"\\\\srv\\", 0, "", 0, false},
        {"\\\\srv\\\\x", 0, "", 0, false},
        {"\\\\\\share", 0, "", 0, false},
        {"\\\\srv", 0, "", 0, false},
        {"\\:x", 2, "\\:", 0, false},
        {"Word", 0, "", 0, false},
        {"", 0, "", 0, false},
        {"C:\\\xE8\xA1\xA8", 2, "C:", 3, true},  // C:\表 (0x5C trail byte in 932)
        {"\\\\\xE3\x82\xBD\\\xE8\xA1\xA8\\x", 9, "\\\\\xE3\x82\xBD\\\xE8\xA1\xA8\\", 10, false},  // \\ソ\表\x
        {"\xC5\x81:\\x", 0, "", 0, false},  // Ł is two bytes: no drive part
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.drivePart, DrivePartLength(c.path)) << c.path;
        EXPECT_EQ(c.drivePart != 0, HasDrivePart(c.path)) << c.path;
        EXPECT_EQ(c.path.substr(0, c.drivePart), DrivePart(c.path)) << c.path;
        EXPECT_EQ(c.freeSpaceRoot, FreeSpaceRoot(c.path)) << c.path;
        EXPECT_EQ(c.root, RootLength(c.path)) << c.path;
        EXPECT_EQ(c.driveLetter, HasDriveLetter(c.path)) << c.path;
    }
}

// Byte-wise path code stays right on UTF-8: a character whose code-page form ends in 0x5C
// (表, ソ, 予 in code page 932) is never cut as if it held a separator.
TEST(PathGrammar, SeparatorsAreNeverFoundInsideCharacters) {
    const std::string hyo = "\xE8\xA1\xA8", so = "\xE3\x82\xBD", yo = "\xE4\xBA\x88";
    EXPECT_EQ("C:\\Apps\\", FolderPart("C:\\Apps\\" + yo + hyo));
    EXPECT_EQ("C:\\" + so + "\\", FolderPart("C:\\" + so + "\\Orvanel"));
    std::string path = "C:\\" + hyo;
    AddBackslash(path);
    EXPECT_EQ("C:\\" + hyo + "\\", path);
    EXPECT_EQ("C:\\" + hyo + "\\x", JoinPath("C:\\" + hyo, "x"));
    EXPECT_EQ('\xA8', LastChar("C:\\" + hyo));
}

}  // namespace
}  // namespace orv
