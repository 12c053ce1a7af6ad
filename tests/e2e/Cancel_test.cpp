// Quitting on every page: the closing question, No keeps the wizard (and the copy) going,
// Abort closes it; what is saved depends on whether the install had started.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

// The files below a folder with their sizes.
std::map<std::string, size_t> ListFiles(const std::string& folder) {
    std::map<std::string, size_t> files;
    test::ForEachFileBelow(
        folder, [&](const std::string& path, const TFindData& found) { files[path] = static_cast<DWORD>(found.size); });
    return files;
}

class Quit : public InstallScenario {
protected:
    Quit() : InstallScenario("E:\\e2e-quit", "quit") {}

    // What a started install leaves after a quit: the settings and the install log, every
    // file it names complete.
    void ExpectStartedInstallSaved() {
        EXPECT_EQ(dest_, RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
        std::vector<std::string> log;
        ASSERT_TRUE(ReadTextLines(dest_ + "\\Install.log", log));
        ExpectLoggedCopiesComplete(log);
    }

    // The sound scheme: the last file of the plan, in the public data folder.
    static std::string LastPlannedFile() { return SharedDataFolder() + "\\Public\\Basic.asn"; }
};

// Before the Installing page nothing is saved, whichever way the user quits.
TEST_F(Quit, BeforeTheInstallNoStaysAndAbortClosesWithoutSaving) {
    const QuitBy ways[] = {QuitBy::CancelButton, QuitBy::CloseBox, QuitBy::CancelButton, QuitBy::CloseBox,
                           QuitBy::CancelButton};
    for (int page = 0; page <= 4; ++page) {
        SCOPED_TRACE(WizardPageTitles[page]);
        WizardDriver wizard;
        ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[page], dest_));
        const std::string shot = "quit-" + std::to_string(page);
        EXPECT_TRUE(wizard.QuitAndAnswer(ways[page], "&No", shot + "-question"));
        EXPECT_EQ(WizardPageTitles[page], wizard.PageTitle());
        EXPECT_TRUE(wizard.IsEnabled(NextCaption));
        EXPECT_EQ(STILL_ACTIVE, wizard.WaitForExit(200));
        wizard.Screenshot(shot + "-after-no");
        EXPECT_TRUE(wizard.QuitAndAnswer(ways[page], "&Abort", shot + "-abort-question"));
        EXPECT_EQ(0u, wizard.WaitForExit());
        EXPECT_FALSE(RegistryHasValue(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
        EXPECT_FALSE(RegistryHasValue(HKEY_LOCAL_MACHINE, UninstallEntryKey, "DisplayName"));
        EXPECT_FALSE(FolderExists(root_));
    }
}

// The close is posted right behind the click that starts the copy, so the question comes
// while the worker is still copying: it holds, No lets it finish, then the association
// page quits the same way.
TEST_F(Quit, DuringTheCopyNoGoesOnThenAbortOnTheAssociationPage) {
    ScopedEnvVar log("ORV_START_LOG", startLog_);
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkToReady(dest_));
    ASSERT_TRUE(wizard.Press(NextCaption));
    HWND question = wizard.AskToQuit(QuitBy::CloseBox);
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(WizardPageTitles[5], wizard.PageTitle());
    EXPECT_EQ(0u, WizardDriver::DialogText(question).find(QuitQuestionStart));
    WizardDriver::DialogScreenshot(question, "quit-5-question");
    const std::map<std::string, size_t> held = ListFiles(dest_);
    ::Sleep(300);
    EXPECT_EQ(held, ListFiles(dest_)) << "the copy must wait while the question is open";
    EXPECT_TRUE(WizardDriver::AnswerDialog(question, "&No"));
    ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[6], 60000));
    wizard.Screenshot("quit-6");

    EXPECT_TRUE(wizard.QuitAndAnswer(QuitBy::CancelButton, "&No", "quit-6-question"));
    EXPECT_EQ(WizardPageTitles[6], wizard.PageTitle());
    EXPECT_TRUE(wizard.QuitAndAnswer(QuitBy::CloseBox, "&Abort", "quit-6-abort-question"));
    EXPECT_EQ(0u, wizard.WaitForExit());
    ExpectStartedInstallSaved();
    EXPECT_TRUE(FileExists(LastPlannedFile())) << "No let the copy finish";
    // The association page's Next never ran: no association run, no shortcuts.
    EXPECT_TRUE(ProductStarts().empty());
    for (const std::string& link : ProductShortcutPaths()) EXPECT_FALSE(FileExists(link)) << link;
}

TEST_F(Quit, DuringTheCopyAbortStopsAfterTheFileInHand) {
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkToReady(dest_));
    ASSERT_TRUE(wizard.Press(NextCaption));
    HWND question = wizard.AskToQuit(QuitBy::CloseBox);
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(WizardPageTitles[5], wizard.PageTitle());
    EXPECT_TRUE(WizardDriver::AnswerDialog(question, "&Abort"));
    EXPECT_EQ(0u, wizard.WaitForExit());
    ExpectStartedInstallSaved();
    EXPECT_FALSE(FileExists(LastPlannedFile())) << "the copy went on after Abort";
}

// Cancel is disabled on the Finish page; the close box still asks.
TEST_F(Quit, OnTheFinishPageOnlyTheCloseBoxAsks) {
    ScopedEnvVar log("ORV_START_LOG", startLog_);
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "200");
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[7], dest_));
    EXPECT_FALSE(wizard.IsEnabled("Cancel"));
    test::PressKey(wizard.Window(), VK_ESCAPE);
    EXPECT_EQ(nullptr, wizard.WaitForDialog(300)) << "Esc goes through the disabled Cancel button";
    EXPECT_TRUE(wizard.QuitAndAnswer(QuitBy::CloseBox, "&No", "quit-7-question"));
    EXPECT_EQ(WizardPageTitles[7], wizard.PageTitle());
    EXPECT_TRUE(wizard.QuitAndAnswer(QuitBy::CloseBox, "&Abort", "quit-7-abort-question"));
    EXPECT_EQ(0u, wizard.WaitForExit());
    ExpectStartedInstallSaved();
    // The finish step never ran: no update log and no launch, only the association run.
    EXPECT_FALSE(FileExists(SharedDataFolder() + "\\Update.log"));
    const std::vector<std::string> starts = ProductStarts(1, 5000);
    ASSERT_EQ(1u, starts.size());
    EXPECT_NE(std::string::npos, starts[0].find(" -assoc")) << starts[0];
}

}  // namespace
}  // namespace orv::e2e
