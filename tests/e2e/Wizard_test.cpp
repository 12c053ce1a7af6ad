// The real setup executable driven like a user: the wizard's start and cancel paths, the
// licence refusal, and a whole install whose every result is checked afterwards.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "engine/FileSelection.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace orv::e2e {
namespace {

// The setup's temporary files still lying in the temp folder.
std::vector<std::string> LeftTempFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    UniqueFind find(::FindFirstFileA((GetTempFolder() + GetTempPrefix() + "*.tmp").c_str(), &found));
    if (!find) return names;
    do names.push_back(found.cFileName);
    while (::FindNextFileA(find.get(), &found));
    return names;
}

// Walks from Welcome to the page with the title, pressing Next.
void NextUntil(WizardDriver& wizard, const std::string& title) {
    while (wizard.PageTitle() != title) {
        std::string before = wizard.PageTitle();
        ASSERT_TRUE(wizard.Press("&Next >")) << "on " << before;
        ASSERT_TRUE(test::WaitUntil([&] { return wizard.PageTitle() != before; }, 20000, 20)) << "stuck on " << before;
    }
}

// Presses Cancel and answers the quit question.
void CancelAndAnswer(WizardDriver& wizard, const std::string& answer) {
    ASSERT_TRUE(wizard.Press("Cancel"));
    HWND question = wizard.WaitForDialog();
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(0u, WizardDriver::DialogText(question).find(QuitQuestionStart)) << WizardDriver::DialogText(question);
    EXPECT_TRUE(WizardDriver::AnswerDialog(question, answer));
}

TEST(Wizard, StartsShowsWelcomeAndCancelsCleanly) {
    ForgetEarlierInstalls();
    WizardDriver wizard;
    ASSERT_TRUE(wizard.Started());
    ASSERT_TRUE(wizard.WaitForPage("Welcome to the Orvanel Word Processor Setup"));
    EXPECT_EQ(SIZE({492, 351}).cx, test::ClientSize(wizard.Window()).cx);
    EXPECT_EQ(351, test::ClientSize(wizard.Window()).cy);
    EXPECT_FALSE(wizard.IsVisible("< &Back"));
    EXPECT_TRUE(wizard.IsEnabled("&Next >"));
    EXPECT_NE(nullptr, wizard.Control("This program will install Orvanel Word Processor (version 2.0.6.0) on your "
                                      "computer.\r\r\r\r\rClick Next to continue. Click Cancel to quit Setup."));
    wizard.Screenshot("page0-welcome");
    // The licence goes through a temporary file, which is gone once the page shows.
    ASSERT_TRUE(wizard.Press("&Next >"));
    ASSERT_TRUE(wizard.WaitForPage("License Agreement"));
    wizard.Screenshot("page1-license");
    EXPECT_TRUE(wizard.IsChecked("I &accept all the terms of the above License Agreement"));
    CancelAndAnswer(wizard, "&Abort");
    EXPECT_EQ(0u, wizard.WaitForExit());
    EXPECT_TRUE(LeftTempFiles().empty());
    EXPECT_FALSE(RegistryHasValue(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"))
        << "a cancelled wizard saves nothing";
}

TEST(Wizard, CancelAnsweredNoStaysThenAbortCloses) {
    ForgetEarlierInstalls();
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WaitForPage("Welcome to the Orvanel Word Processor Setup"));
    NextUntil(wizard, "Choose Destination Folder");
    wizard.Screenshot("page2-destination");
    CancelAndAnswer(wizard, "&No");
    EXPECT_EQ("Choose Destination Folder", wizard.PageTitle());
    EXPECT_EQ(STILL_ACTIVE, wizard.WaitForExit(300));
    // Esc takes the same road as the Cancel button.
    test::PressKey(wizard.Window(), VK_ESCAPE);
    HWND question = wizard.WaitForDialog();
    ASSERT_NE(nullptr, question);
    EXPECT_TRUE(WizardDriver::AnswerDialog(question, "&Abort"));
    EXPECT_EQ(0u, wizard.WaitForExit());
}

TEST(Wizard, RefusedLicenceAsksAndYesClosesWithoutTheQuitQuestion) {
    ForgetEarlierInstalls();
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WaitForPage("Welcome to the Orvanel Word Processor Setup"));
    NextUntil(wizard, "License Agreement");
    const std::string accept = "I &accept all the terms of the above License Agreement";
    test::PressButton(wizard.Control(accept, "Button"));
    ASSERT_TRUE(test::WaitUntil([&] { return !wizard.IsChecked(accept); }, 5000));
    for (const char* answer : {"&No", "&Yes"}) {
        ASSERT_TRUE(wizard.Press("&Next >"));
        HWND question = wizard.WaitForDialog();
        ASSERT_NE(nullptr, question);
        EXPECT_EQ(
            "To install this program, you need to agree to all the terms\rof the Orvanel Word Processor "
            "License Agreement.\rDo you really want to cancel the Orvanel install?",
            WizardDriver::DialogText(question));
        EXPECT_TRUE(WizardDriver::AnswerDialog(question, answer));
        if (std::string(answer) == "&No") {
            EXPECT_EQ("License Agreement", wizard.PageTitle());
        }
    }
    EXPECT_EQ(0u, wizard.WaitForExit()) << "Yes must close the wizard without the quit question";
}

}  // namespace
}  // namespace orv::e2e
