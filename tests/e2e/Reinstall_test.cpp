// A second install over the first into the same folder: the install log grows only by the
// lines of what is new, the earlier lines first and as they were; the files are rewritten.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "engine/FileSelection.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace orv::e2e {
namespace {

constexpr int HyphenationItem = 2;

class Reinstall : public InstallScenario {
protected:
    Reinstall() : InstallScenario("E:\\e2e-again", "again") {}

    // One install with the hyphenation module's box toggled on the component page and the
    // launch box cleared; the component and Finish pages are kept as "<shot>-<page>".
    void Install(const std::string& shot) {
        ASSERT_TRUE(InstallWithWizard(dest_, {{HyphenationItem}, false, shot}));
        EXPECT_TRUE(WaitForProductExit());
    }
};

TEST_F(Reinstall, KeepsTheEarlierLogLinesFirstAndRewritesTheFiles) {
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "200");
    // First run: without the hyphenation module (its box starts checked).
    Install("reinstall-first");
    if (HasFatalFailure()) return;
    const std::string logPath = dest_ + "\\Install.log";
    std::vector<std::string> first;
    ASSERT_TRUE(ReadTextLines(logPath, first));
    ASSERT_FALSE(first.empty());
    EXPECT_FALSE(FileExists(dest_ + "\\Hyphenation.dat"));

    // Between the runs: lines the setup never wrote (one repeated), a damaged licence.
    std::vector<std::string> earlier = first;
    earlier.push_back("Made Dir: X:\\Old\\");
    earlier.push_back("made dir: x:\\old\\");
    std::string text;
    for (const std::string& line : earlier) text += line + "\r\n";
    test::WriteFileBytes(logPath, text);
    test::WriteFileBytes(dest_ + "\\License.txt", "damaged");

    // Second run: the stored choice left the module out; it is chosen again now.
    Install("reinstall-second");
    if (HasFatalFailure()) return;
    std::vector<std::string> second;
    ASSERT_TRUE(ReadTextLines(logPath, second));
    std::vector<std::string> expected = earlier;
    expected.push_back("File Copy: " + dest_ + "\\Hyphenation.dat");
    EXPECT_EQ(expected, second);

    TAttachedFiles catalogue;
    const TAttachedFile* licence = catalogue.FindEntry("License.txt");
    ASSERT_NE(nullptr, licence);
    EXPECT_EQ(static_cast<size_t>(licence->Size), test::ReadFileBytes(dest_ + "\\License.txt").size());
    EXPECT_EQ(licence->Timestamp, FileModifiedTime(dest_ + "\\License.txt"));
    EXPECT_TRUE(FileExists(dest_ + "\\Hyphenation.dat"));

    // The update log keeps one block: this install placed every public file again.
    std::vector<std::string> update;
    ASSERT_TRUE(ReadTextLines(SharedDataFolder() + "\\Update.log", update));
    EXPECT_EQ(1, UpdateLogBlocks(update));
    ASSERT_FALSE(update.empty());
    EXPECT_EQ('*', update[0][0]);
}

}  // namespace
}  // namespace orv::e2e
