// The questions the wizard asks on its way: the product already running when the licence
// is shown or the copy starts, and a destination file that another program holds open.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace orv::e2e {
namespace {

constexpr const char* RunningText =
    "A copy of Orvanel Word Processor is already running on your system.\r"
    "Please close any running instance(s) of Orvanel Word Processor, then click OK in this dialog.";

class Questions : public InstallScenario {
protected:
    Questions() : InstallScenario("E:\\e2e-questions", "questions") {}
};

// Next on the page shows the running-product message; OK keeps the page, every button as it was.
void ExpectRunningRefusal(WizardDriver& wizard, int page, const std::string& shot) {
    ASSERT_TRUE(wizard.Press(NextCaption));
    std::string text;
    ASSERT_TRUE(wizard.Answer("OK", &text, shot + "-message"));
    EXPECT_EQ(RunningText, text);
    EXPECT_EQ(WizardPageTitles[page], wizard.PageTitle());
    EXPECT_TRUE(wizard.IsEnabled(NextCaption));
    EXPECT_TRUE(wizard.IsEnabled("Cancel"));
    wizard.Screenshot(shot + "-after-ok");
}

TEST_F(Questions, ProductRunningKeepsWelcomeAndReadyUntilItIsClosed) {
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[0]));
    {
        RunningProduct product;
        ASSERT_TRUE(product.Running());
        ExpectRunningRefusal(wizard, 0, "running-0");
        ASSERT_TRUE(product.Close());
    }
    ASSERT_EQ(WizardPageTitles[1], wizard.PressNextAndWait());
    ASSERT_TRUE(wizard.NextTo(WizardPageTitles[2]));
    wizard.SetEditText(dest_);
    ASSERT_TRUE(wizard.NextTo(WizardPageTitles[4]));
    {
        RunningProduct product;
        ASSERT_TRUE(product.Running());
        ExpectRunningRefusal(wizard, 4, "running-4");
        EXPECT_FALSE(FolderExists(dest_)) << "the copy must not start";
        ASSERT_TRUE(product.Close());
    }
    ASSERT_TRUE(wizard.NextTo(WizardPageTitles[6], 60000));
    EXPECT_TRUE(FileExists(dest_ + "\\orv.exe"));
    EXPECT_TRUE(wizard.QuitWithAbort(QuitBy::CloseBox));
}

// How a held file is answered, and what the install does afterwards.
struct HeldFileCase {
    const char* Name;
    std::vector<const char*> Answers;  // in order; the file is let go before the last
    bool Completes;                    // the wizard reaches the association page
    bool LicenceWritten;               // the payload's licence replaced the held file
};

class HeldFile : public Questions, public ::testing::WithParamInterface<HeldFileCase> {};

// The licence is the second file of the plan: the program is copied before it.
TEST_P(HeldFile, AbortRetryIgnore) {
    const HeldFileCase& c = GetParam();
    const std::string licence = dest_ + "\\License.txt";
    UniqueFile held = test::HoldNewFile(licence, "held by the test");
    ASSERT_TRUE(held);

    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkToReady(dest_));
    ASSERT_TRUE(wizard.Press(NextCaption));
    const std::string shot = std::string("held-") + c.Name;
    for (size_t i = 0; i < c.Answers.size(); ++i) {
        HWND question = wizard.WaitForDialog();
        ASSERT_NE(nullptr, question) << "answer " << i;
        EXPECT_EQ("Cannot create file \"" + licence + "\".\rAnother application might already be using this file.",
                  WizardDriver::DialogText(question));
        EXPECT_EQ(WizardPageTitles[5], wizard.PageTitle());
        if (i == 0) wizard.Screenshot(shot + "-5");  // the Installing page, held by the question
        WizardDriver::DialogScreenshot(question, shot + "-5-question-" + std::to_string(i));
        if (i + 1 == c.Answers.size()) held.reset();
        EXPECT_TRUE(WizardDriver::AnswerDialog(question, c.Answers[i]));
    }
    if (c.Completes) {
        ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[6], 60000));
        wizard.Screenshot(shot + "-6");
        EXPECT_TRUE(wizard.QuitWithAbort(QuitBy::CloseBox));
    } else {
        EXPECT_EQ(0u, wizard.WaitForExit()) << "Abort closes the wizard without the closing question";
    }

    TAttachedFiles catalogue;
    const TAttachedFile* entry = catalogue.FindEntry("License.txt");
    ASSERT_NE(nullptr, entry);
    const std::string bytes = test::ReadFileBytes(licence);
    if (c.LicenceWritten)
        EXPECT_EQ(static_cast<size_t>(entry->Size), bytes.size());
    else
        EXPECT_EQ("held by the test", bytes);
    EXPECT_EQ(c.Completes, FileExists(dest_ + "\\Hyphenation.dat"));

    // A started install saves what was done, also after Abort.
    EXPECT_EQ(dest_, RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    std::vector<std::string> log;
    ASSERT_TRUE(ReadTextLines(dest_ + "\\Install.log", log));
    const auto logged = [&](const std::string& path) { return CountLines(log, "File Copy: " + path) > 0; };
    EXPECT_TRUE(logged(dest_ + "\\orv.exe"));
    EXPECT_EQ(c.LicenceWritten, logged(licence));
}

INSTANTIATE_TEST_SUITE_P(Answers, HeldFile,
                         ::testing::Values(HeldFileCase{"retry", {"&Retry", "&Retry"}, true, true},
                                           HeldFileCase{"ignore", {"&Ignore"}, true, false},
                                           HeldFileCase{"abort", {"&Abort"}, false, false}),
                         [](const ::testing::TestParamInfo<HeldFileCase>& info) { return info.param.Name; });

}  // namespace
}  // namespace orv::e2e
