// Folder tests, folder creation and deletion, temporary names and cluster rounding.
#include "common/CodePage.h"
#include "common/InstUtils.h"
#include "support/Automation.h"
#include "support/ChildProcess.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orv {
namespace {

using test::ScratchFolder;

class InstallLogScope {  // a fresh install log list for one test
public:
    InstallLogScope() { CreateInstallLogList(); }
    ~InstallLogScope() { FreeInstallLogList(); }
};

TEST(Folders, FolderExistsWantsTheSystemsOwnSpelling) {
    ScratchFolder tmp;
    EXPECT_TRUE(FolderExists("c:\\windows"));
    EXPECT_TRUE(FolderExists("C:\\Windows\\"));
    EXPECT_FALSE(FolderExists("C:\\Windows\\..\\Windows"));
    EXPECT_FALSE(FolderExists("C:/Windows"));
    EXPECT_FALSE(FolderExists(""));
    EXPECT_FALSE(FolderExists(tmp / "missing"));
    test::WriteFileBytes(tmp / "file", "x");
    EXPECT_FALSE(FolderExists(tmp / "file"));
}

// The folder test as the system answers it when the folder is really made current and the
// current folder read back; FolderExists must give the same answer without doing that.
bool FolderExistsByMakingItCurrent(const std::string& path) {
    std::string p = path;
    AddBackslash(p);
    if (p.empty()) return false;
    const std::string before = GetCurrentFolder();
    ::SetCurrentDirectoryA(p.c_str());
    const bool same = SameTextNoCase(GetCurrentFolder(), p);
    ::SetCurrentDirectoryA(before.c_str());
    return same;
}

TEST(Folders, FolderExistsAnswersAsMakingTheFolderCurrentWould) {
    ScratchFolder tmp;
    ::CreateDirectoryA((tmp / "Sub").c_str(), nullptr);
    ::CreateDirectoryA((tmp / "with space").c_str(), nullptr);
    test::WriteFileBytes(tmp / "file", "x");
    char shortName[MAX_PATH] = {};
    ::GetShortPathNameA((tmp / "with space").c_str(), shortName, MAX_PATH);
    const char* const named[] = {"",
                                 "C:",
                                 "c:",
                                 "C:\\",
                                 "c:\\windows",
                                 "C:\\WINDOWS\\SYSTEM32\\",
                                 "C:\\Windows\\.",
                                 "C:\\Windows\\.\\",
                                 "C:\\Windows\\..\\Windows",
                                 "C:/Windows",
                                 "C:\\\\Windows",
                                 "C:Windows",
                                 "\\Windows",
                                 "Windows",
                                 ".",
                                 "..",
                                 "Q:\\",
                                 "\\\\nosuchserver\\share\\",
                                 "\\\\?\\C:\\Windows",
                                 "\\\\.\\C:\\",
                                 "C:\\Windows\\ ",
                                 "E:\\",
                                 "T:\\",
                                 shortName};
    std::vector<std::string> paths(std::begin(named), std::end(named));
    for (const char* name :
         {"Sub", "SUB\\", "Sub.", "Sub ", "Sub\\..\\Sub", "Sub/", "with space", "file", "missing", "file\\", "."})
        paths.push_back(tmp / name);
    // Lengths about the system's limit for a current folder.
    std::vector<std::wstring> longNames;
    for (size_t length = 250; length <= 264; ++length) {
        const std::string path = tmp.Path() + "\\" + std::string(length - tmp.Path().size() - 2, 'L');
        const std::string longName = "\\\\?\\" + path;  // past the A functions' limit
        longNames.emplace_back(longName.begin(), longName.end());
        ASSERT_TRUE(::CreateDirectoryW(longNames.back().c_str(), nullptr)) << length;
        paths.push_back(path);
        paths.push_back(path + "\\");
        paths.push_back(path + "x");
    }
    const std::string current = GetCurrentFolder();
    for (const std::string& path : paths) {
        EXPECT_EQ(FolderExistsByMakingItCurrent(path), FolderExists(path)) << path << " (" << path.size() << ")";
        EXPECT_EQ(current, GetCurrentFolder()) << path;
    }
    for (const std::wstring& longName : longNames) ::RemoveDirectoryW(longName.c_str());
    EXPECT_TRUE(FolderExists(tmp / "Sub"));  // the table holds answers of both kinds
    EXPECT_FALSE(FolderExists(tmp / "file"));
}

TEST(Folders, FolderTestsLeaveTheCurrentFolderAsItWas) {
    ScratchFolder tmp;
    ::SetCurrentDirectoryA(tmp.Path().c_str());
    const std::string before = GetCurrentFolder();
    FolderExists("C:\\Windows");
    GetClusterSize("C:\\Windows");
    ForceFolders(tmp / "a\\b");
    EXPECT_EQ(before, GetCurrentFolder());
    ::SetCurrentDirectoryA("C:\\");
}

TEST(Folders, ForceFoldersCreatesAndLogsEveryMissingLevelTopDown) {
    ScratchFolder tmp;
    InstallLogScope log;
    ::CreateDirectoryA((tmp / "a").c_str(), nullptr);
    ForceFolders(tmp / "a\\b\\c");
    EXPECT_TRUE(FolderExists(tmp / "a\\b\\c"));
    std::vector<std::string> expected = {"Made Dir: " + tmp / "a\\b\\", "Made Dir: " + tmp / "a\\b\\c"};
    EXPECT_EQ(expected, InstallLogLines());
    ForceFolders(tmp / "a\\b\\c");  // nothing new to make, nothing new to log
    EXPECT_EQ(expected, InstallLogLines());
}

TEST(Folders, ForceFoldersTakesAKnownFolderAsFoundUntilTheListIsCleared) {
    ScratchFolder tmp;
    InstallLogScope log;
    TKnownFolders known;
    const std::string folder = tmp / "a\\b\\";
    ForceFolders(folder, &known);  // made here, not yet seen to exist
    EXPECT_FALSE(known.Contains(folder));
    EXPECT_TRUE(known.MadeHere(folder) && known.MadeHere(tmp / "a\\"));
    EXPECT_FALSE(known.MadeHere(tmp / ""));  // found, not made
    ForceFolders(folder, &known);
    EXPECT_TRUE(known.Contains(folder));
    ::RemoveDirectoryA(folder.c_str());
    ForceFolders(folder, &known);  // not asked again
    EXPECT_FALSE(FolderExists(folder));
    known.Clear();
    EXPECT_FALSE(known.MadeHere(folder));
    ForceFolders(folder, &known);
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(std::vector<std::string>({"Made Dir: " + tmp / "a\\", "Made Dir: " + folder}), InstallLogLines());
}

TEST(Folders, ForceFoldersEndsOnMissingDrivesAndShares) {
    InstallLogScope log;
    ForceFolders("");
    ForceFolders("\\\\nosuchserver\\share\\dir");  // must return, not recurse forever
    ForceFolders("Q:\\x\\y");
    std::vector<std::string> lines = InstallLogLines();
    // The walk goes up to the bare drive name and logs every level, that one included.
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ("Made Dir: Q:", lines[lines.size() - 4]);
    EXPECT_EQ("Made Dir: Q:\\", lines[lines.size() - 3]);
    EXPECT_EQ("Made Dir: Q:\\x\\", lines[lines.size() - 2]);
    EXPECT_EQ("Made Dir: Q:\\x\\y", lines.back());
}

TEST(Folders, DeleteTreeRemovesNestedFoldersAndFiles) {
    ScratchFolder tmp;
    ForceFolders(tmp / "t\\u\\v");
    test::WriteFileBytes(tmp / "t\\u\\f.txt", "data");
    test::WriteFileBytes(tmp / "t\\g.txt", "data");
    DeleteTree(tmp / "t");
    EXPECT_FALSE(FolderExists(tmp / "t"));
}

TEST(Folders, WriteTextFileWritesExactBytes) {
    ScratchFolder tmp;
    WriteTextFile(tmp / "w.txt", "a\r\nb");
    EXPECT_EQ("a\r\nb", test::ReadFileBytes(tmp / "w.txt"));
    WriteTextFile(tmp / "w.txt", std::string("\0\1", 2));
    EXPECT_EQ(std::string("\0\1", 2), test::ReadFileBytes(tmp / "w.txt"));
    WriteTextFile(tmp / "missing\\w.txt", "x");  // silently not written
    EXPECT_FALSE(FileExists(tmp / "missing\\w.txt"));
}

TEST(Folders, ClusterRoundingNeverDividesByZero) {
    const std::string c = "C:\\";
    const int64_t cluster = GetClusterSize(c);
    ASSERT_GT(cluster, 0);
    EXPECT_GT(GetClusterSize("Q:\\no\\such\\drive"), 0);
    EXPECT_EQ(0, RoundUpToCluster(c, 0));
    EXPECT_EQ(cluster, RoundUpToCluster(c, 1));
    EXPECT_EQ(cluster, RoundUpToCluster(c, static_cast<int32_t>(cluster)));
    EXPECT_EQ(2 * cluster, RoundUpToCluster(c, static_cast<int32_t>(cluster) + 1));
}

// A destination not made yet is measured on its own drive, never on the drive of the
// current folder (the setup's start folder: here the small T: disk). Every drive of the
// test prefix has 4 KiB clusters, so the folder chosen is checked, not the size.
TEST(Folders, TheClusterSizeOfAMissingFolderIsTakenFromItsNearestExistingParent) {
    ForceFolders("E:\\orv-cluster");
    ScopedCurrentFolder keep;
    ASSERT_TRUE(::SetCurrentDirectoryA("T:\\"));
    const struct {
        const char* Path;
        const char* Measured;
    } cases[] = {
        {"E:\\orv-cluster\\not\\made\\Orvanel", "E:\\orv-cluster\\"},
        {"E:\\orv-cluster\\", "E:\\orv-cluster\\"},
        {"E:\\not-made\\Orvanel", "E:\\"},
        {"E:\\", "E:\\"},
        {"E:", "E:"},
        {"Q:\\no\\such\\drive", ""},
        {"\\\\server\\share\\Orvanel", ""},
        {"relative\\Orvanel", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Measured, ExistingFolderOrParent(c.Path)) << c.Path;
    EXPECT_EQ(4096, GetClusterSize("Q:\\no\\such\\drive")) << "nothing to measure";
    EXPECT_EQ(GetClusterSize("E:\\"), GetClusterSize("E:\\not-made\\Orvanel"));
    EXPECT_EQ("T:\\", GetCurrentFolder()) << "the current folder is left alone";
    DeleteTree("E:\\orv-cluster");
}

TEST(TempFiles, NamesSkipExistingFilesButNotFolders) {
    const std::string t = GetTempFolder();
    const std::string prefix = GetTempPrefix();
    EXPECT_EQ("~OrvanelWordProcessorSetup", prefix);
    ASSERT_EQ('\\', LastChar(t));
    CleanTempFiles();
    EXPECT_EQ(t + prefix + "0.tmp", NewTempFileName());
    test::WriteFileBytes(t + prefix + "0.tmp", "");
    test::WriteFileBytes(t + prefix + "1.tmp", "");
    ::CreateDirectoryA((t + prefix + "2.tmp").c_str(), nullptr);
    EXPECT_EQ(t + prefix + "2.tmp", NewTempFileName());
    CleanTempFiles();
}

TEST(TempFiles, CleanRemovesPrefixedFilesAndTreesOnlyInTheExactCase) {
    const std::string t = GetTempFolder();
    const std::string prefix = GetTempPrefix();
    test::WriteFileBytes(t + prefix + "7.tmp", "x");
    ForceFolders(t + prefix + "dir\\sub");
    test::WriteFileBytes(t + prefix + "dir\\sub\\f", "x");
    const std::string otherCase = t + "~orvanelwordprocessorsetup9.tmp";
    test::WriteFileBytes(otherCase, "x");
    CleanTempFiles();
    EXPECT_FALSE(FileExists(t + prefix + "7.tmp"));
    EXPECT_FALSE(FolderExists(t + prefix + "dir"));
    // Wine's file system is case-insensitive like Windows: the file is still found by name,
    // but a name starting with the prefix in another case must not have been deleted.
    EXPECT_TRUE(FileExists(otherCase));
    ::DeleteFileA(otherCase.c_str());
}

TEST(DeleteTree, ALinkIsRemovedItselfAndNeverEntered) {
    const DWORD dir = FILE_ATTRIBUTE_DIRECTORY, link = FILE_ATTRIBUTE_REPARSE_POINT;
    const struct {
        DWORD Attributes;
        TDeleteAs As;
    } cases[] = {
        {FILE_ATTRIBUTE_NORMAL, TDeleteAs::File},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, TDeleteAs::File},
        {dir, TDeleteAs::Tree},
        {dir | FILE_ATTRIBUTE_HIDDEN, TDeleteAs::Tree},
        {dir | link, TDeleteAs::Link},  // a junction or a folder link
        {link, TDeleteAs::Link},        // a file link
    };
    for (const auto& c : cases) EXPECT_EQ(c.As, DeleteAsFor(c.Attributes)) << std::hex << c.Attributes;
}

// A folder link whose name carries the temporary prefix, planted next to the setup's
// temporary files: the clean-up and a tree deletion leave what it points at alone. Wine
// shows a host symbolic link as a folder with the reparse-point attribute, as Windows
// shows a junction; Wine cannot remove such a link, so only the target is checked.
TEST(DeleteTree, TheTempCleanUpDoesNotFollowALinkIntoItsTarget) {
    const std::string t = GetTempFolder();
    const std::string prefix = GetTempPrefix();
    const std::string target = "orv-link-target";
    ForceFolders(t + target);
    test::WriteFileBytes(t + target + "\\keep.txt", "precious");
    const std::string linkName = prefix + "link";
    const bool made = test::RunHostProgram(t, "/bin/ln", "-sfn " + target + " " + linkName) &&
                      test::WaitUntil([&] { return FolderExists(t + linkName); }, 10000);
    const DWORD attributes = ::GetFileAttributesA((t + linkName).c_str());
    if (!made || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "no host symbolic links here";

    CleanTempFiles();
    EXPECT_EQ("precious", test::ReadFileBytes(t + target + "\\keep.txt")) << "the clean-up followed the link";
    DeleteTree(t + linkName);
    EXPECT_EQ("precious", test::ReadFileBytes(t + target + "\\keep.txt")) << "DeleteTree followed the link";

    ScratchFolder scratch;
    ASSERT_TRUE(test::RunHostProgram(scratch.Path(), "/bin/ln", "-sfn ../" + target + " inner"));
    ASSERT_TRUE(test::WaitUntil([&] { return FolderExists(scratch / "inner"); }, 10000));
    DeleteTree(scratch.Path());
    EXPECT_EQ("precious", test::ReadFileBytes(t + target + "\\keep.txt")) << "a link below the tree was followed";

    test::RunHostProgram(t, "/bin/rm", "-f " + linkName);
    test::RunHostProgram(scratch.Path(), "/bin/rm", "-f inner");
    test::WaitUntil([&] { return !FolderExists(t + linkName) && !FolderExists(scratch / "inner"); }, 10000);
    DeleteTree(t + target);
}

TEST(InstallLogList, DropsDuplicatesAndSuspendedLines) {
    InstallLogScope log;
    AddLogLine("File Copy: C:\\A\\orv.exe");
    AddLogLine("file copy: c:\\a\\ORV.EXE");
    SuspendLog();
    SuspendLog();
    ResumeLog();
    AddLogLine("Made Dir: C:\\Hidden\\");
    ResumeLog();
    AddLogLine("Made Dir: C:\\B\\");
    EXPECT_EQ(std::vector<std::string>({"File Copy: C:\\A\\orv.exe", "Made Dir: C:\\B\\"}), InstallLogLines());
    EXPECT_EQ(0, LogSuspendCount());
}

// The duplicate check as first built: each new line against every earlier one.
std::vector<std::string> KeepFirstOfEach(std::vector<std::string> lines, const std::vector<std::string>& added) {
    for (const std::string& line : added) {
        bool present = false;
        for (const std::string& earlier : lines) present = present || SameTextLocale(earlier, line);
        if (!present) lines.push_back(line);
    }
    return lines;
}

TEST(InstallLogList, DropsExactlyTheLinesCompareStringCallsEqualToAnEarlierOne) {
    // Lines loaded from an earlier install are kept whole, repeats included.
    const char* const loadedLines[] = {
        "File Copy: C:\\Stra\xDF"
        "e\\a",
        "",
        "File Copy: C:\\Stra\xDF"
        "e\\a",
        "Made Dir: C:\\caf\xE9\\"};
    std::vector<std::string> added;
    const char* const folders[] = {
        "Stra\xDF"
        "e",
        "STRASSE",
        "strasse",
        "caf\xE9",
        "CAF\xC9",
        "cafe",
        "\xE6",
        "AE",
        "\xDDstanbul",
        "istanbul",
        "\xFDstanbul",
        "co\xAD"
        "op",
        "coop",
        "co-op",
        "\x82\x60",
        "\x82\x81",
        "A",
        "a",
        "\xFF",
        "\x9F",
        "Y"};
    // The names are written in code page 1252, the test prefix's, and used as UTF-8.
    for (const char* written : folders) {
        std::string folder;
        ASSERT_TRUE(CodePageToUtf8(written, 1252, folder));
        added.push_back(std::string("File Copy: C:\\") + folder + "\\a");
        added.push_back(std::string("MADE DIR: c:\\") + folder + "\\");
        added.push_back("");
    }
    for (size_t i = 0; i < 400; ++i) added.push_back("File Copy: C:\\x\\" + std::to_string(i % 250));
    InstallLogScope log;
    std::vector<std::string> loaded;
    for (const char* line : loadedLines) {
        loaded.emplace_back();
        ASSERT_TRUE(CodePageToUtf8(line, 1252, loaded.back()));
    }
    SetInstallLogLines(loaded);
    for (const std::string& line : added) AddLogLine(line);
    EXPECT_EQ(KeepFirstOfEach(loaded, added), InstallLogLines());
}

TEST(InstallLogList, NothingIsLoggedBeforeTheListExists) {
    FreeInstallLogList();
    AddLogLine("File Copy: x");  // must not crash
    EXPECT_FALSE(InstallLogListExists());
}

}  // namespace
}  // namespace orv
