// The real setup executable driven like a user: the wizard's start and cancel paths, the
// licence refusal, and a whole install whose every result is checked afterwards.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace orv::e2e {
namespace {

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
    EXPECT_TRUE(wizard.IsChecked(AcceptCaption));
    EXPECT_TRUE(wizard.QuitWithAbort());
    EXPECT_TRUE(test::NamesMatching(GetTempFolder() + GetTempPrefix() + "*.tmp").empty())
        << "the setup's temporary files are gone";
    EXPECT_FALSE(RegistryHasValue(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"))
        << "a cancelled wizard saves nothing";
}

TEST(Wizard, CancelAnsweredNoStaysThenAbortCloses) {
    ForgetEarlierInstalls();
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkTo("Choose Destination Folder"));
    wizard.Screenshot("page2-destination");
    EXPECT_TRUE(wizard.QuitAndAnswer(QuitBy::CancelButton, "&No"));
    EXPECT_EQ("Choose Destination Folder", wizard.PageTitle());
    EXPECT_EQ(STILL_ACTIVE, wizard.WaitForExit(300));
    // Esc takes the same road as the Cancel button.
    EXPECT_TRUE(wizard.QuitWithAbort(QuitBy::EscapeKey));
}

TEST(Wizard, RefusedLicenceAsksAndYesClosesWithoutTheQuitQuestion) {
    ForgetEarlierInstalls();
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkTo("License Agreement"));
    ASSERT_TRUE(wizard.SetChecked(AcceptCaption, false));
    for (const char* answer : {"&No", "&Yes"}) {
        ASSERT_TRUE(wizard.Press(NextCaption));
        std::string text;
        ASSERT_TRUE(wizard.Answer(answer, &text));
        EXPECT_EQ(
            "To install this program, you need to agree to all the terms\rof the Orvanel Word Processor "
            "License Agreement.\rDo you really want to cancel the Orvanel install?",
            text);
        if (std::string(answer) == "&No") {
            EXPECT_EQ("License Agreement", wizard.PageTitle());
        }
    }
    EXPECT_EQ(0u, wizard.WaitForExit()) << "Yes must close the wizard without the quit question";
}

}  // namespace
}  // namespace orv::e2e
