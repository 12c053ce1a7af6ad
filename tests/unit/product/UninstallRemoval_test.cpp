// Removing recorded files and folders for real: what goes, what is left and why, the log.
#include "UninstallRemoval.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orv::uninstall {
namespace {

std::string LeftReason(const TRemover& remover, const std::string& path) {
    for (const TLeftItem& item : remover.Left())
        if (item.Path == path) return item.Reason;
    return "<not left>";
}

class Removal : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"free.txt", "held.txt", "ro.txt"}) test::WriteFileBytes(scratch_ / name, "x");
        ::SetFileAttributesA((scratch_ / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        ForceFolders(scratch_ / "empty\\");
        ForceFolders(scratch_ / "full\\");
        test::WriteFileBytes(scratch_ / "full\\mine.txt", "user's own");
    }
    void TearDown() override { ::SetFileAttributesA((scratch_ / "ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL); }

    test::ScratchFolder scratch_{"unrm"};
    test::ScratchFolder logFolder_{"unlog"};
};

TEST_F(Removal, FilesInUseOrReadOnlyAreLeftWithTheirReasonAndTheRestGoes) {
    std::string logText;
    {
        TUninstallLog log(logFolder_ / "Uninstall.log");
        TRemover remover(log, {scratch_.Path()});
        UniqueFile held(
            ::CreateFileA((scratch_ / "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.valid());
        for (const char* name : {"free.txt", "held.txt", "ro.txt", "missing.txt"})
            remover.RemoveFile(scratch_ / name, 400);
        remover.RemoveFolder(scratch_ / "empty", true);
        remover.RemoveFolder(scratch_ / "full", true);
        remover.RemoveFolder(scratch_ / "nothing", true);

        EXPECT_FALSE(FileExists(scratch_ / "free.txt"));
        EXPECT_TRUE(FileExists(scratch_ / "held.txt"));
        EXPECT_TRUE(FileExists(scratch_ / "ro.txt"));
        EXPECT_FALSE(FolderExists(scratch_ / "empty"));
        EXPECT_TRUE(FileExists(scratch_ / "full\\mine.txt"));
        EXPECT_EQ(3u, remover.Left().size());
        EXPECT_EQ("in use", LeftReason(remover, scratch_ / "held.txt"));
        EXPECT_EQ("read-only", LeftReason(remover, scratch_ / "ro.txt"));
        EXPECT_EQ("not empty: it holds files that no install recorded", LeftReason(remover, scratch_ / "full"));
    }
    logText = test::ReadFileBytes(logFolder_ / "Uninstall.log");
    for (const std::string& line :
         {"Removed file: " + (scratch_ / "free.txt"), "Left: " + (scratch_ / "held.txt") + " (in use)",
          "Not found: " + (scratch_ / "missing.txt"), "Removed folder: " + (scratch_ / "empty"),
          "Folder not found: " + (scratch_ / "nothing")})
        EXPECT_NE(std::string::npos, logText.find(line + "\r\n")) << line << "\n" << logText;
}

TEST_F(Removal, AKeptFolderOutsideTheInstallIsOnlyLogged) {
    TUninstallLog log(logFolder_ / "Uninstall.log");
    TRemover remover(log, {});
    remover.RemoveFolder(scratch_ / "full", false);
    EXPECT_TRUE(remover.Left().empty());
    EXPECT_TRUE(FolderExists(scratch_ / "full"));
}

// Wine makes no folder links (CreateSymbolicLink succeeds and leaves nothing), so a plain
// folder is reported as one: whatever lies behind it stays, and the same folder without the
// mark is emptied as usual.
std::string g_linkedFolder;

DWORD AttributesWithLink(const std::string& path) {
    const DWORD attributes = GetFileAttributesU(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && SameTextNoCase(path, g_linkedFolder))
        return attributes | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes;
}

TEST_F(Removal, NothingBehindAFolderLinkIsRemoved) {
    ForceFolders(scratch_ / "link\\deeper\\");
    for (const char* name : {"link\\victim.txt", "link\\deeper\\victim.txt"})
        test::WriteFileBytes(scratch_ / name, "x");
    g_linkedFolder = scratch_ / "link";
    {
        TUninstallLog log(logFolder_ / "Uninstall.log");
        TRemover remover(log, {scratch_.Path()}, AttributesWithLink);
        remover.RemoveFile(scratch_ / "link\\victim.txt", 0);
        remover.RemoveFile(scratch_ / "link\\deeper\\victim.txt", 0);
        remover.RemoveFolder(scratch_ / "link\\deeper", true);
        remover.RemoveFolder(scratch_ / "link", true);
        EXPECT_TRUE(FileExists(scratch_ / "link\\victim.txt"));
        EXPECT_TRUE(FileExists(scratch_ / "link\\deeper\\victim.txt"));
        EXPECT_EQ("it lies behind a folder link", LeftReason(remover, scratch_ / "link\\victim.txt"));
        EXPECT_EQ("it lies behind a folder link", LeftReason(remover, scratch_ / "link\\deeper\\victim.txt"));
        EXPECT_EQ("it lies behind a folder link", LeftReason(remover, scratch_ / "link\\deeper"));
        EXPECT_EQ("it is a folder link, not the installed folder", LeftReason(remover, scratch_ / "link"));
    }
    TUninstallLog log(logFolder_ / "Uninstall.log");
    TRemover remover(log, {scratch_.Path()});
    remover.RemoveFile(scratch_ / "link\\deeper\\victim.txt", 0);
    remover.RemoveFolder(scratch_ / "link\\deeper", true);
    EXPECT_FALSE(FolderExists(scratch_ / "link\\deeper"));
    EXPECT_TRUE(remover.Left().empty());
}

// A folder on the way that the checks saw plain and that is a link when the file is opened:
// Wine cannot swap it in time, so the checks are shown the prefix's real link without its
// mark. Nothing outside the install's folders is deleted through it.
DWORD AttributesWithoutLinks(const std::string& path) {
    const DWORD attributes = GetFileAttributesU(path);
    return attributes == INVALID_FILE_ATTRIBUTES ? attributes : attributes & ~FILE_ATTRIBUTE_REPARSE_POINT;
}

TEST_F(Removal, AFolderSwappedForALinkAfterTheChecksLeadsNowhere) {
    const std::string install = "E:\\linked\\Install", outside = "E:\\linked\\Outside";
    ASSERT_NE(0u, GetFileAttributesU(install + "\\Elsewhere") & FILE_ATTRIBUTE_REPARSE_POINT)
        << "tests/wine/prefix-setup.sh makes this link";
    test::WriteFileBytes(outside + "\\victim.txt", "x");
    ForceFolders(outside + "\\deeper\\");
    TUninstallLog log(logFolder_ / "Uninstall.log");
    TRemover remover(log, {install}, AttributesWithoutLinks);
    remover.RemoveFile(install + "\\Elsewhere\\victim.txt", 0);
    remover.RemoveFolder(install + "\\Elsewhere\\deeper", true);
    EXPECT_TRUE(FileExists(outside + "\\victim.txt"));
    EXPECT_TRUE(FolderExists(outside + "\\deeper"));
    EXPECT_EQ("it lies behind a folder link", LeftReason(remover, install + "\\Elsewhere\\victim.txt"));
    EXPECT_EQ("it lies behind a folder link", LeftReason(remover, install + "\\Elsewhere\\deeper"));
}

}  // namespace
}  // namespace orv::uninstall
