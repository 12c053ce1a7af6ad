// The keyboard as a user has it: a button pressed with a key goes through the same error
// handling as a click, and the focus comes back to its control after every message box.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/Scratch.h"

#include "common/InstUtils.h"
#include "common/Owners.h"
#include "payload/AttachFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orv::e2e {
namespace {

// Types the text into whatever control has the focus, as the keyboard would.
void TypeText(HWND wizard, const std::string& text) {
    for (char c : text) {
        HWND target = test::FocusedControl(wizard);
        ::PostMessageA(target ? target : wizard, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

// The focus is back on the control within a few seconds (activation is asynchronous).
bool FocusReturnsTo(HWND wizard, HWND control) {
    return test::WaitUntil([&] { return test::FocusedControl(wizard) == control; }, 5000, 20);
}

class Keyboard : public InstallScenario {
protected:
    Keyboard() : InstallScenario("E:\\e2e-keyboard", "keyboard") {}
};

// Finish pressed with Enter while Update.log is held: the error box shows, the wizard
// closes as after a click, and everything a started install saves is saved.
TEST_F(Keyboard, EnterOnFinishShowsTheUpdateLogErrorAndStillSaves) {
    ScopedEnvVar log("ORV_START_LOG", startLog_);
    ScopedEnvVar quit("ORV_EXIT_AFTER_MS", "200");
    const std::string updateLog = SharedDataFolder() + "\\Update.log";
    UniqueFile held = test::HoldNewFile(updateLog, "held by the test\r\n");
    ASSERT_TRUE(held);

    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[7], dest_));
    test::PressKey(wizard.Window(), VK_RETURN);
    // The system's box that shows an error raised while the wizard handles a message.
    HWND box = test::WaitForTopWindowByClass("#32770", 30000, test::WindowScope::AnyProcess);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(nullptr, test::FindControl(box, "Exception EUpdateLogError", "Static"));
    WizardDriver::DialogScreenshot(box, "keyboard-finish-error");
    ASSERT_TRUE(test::PressButtonByText(box, "OK"));
    EXPECT_EQ(0u, wizard.WaitForExit()) << "the wizard closes as after a click";

    EXPECT_EQ(dest_, RegistryString(HKEY_CURRENT_USER, InstallSettingsKey, "MAINDIR"));
    EXPECT_EQ("Orvanel Word Processor", RegistryString(HKEY_LOCAL_MACHINE, UninstallEntryKey, "DisplayName"));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(dest_ + "\\Install.log", lines));
    EXPECT_FALSE(lines.empty());
    held.reset();
    EXPECT_EQ("held by the test\r\n", test::ReadFileBytes(updateLog));
}

// Esc on the destination page, No: the focus is back in the edit, so a typed path goes
// there and no letter of it acts as a button's mnemonic ("n" would press Next).
TEST_F(Keyboard, AfterTheQuitQuestionTypingGoesIntoTheDestinationEdit) {
    WizardDriver wizard;
    ASSERT_TRUE(wizard.WalkTo(WizardPageTitles[2]));
    ASSERT_TRUE(FocusReturnsTo(wizard.Window(), wizard.Edit())) << "the page puts the focus in the edit";
    wizard.SetEditText("");
    ASSERT_TRUE(wizard.QuitAndAnswer(QuitBy::EscapeKey, "&No"));
    EXPECT_TRUE(FocusReturnsTo(wizard.Window(), wizard.Edit()));

    const std::string typed = "E:\\Typed\\new Orvanel";
    TypeText(wizard.Window(), typed);
    test::WaitUntil([&] { return wizard.EditText() == typed || wizard.PageTitle() != WizardPageTitles[2]; }, 5000, 20);
    EXPECT_EQ(typed, wizard.EditText());
    EXPECT_EQ(WizardPageTitles[2], wizard.PageTitle());
    wizard.Screenshot("keyboard-2-typed-after-question");
    EXPECT_TRUE(wizard.QuitWithAbort(QuitBy::CloseBox));
}

// The running-product message and the licence refusal give the focus back to the button
// that brought them up.
TEST_F(Keyboard, TheFocusComesBackAfterTheRunningProductAndLicenceBoxes) {
    RunningProduct product;
    ASSERT_TRUE(product.Running());

    WizardDriver wizard;
    ASSERT_TRUE(wizard.WaitForPage(WizardPageTitles[0]));
    HWND next = wizard.Control(NextCaption, "Button");
    ASSERT_TRUE(wizard.Press(NextCaption));
    ASSERT_TRUE(wizard.Answer("OK"));
    EXPECT_TRUE(FocusReturnsTo(wizard.Window(), next)) << "after the running-product message";
    ASSERT_TRUE(product.Close());

    ASSERT_EQ(WizardPageTitles[1], wizard.PressNextAndWait());
    ASSERT_TRUE(wizard.SetChecked(AcceptCaption, false));
    ASSERT_TRUE(wizard.Press(NextCaption));
    ASSERT_TRUE(wizard.Answer("&No"));
    EXPECT_TRUE(FocusReturnsTo(wizard.Window(), next)) << "after the licence refusal";
    EXPECT_EQ(WizardPageTitles[1], wizard.PageTitle());
    EXPECT_TRUE(wizard.QuitWithAbort(QuitBy::CloseBox));
}

}  // namespace
}  // namespace orv::e2e
