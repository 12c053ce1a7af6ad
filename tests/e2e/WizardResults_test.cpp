// The wizard says before the Installing page what would make the install fall short, and
// tells in one box at the end what could not be written after the copy.
#include "SilentRun.h"

#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <string>

namespace orv::e2e {
namespace {

class WizardResults : public InstallScenario {
protected:
    WizardResults() : InstallScenario("E:\\e2e-wizard-results", "wizard-results") {}

    // Presses Next, expects a box that begins with the text and leaves the wizard on the page.
    static void ExpectRefusal(const WizardDriver& wizard, const std::string& start, const char* page, const char* shot) {
        ASSERT_TRUE(wizard.Press(NextCaption));
        HWND box = wizard.WaitForDialog();
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(0u, WizardDriver::DialogText(box).rfind(start, 0)) << WizardDriver::DialogText(box);
        WizardDriver::DialogScreenshot(box, shot);
        EXPECT_TRUE(WizardDriver::AnswerDialog(box, "OK"));
        EXPECT_EQ(page, wizard.PageTitle());
    }

    static void Quit(WizardDriver& wizard) {
        wizard.Press("Cancel");
        HWND question = wizard.WaitForDialog();
        if (question) WizardDriver::AnswerDialog(question, "&Abort");
        EXPECT_EQ(0u, wizard.WaitForExit());
    }
};

// A folder that cannot be written keeps the user on the destination page; a drive the data
// would not fit on keeps them on the Ready page. Nothing is written either way.
TEST_F(WizardResults, ProblemsAreToldBeforeTheInstallingPage) {
    ASSERT_TRUE(ReadOnlyDiskMounted());
    ASSERT_TRUE(TinyDiskMounted());
    DataFolderOn data("T:\\Data");
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[0]));
    ASSERT_TRUE(wizard.NextTo(WizardPageTitles[2]));
    wizard.SetEditText("W:\\Existing");
    ExpectRefusal(wizard, "The folder \"W:\\Existing\" cannot be written: ", WizardPageTitles[2], "dest-not-writable");
    EXPECT_EQ("W:\\Existing", wizard.EditText());

    wizard.SetEditText(dest_);
    ASSERT_TRUE(wizard.NextTo(WizardPageTitles[4]));
    ExpectRefusal(wizard, "Not enough disk space on T: (", WizardPageTitles[4], "ready-data-drive-full");
    Quit(wizard);
    EXPECT_FALSE(FolderExists(dest_));
    EXPECT_FALSE(FolderExists("T:\\Data\\Orvanel"));
    EXPECT_EQ("<none>", RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, "UninstallString"));
}

// A shortcut that cannot be written: the pages run as always, and one box at the end says so.
TEST_F(WizardResults, WhatCouldNotBeWrittenIsToldInOneBoxAtTheEnd) {
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "300");
    const std::string link = GetSpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + ProductShortcutName;
    UniqueFile held = test::HoldNewFile(link, "");
    ASSERT_TRUE(held);
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkToReady(dest_));
    ASSERT_TRUE(wizard.NextTo(WizardPageTitles[6], 60000));
    ASSERT_TRUE(wizard.NextTo(WizardPageTitles[7]));
    ASSERT_TRUE(wizard.Press("&Finish"));
    HWND box = wizard.WaitForDialog();
    ASSERT_NE(nullptr, box);
    const std::string text = WizardDriver::DialogText(box);
    EXPECT_EQ(0u, text.rfind("Setup has installed Orvanel Word Processor, but could not write everything:", 0)) << text;
    EXPECT_NE(std::string::npos, text.find("the shortcut \"" + link + "\": ")) << text;
    WizardDriver::DialogScreenshot(box, "end-shortfalls");
    EXPECT_TRUE(WizardDriver::AnswerDialog(box, "OK"));
    EXPECT_EQ(0u, wizard.WaitForExit());
    held.reset();
    EXPECT_TRUE(FileExists(dest_ + "\\orv.exe"));
    WaitForProductExit();
}

}  // namespace
}  // namespace orv::e2e
