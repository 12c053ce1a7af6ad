// A setup killed in the middle of the copy (as a crash or a power cut would end it), then
// run again into the same folder: the second run completes and leaves logs that agree with
// what is on disk, every folder the first run made included.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "engine/InstallLogFiles.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

class Interrupted : public InstallScenario {
protected:
    Interrupted() : InstallScenario("E:\\e2e-killed", "killed") {}

    static std::string Shared() { return SharedDataFolder() + "\\"; }
};

TEST_F(Interrupted, ASecondRunAfterAKillDuringTheCopyLeavesConsistentLogs) {
    ScopedEnvVar log("ORV_START_LOG", startLog_);
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "200");
    // The sound scheme is the last file of the plan: held open, it stops the copy with a
    // question after every other file, and the setup is killed there.
    const std::string held = Shared() + "Public\\Basic.asn";
    {
        UniqueFile hold = test::HoldNewFile(held, "held by the test");
        ASSERT_TRUE(hold);
        WizardDriver wizard;
        ASSERT_TRUE(wizard.WalkToReady(dest_));
        ASSERT_TRUE(wizard.Press(NextCaption));
        HWND question = wizard.WaitForDialog(60000);
        ASSERT_NE(nullptr, question);
        EXPECT_EQ(0u, WizardDriver::DialogText(question).find("Cannot create file"));
        ASSERT_TRUE(::TerminateProcess(wizard.Process().Handle(), 99));
        ASSERT_EQ(99u, wizard.WaitForExit());
    }
    ASSERT_TRUE(FileExists(dest_ + "\\orv.exe")) << "the first run copied before it was killed";
    ASSERT_TRUE(WaitForProductExit());

    ASSERT_TRUE(InstallWithWizard(dest_));

    // Install.log names every folder made for this install, the first run's included, and
    // every file once; each file it names is complete.
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dest_ + "\\Install.log", lines));
    const auto logged = [&](const std::string& line) { return CountLines(lines, line); };
    EXPECT_EQ(1, logged("Made Dir: " + root_ + "\\"));
    EXPECT_EQ(1, logged("Made Dir: " + dest_ + "\\"));
    EXPECT_EQ(1, logged("Made Dir: " + Shared() + "Hidden\\"));
    for (const std::string& line : lines) {
        if (line.rfind("File Copy: ", 0) == 0) {
            EXPECT_EQ(1, logged(line)) << line;
        }
    }
    EXPECT_GE(ExpectLoggedCopiesComplete(lines), 4);
    EXPECT_EQ(1, logged("File Copy: " + held));

    // Update.log: one block under the stamp of the run that completed, every file complete.
    std::vector<std::string> update;
    ASSERT_TRUE(ReadTextLines(Shared() + "Update.log", update));
    const std::string stamp = test::ReadFileBytes(Shared() + "Hidden\\install_stamp");
    ASSERT_EQ(sizeof(TDateTime), stamp.size());
    TDateTime value = 0;
    std::memcpy(&value, stamp.data(), sizeof value);
    ASSERT_FALSE(update.empty());
    EXPECT_EQ(UpdateLogStampLine(value), update[0]);
    TAttachedFiles catalogue;
    EXPECT_EQ(1, UpdateLogBlocks(update));
    for (size_t i = 1; i < update.size(); ++i) {
        std::string path = update[i];
        if (path.size() > 2 && path.compare(path.size() - 2, 2, "\t!") == 0) path.resize(path.size() - 2);
        const std::string publicFolder = Shared() + "Public\\";
        const TAttachedFile* entry = catalogue.FindEntry(path.substr(publicFolder.size()));
        if (!entry) entry = catalogue.FindEntry(path.substr(path.find_last_of('\\') + 1));
        EXPECT_TRUE(FileExists(path)) << path;
        if (entry) {
            EXPECT_EQ(static_cast<size_t>(entry->Size), test::ReadFileBytes(path).size()) << path;
        }
    }
}

}  // namespace
}  // namespace orv::e2e
