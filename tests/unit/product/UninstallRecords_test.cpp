// The uninstaller's reading of Install.log and Update.log, its path rules and its plan.
#include "CommandLine.h"
#include "UninstallRecords.h"

#include <gtest/gtest.h>

namespace orv::uninstall {
namespace {

using Lines = std::vector<std::string>;

TEST(UninstallRecords, InstallLogKeepsEachRecordedPathOnceInLogOrder) {
    // Every kind of line break, a repeat in other letter case, lines of no interest; a NUL
    // ends the text.
    const char raw[] =
        "Made Dir: C:\\Apps\\\r\nMade Dir: C:\\Apps\\Orvanel\\\rFile Copy: C:\\Apps\\Orvanel\\orv.exe\n"
        "\r\nfile copy: C:\\lower\\case.txt\r\nFile Copy: \r\nFile Copy: C:\\APPS\\ORVANEL\\ORV.EXE\r\n"
        "Made Dir: C:\\apps\\\r\nSomething else\r\nFile Copy: C:\\Apps\\Orvanel\\License.txt\0"
        "File Copy: C:\\after\\nul.txt\r\n";
    const TInstallRecord record = ReadInstallLog(std::string(raw, sizeof raw - 1));
    EXPECT_EQ(Lines({"C:\\Apps\\Orvanel\\orv.exe", "C:\\Apps\\Orvanel\\License.txt"}), record.Files);
    EXPECT_EQ(Lines({"C:\\Apps", "C:\\Apps\\Orvanel"}), record.Folders);
}

TEST(UninstallRecords, UpdateLogListsTheFilesBelowStampLinesWithoutTheKeepMark) {
    const std::string text =
        "C:\\before\\stamp.txt\r\n*00000000F066E540\r\nC:\\D\\Public\\a.txt\r\nC:\\D\\Public\\b.txt\t!\r\n\r\n"
        "*00000000F066E541\nc:\\d\\public\\A.TXT\rC:\\D\\Public\\c.txt\t!x\r\n";
    EXPECT_EQ(Lines({"C:\\D\\Public\\a.txt", "C:\\D\\Public\\b.txt", "C:\\D\\Public\\c.txt\t!x"}), ReadUpdateLog(text));
    EXPECT_EQ(Lines(), ReadUpdateLog(""));
    EXPECT_EQ(Lines(), ReadUpdateLog("*0011\r\n*0022\r\n"));
}

TEST(UninstallRecords, OnlyPlainAbsolutePathsCount) {
    struct Case {
        const char* path;
        bool plain;
    } cases[] = {
        {"C:\\Apps\\Orvanel\\orv.exe", true},
        {"e:\\x", true},
        {"\\\\server\\share\\dir\\file.txt", true},
        {"C:\\Apps\\English (American).asc", true},
        {"C:\\", false},
        {"C:", false},
        {"C:x", false},
        {"Orvanel\\orv.exe", false},
        {"\\Apps\\orv.exe", false},
        {"C:\\Apps\\..\\Windows\\win.ini", false},
        {"C:\\Apps\\.\\orv.exe", false},
        {"C:\\Apps\\\\orv.exe", false},
        {"C:\\Apps\\orv.exe\\", false},
        {"C:\\Apps\\orv.exe:stream", false},
        {"C:\\Apps/orv.exe", false},
        {"C:\\Apps\\*.exe", false},
        {"C:\\Apps\\orv.exe.", false},
        {"C:\\Apps \\orv.exe", false},
        {"C:\\Apps\\o\trv.exe", false},
        {"\\\\?\\C:\\Apps\\orv.exe", false},
        {"\\\\.\\C:\\Apps\\orv.exe", false},
        {"\\\\server\\\\share\\x", false},
        {"\\\\server\\share", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.plain, IsPlainAbsolutePath(c.path)) << c.path;
}

TEST(UninstallRecords, PathRelations) {
    EXPECT_TRUE(IsBelow("C:\\Apps\\Orvanel\\orv.exe", "c:\\apps\\orvanel"));
    EXPECT_TRUE(IsBelow("C:\\Apps", "C:\\"));
    EXPECT_FALSE(IsBelow("C:\\Apps\\Orvanel2\\orv.exe", "C:\\Apps\\Orvanel"));
    EXPECT_FALSE(IsBelow("C:\\Apps\\Orvanel", "C:\\Apps\\Orvanel"));
    EXPECT_FALSE(IsBelow("C:\\Apps\\Orvanel\\", "C:\\Apps\\Orvanel"));
    EXPECT_FALSE(IsBelow("C:\\x", ""));
    EXPECT_EQ("C:\\Apps", ParentFolder("C:\\Apps\\Orvanel"));
    EXPECT_EQ("C:\\", ParentFolder("C:\\Apps"));
    EXPECT_EQ("", ParentFolder("C:\\"));
    EXPECT_EQ("orv.exe", FileNamePart("C:\\Apps\\orv.exe"));
    EXPECT_EQ("C:\\Apps", WithoutFinalBackslash("C:\\Apps\\\\"));
    EXPECT_EQ("C:\\", WithoutFinalBackslash("C:\\"));
    EXPECT_TRUE(CommandStartsProgram("\"C:\\Apps\\orv.exe\" -ui", "c:\\apps\\ORV.EXE"));
    EXPECT_TRUE(CommandStartsProgram("  C:\\Apps\\orv.exe \"%1\"", "C:\\Apps\\orv.exe"));
    EXPECT_FALSE(CommandStartsProgram("\"C:\\Other\\orv.exe\" -ui", "C:\\Apps\\orv.exe"));
    EXPECT_FALSE(CommandStartsProgram("\"C:\\Apps\\orv.exe -ui", "C:\\Apps\\orv.exe"));
    EXPECT_FALSE(CommandStartsProgram("", "C:\\Apps\\orv.exe"));
}

TEST(UninstallRecords, PlanRemovesRecordedFilesThenBookkeepingThenTheProgramAndFoldersDeepestFirst) {
    TInstallRecord record;
    record.Folders = {"C:\\Apps",    "C:\\Apps\\Orvanel",    "C:\\Data\\Orvanel", "C:\\Start\\Programs",
                      "C:\\Windows", "C:\\Apps\\..\\Windows"};
    record.Files = {"C:\\Apps\\Orvanel\\orv.exe",
                    "C:\\Apps\\Orvanel\\License.txt",
                    "C:\\Apps\\Orvanel\\Install.log",
                    "C:\\Data\\Orvanel\\Public\\Basic.asn",
                    "C:\\Start\\Programs\\Orvanel Word Processor.lnk",
                    "C:\\Desktop\\orvanel word processor.LNK",
                    "C:\\Windows\\system32\\kernel32.dll",
                    "C:\\Users\\Me\\Documents\\Orvanel Word Processor.lnk",
                    "C:\\Apps\\Orvanel\\..\\..\\Windows\\win.ini"};
    const Lines publicFiles = {"C:\\Data\\Orvanel\\Public\\Basic.asn",
                               "C:\\Data\\Orvanel\\Public\\Clip Library\\A\\x.clp", "C:\\Elsewhere\\y.txt"};
    const TUninstallScope scope = {"C:\\Apps\\Orvanel",
                                   "C:\\Data\\Orvanel",
                                   "orv.exe",
                                   "Orvanel Word Processor.lnk",
                                   {"C:\\Start\\Programs", "C:\\Desktop\\"}};
    const TRemovalPlan plan = PlanRemoval(record, publicFiles, scope);

    EXPECT_EQ(Lines({"C:\\Apps\\Orvanel\\License.txt", "C:\\Data\\Orvanel\\Public\\Basic.asn",
                     "C:\\Start\\Programs\\Orvanel Word Processor.lnk", "C:\\Desktop\\orvanel word processor.LNK",
                     "C:\\Data\\Orvanel\\Public\\Clip Library\\A\\x.clp", "C:\\Apps\\Orvanel\\Install.log",
                     "C:\\Data\\Orvanel\\Update.log", "C:\\Data\\Orvanel\\Hidden\\install_stamp",
                     "C:\\Data\\Orvanel\\Orvanel.ini", "C:\\Apps\\Orvanel\\orv.exe"}),
              plan.Files);
    EXPECT_EQ(Lines({"C:\\Data\\Orvanel\\Public\\Clip Library\\A", "C:\\Data\\Orvanel\\Public\\Clip Library",
                     "C:\\Data\\Orvanel\\Public\\Spellcheck", "C:\\Data\\Orvanel\\Public", "C:\\Data\\Orvanel\\Hidden",
                     "C:\\Apps\\Orvanel", "C:\\Data\\Orvanel", "C:\\Start\\Programs", "C:\\Apps"}),
              plan.Folders);
    EXPECT_EQ(Lines({"C:\\Windows\\system32\\kernel32.dll", "C:\\Users\\Me\\Documents\\Orvanel Word Processor.lnk",
                     "C:\\Apps\\Orvanel\\..\\..\\Windows\\win.ini", "C:\\Elsewhere\\y.txt", "C:\\Windows",
                     "C:\\Apps\\..\\Windows"}),
              plan.Refused);
}

TEST(UninstallRecords, PlanWithoutLogsStillTakesTheBookkeepingFilesAndTheFolder) {
    const TUninstallScope scope = {"D:\\Orvanel", "", "orv.exe", "Orvanel Word Processor.lnk", {}};
    const TRemovalPlan plan = PlanRemoval(TInstallRecord(), Lines(), scope);
    EXPECT_EQ(Lines({"D:\\Orvanel\\Install.log", "D:\\Orvanel\\orv.exe"}), plan.Files);
    EXPECT_EQ(Lines({"D:\\Orvanel"}), plan.Folders);

    // Installed at a drive root: one backslash in every path, and the root stays.
    const TRemovalPlan atRoot = PlanRemoval(TInstallRecord(), Lines(), {"D:\\", "", "orv.exe", "x.lnk", {}});
    EXPECT_EQ(Lines({"D:\\Install.log", "D:\\orv.exe"}), atRoot.Files);
    EXPECT_EQ(Lines(), atRoot.Folders);
}

#if defined(_WIN32)  // the Linux build of the parsers folds ASCII letters only
TEST(UninstallRecords, ListsCompareNamesOutsideAsciiByTheSystemsCaseRules) {
    // Install.log wrote the folder with a capital A umlaut, the program finds itself below a
    // small one: the program still goes last, and a file recorded twice in other letter case
    // is removed once.
    const std::string upper = "C:\\\xC3\x84rger", lower = "C:\\\xC3\xA4rger";
    TInstallRecord record;
    record.Files = {upper + "\\orv.exe", upper + "\\a.txt", lower + "\\A.TXT"};
    const TRemovalPlan plan = PlanRemoval(record, Lines(), {lower, "", "orv.exe", "x.lnk", {}});
    EXPECT_EQ(Lines({upper + "\\a.txt", lower + "\\Install.log", lower + "\\orv.exe"}), plan.Files);
}
#endif

TEST(UninstallCommandLine, ArgumentsAndSwitches) {
    EXPECT_EQ(Lines({"-ui", "/S", "/DIR=C:\\Program Files\\Orvanel", "a\"b"}),
              SplitArguments("\"C:\\x y\\orv.exe\"  -ui\t/S \"/DIR=C:\\Program Files\\Orvanel\" a\"b"));
    EXPECT_EQ(Lines({"-ui"}), SplitArguments("orv.exe -ui "));
    EXPECT_EQ(Lines(), SplitArguments("\"unterminated"));
    EXPECT_EQ(Lines(), SplitArguments(nullptr));

    TUninstallArgs a = ParseUninstallArgs({"/s", "/dir=C:\\A", "/Wait=12", "/REPORT=34", "/X"});
    EXPECT_TRUE(a.Silent);
    EXPECT_EQ("C:\\A", a.Folder);
    EXPECT_EQ(12u, a.WaitHandle);
    EXPECT_EQ(34u, a.ReportPipe);
    EXPECT_TRUE(a.IsWorkingCopy());

    a = ParseUninstallArgs({"/SILENT", "/WAIT=1x", "/REPORT=99999999999999999999", "/DIR=C:\\A"});
    EXPECT_FALSE(a.Silent);
    EXPECT_EQ(0u, a.WaitHandle);
    EXPECT_EQ(0u, a.ReportPipe);
    EXPECT_FALSE(a.IsWorkingCopy());
}

}  // namespace
}  // namespace orv::uninstall
