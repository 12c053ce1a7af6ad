// Install.log: loaded when the install starts, saved after the wizard, never when portable.
#include "common/InstUtils.h"
#include "engine/InstallLogFiles.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Lines = std::vector<std::string>;

class InstallLogFile : public ::testing::Test {
protected:
    void TearDown() override {
        FreeInstallLogList();
        InstallLogPath.clear();
    }
    test::ScratchFolder scratch_{"ilog"};
    TSetupState state_;
};

TEST_F(InstallLogFile, FirstInstallWritesMadeDirAndFileCopyLines) {
    state_.Options.DestDir = scratch_ / "Apps\\Orvanel";
    StartInstallLog(state_);
    EXPECT_TRUE(InstallLogListExists());
    EXPECT_EQ(scratch_ / "Apps\\Orvanel\\Install.log", InstallLogPath);
    EXPECT_EQ(Lines(), InstallLogLines());

    ForceFolders(scratch_ / "Apps\\Orvanel\\");
    AddLogLine("File Copy: " + (scratch_ / "Apps\\Orvanel\\orv.exe"));
    SaveInstallLog(state_);
    EXPECT_EQ("Made Dir: " + scratch_.Path() + "\\Apps\\\r\nMade Dir: " + scratch_.Path() +
                  "\\Apps\\Orvanel\\\r\nFile Copy: " + scratch_.Path() + "\\Apps\\Orvanel\\orv.exe\r\n",
              test::ReadFileBytes(InstallLogPath));
}

TEST_F(InstallLogFile, SecondInstallKeepsOldLinesAndAddsOnlyNewOnes) {
    state_.Options.DestDir = scratch_.Path() + "\\";
    const std::string path = scratch_ / "Install.log";
    test::WriteFileBytes(path, "File Copy: C:\\x\\a\rFile Copy: C:\\x\\a\n\nMade Dir: C:\\x\\\r\n");
    StartInstallLog(state_);
    EXPECT_EQ(path, InstallLogPath);
    EXPECT_EQ(Lines({"File Copy: C:\\x\\a", "File Copy: C:\\x\\a", "", "Made Dir: C:\\x\\"}), InstallLogLines());

    AddLogLine("FILE COPY: c:\\X\\A");
    AddLogLine("File Copy: C:\\x\\b");
    AddLogLine("made dir: c:\\x\\");
    SaveInstallLog(state_);
    EXPECT_EQ("File Copy: C:\\x\\a\r\nFile Copy: C:\\x\\a\r\n\r\nMade Dir: C:\\x\\\r\nFile Copy: C:\\x\\b\r\n",
              test::ReadFileBytes(path));
}

TEST_F(InstallLogFile, SaveFailuresArePassedOver) {
    state_.Options.DestDir = scratch_.Path();
    StartInstallLog(state_);
    AddLogLine("File Copy: C:\\x\\a");
    ::CreateDirectoryA(InstallLogPath.c_str(), nullptr);  // a folder where the file should go
    EXPECT_NO_THROW(SaveInstallLog(state_));
    EXPECT_TRUE(FolderExists(InstallLogPath));
    ::RemoveDirectoryA(InstallLogPath.c_str());
}

TEST_F(InstallLogFile, PortableInstallNeitherReadsNorWrites) {
    const std::string dest = "R:\\orvtest-ilog-" + std::to_string(::GetCurrentProcessId());
    ASSERT_EQ(DRIVE_REMOVABLE, ::GetDriveTypeA("R:\\"));
    ::CreateDirectoryA(dest.c_str(), nullptr);
    const std::string path = dest + "\\Install.log";
    test::WriteFileBytes(path, "File Copy: R:\\old\r\n");
    state_.Options.DestDir = dest;

    StartInstallLog(state_);
    EXPECT_TRUE(InstallLogListExists());
    EXPECT_EQ("", InstallLogPath);
    EXPECT_EQ(Lines(), InstallLogLines());
    AddLogLine("File Copy: R:\\new");
    SaveInstallLog(state_);
    EXPECT_EQ("File Copy: R:\\old\r\n", test::ReadFileBytes(path));
    DeleteTree(dest);
}

}  // namespace
}  // namespace orv
