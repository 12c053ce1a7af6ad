// The real setup at the screen's scale (run at 100 % with the other scenarios and again at
// 125 %, 150 % and 200 %): its window, its pages and its closing question grow with it.
#include "WizardDriver.h"

#include "support/Automation.h"

#include "common/DpiScaling.h"
#include "common/WindowDpi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace orv::e2e {
namespace {

TEST(Scale, TheSetupsWindowAndQuestionFollowTheScreensScale) {
    ForgetEarlierInstalls();
    WizardDriver wizard;
    ASSERT_TRUE(wizard.Started());
    ASSERT_TRUE(wizard.WaitForPage("Welcome to the Orvanel Word Processor Setup"));
    const int dpi = WindowDpi(wizard.Window());
    if (const char* expected = std::getenv("ORV_EXPECT_DPI")) {
        EXPECT_EQ(std::atoi(expected), dpi);
    }
    EXPECT_EQ(ScaleForDpi(492, dpi), test::ClientSize(wizard.Window()).cx);
    EXPECT_EQ(ScaleForDpi(351, dpi), test::ClientSize(wizard.Window()).cy);
    const std::string tag = "setup-" + std::to_string(dpi) + "dpi-";
    if (dpi != DefaultDpi) wizard.Screenshot(tag + "welcome");

    ASSERT_TRUE(wizard.NextTo("Choose Destination Folder"));
    if (dpi != DefaultDpi) wizard.Screenshot(tag + "destination");
    HWND question = wizard.AskToQuit(QuitBy::CancelButton);
    ASSERT_NE(nullptr, question);
    EXPECT_EQ(dpi, WindowDpi(question));
    if (dpi != DefaultDpi) WizardDriver::DialogScreenshot(question, tag + "quit-question");
    EXPECT_TRUE(WizardDriver::AnswerDialog(question, "&Abort"));
    EXPECT_EQ(0u, wizard.WaitForExit());
}

}  // namespace
}  // namespace orv::e2e
