// Update.log: the file itself, read, merged and written in the shared data folder.
#include "common/Errors.h"
#include "common/InstUtils.h"
#include "common/Owners.h"
#include "engine/FolderLayout.h"
#include "engine/InstallLogFiles.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Works on the real shared data folder and puts back what it found there.
class UpdateLogFile : public ::testing::Test {
protected:
    void SetUp() override {
        state_.Options.DestDir = "C:\\Apps\\Orvanel";
        hadFolder_ = FolderExists(SharedFolder());
        path_ = SharedFolder() + "Update.log";
        hadFile_ = FileExists(path_);
        if (hadFile_) saved_ = test::ReadFileBytes(path_);
        ::DeleteFileA(path_.c_str());
    }
    void TearDown() override {
        ::SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path_.c_str());
        if (hadFile_) test::WriteFileBytes(path_, saved_);
        if (!hadFolder_) DeleteTree(SharedFolder());
    }
    static std::string SharedFolder() { return GetSpecialFolder(0x23 /* common app data */) + "\\Orvanel\\"; }

    TSetupState state_;
    TAttachedFiles files_;
    std::string path_, saved_;
    bool hadFolder_ = false, hadFile_ = false;
};

TEST_F(UpdateLogFile, WrittenWithCrLfAfterEveryLine) {
    ::CreateDirectoryA(SharedFolder().c_str(), nullptr);
    test::WriteFileBytes(path_, "*A\rC:\\Pub\\old.txt\r\r\nC:\\Pub\\b.txt\n\n");
    files_.PublicFiles = {"C:\\Pub\\b.txt", "C:\\Pub\\a.txt\t!"};
    state_.InstallStamp = 43831.5;
    WriteUpdateLog(files_, state_);
    EXPECT_EQ("*A\r\nC:\\Pub\\old.txt\r\n*00000000F066E540\r\nC:\\Pub\\a.txt\t!\r\nC:\\Pub\\b.txt\r\n",
              test::ReadFileBytes(path_));
}

TEST_F(UpdateLogFile, CreatedWithTheSharedFolderWhenMissing) {
    if (!hadFolder_) {
        ASSERT_FALSE(FolderExists(SharedFolder()));
    }
    files_.PublicFiles = {"C:\\Pub\\z.txt"};
    state_.InstallStamp = 1.0;
    WriteUpdateLog(files_, state_);
    EXPECT_EQ("*000000000000F03F\r\nC:\\Pub\\z.txt\r\n", test::ReadFileBytes(path_));
}

TEST_F(UpdateLogFile, NoPublicFileLeavesItUntouched) {
    ::CreateDirectoryA(SharedFolder().c_str(), nullptr);
    test::WriteFileBytes(path_, "*A\rf1");
    WriteUpdateLog(files_, state_);
    EXPECT_EQ("*A\rf1", test::ReadFileBytes(path_));
    ::DeleteFileA(path_.c_str());
    WriteUpdateLog(files_, state_);
    EXPECT_FALSE(FileExists(path_));
}

TEST_F(UpdateLogFile, ReadAndWriteFailuresAreRaised) {
    ::CreateDirectoryA(SharedFolder().c_str(), nullptr);
    files_.PublicFiles = {"C:\\Pub\\z.txt"};
    test::WriteFileBytes(path_, "*A\r\nf1\r\n");
    // Held without sharing, the file cannot even be read; held shared for reading only, it
    // reads but cannot be rewritten. (A read-only attribute would not do: Wine running as
    // root writes over it.)
    struct Case {
        const char* what;
        DWORD share;
    } cases[] = {{"held exclusively", 0}, {"held for reading", FILE_SHARE_READ}};
    for (const Case& c : cases) {
        UniqueFile held(::CreateFileA(path_.c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.valid()) << c.what;
        EXPECT_THROW(WriteUpdateLog(files_, state_), EUpdateLogError) << c.what;
    }
    EXPECT_EQ("*A\r\nf1\r\n", test::ReadFileBytes(path_));
}

}  // namespace
}  // namespace orv
