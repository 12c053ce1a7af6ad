// The destination text made usable: trimming, the drive, "Orvanel" after a root.
#include "engine/DestDirNormalize.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(DestDirPage, NormalizeDestDirCases) {
    const std::string pf = "C:\\Program Files";
    struct Case {
        const char* text;
        char drive;
        const char* result;
    } cases[] = {
        {"  C:\\Data\\Word  ", 'c', "C:\\Data\\Word"},
        {"C:\\", 'e', "C:\\Orvanel"},
        {"C:", 'e', "C:\\Orvanel"},
        {"c:\\program files", 'c', "c:\\program files\\Orvanel"},
        {"C:\\PROGRAM FILES\\", 'c', "C:\\PROGRAM FILES\\Orvanel"},
        {"C:\\Data\\\\", 'c', "C:\\Data\\Orvanel"},
        {"Apps", 'e', "e:\\Orvanel"},
        {"", 'c', "c:\\Orvanel"},
        {"   ", 'r', "r:\\Orvanel"},
        {"\tC:\\x", 'c', "c:\\Orvanel"},  // only blanks are trimmed; a tab leaves no drive part
        {"\\\\server\\share\\Word", 'c', "\\\\server\\share\\Word"},
        {"\\\\server\\share\\", 'c', "\\\\server\\share"},
        {"\\\\server\\", 'c', "c:\\Orvanel"},
        {"\\\\server", 'c', "c:\\Orvanel"},
        {"Apps", ' ', "C:\\Orvanel"},  // no drive chosen yet: the program-files drive
        {"E:\\Word\\", 'c', "E:\\Word"},
        {"E:\\Word \\", 'c', "E:\\Word"},  // blanks before the final backslash go with it
        {"E:\\ \\", 'c', "E:\\Orvanel"},
        // UTF-8 names whose last byte in code page 932 is a backslash: C:\表, C:\ソフト\.
        {"C:\\\xE8\xA1\xA8", 'c', "C:\\\xE8\xA1\xA8"},
        {"C:\\\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88\\", 'c', "C:\\\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88"},
        // Runs of backslashes inside the path are one, as Windows takes them.
        {"C:\\Apps\\\\Orvanel", 'c', "C:\\Apps\\Orvanel"},
        {"C:\\\\\\Apps\\Orvanel\\", 'c', "C:\\Apps\\Orvanel"},
        {"C:\\Data\\\\\\", 'c', "C:\\Data\\Orvanel"},
        {"\\\\\\server\\\\share\\\\Word", 'c', "\\\\server\\share\\Word"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, NormalizeDestDir(c.text, c.drive, pf)) << "[" << c.text << "]";
    EXPECT_EQ("c:\\Orvanel", NormalizeDestDir("x", ' ', "")) << "no program-files folder at all";
}

}  // namespace
}  // namespace orv
