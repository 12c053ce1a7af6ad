// Drives the real setup executable's wizard from the test process: start it, find its
// window and controls, press buttons, answer the message dialogs, keep screenshots.
#pragma once

#include "InstallScenario.h"

#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orv::e2e {

constexpr const char* WizardCaption = "Orvanel Word Processor - Setup";
constexpr const char* NextCaption = "&Next >";
constexpr const char* FinishCaption = "&Finish";
constexpr const char* AcceptCaption = "I &accept all the terms of the above License Agreement";
constexpr const char* LaunchCaption = "&Launch Orvanel Word Processor";
constexpr const char* QuitQuestionStart = "Setup is not complete.";

// The page titles in page order, 0 (Welcome) to 7 (Finish).
extern const char* const WizardPageTitles[8];

// How a user asks to quit the wizard.
enum class QuitBy { CancelButton, CloseBox, EscapeKey };

// What a user changes on the way through a whole install; everything else keeps its
// default.
struct InstallChoices {
    std::vector<int> ToggledComponents;  // the component page's items clicked, in order
    bool Launch = true;                  // the Finish page's launch box
    std::string ShotPrefix;              // when set, "<prefix>-3" and "<prefix>-7" of those pages
};

// Every descendant control of a window, depth first.
std::vector<HWND> Descendants(HWND window);

class WizardDriver {
public:
    // Starts the setup with the argument text and waits up to windowTimeoutMs for the wizard
    // to show (not at all with 0).
    explicit WizardDriver(const std::string& arguments = std::string(), DWORD windowTimeoutMs = 30000);
    // Waits up to timeoutMs for the wizard window; false when it has not shown, also at once
    // when the setup has ended without it.
    bool WaitForWindow(DWORD timeoutMs);

    HWND Window() const { return wizard_; }
    bool Started() const { return wizard_ != nullptr; }
    test::ChildProcess& Process() { return *process_; }

    // The visible controls of the class (any class when null) whose style bits under the
    // mask equal style, in creation order.
    std::vector<HWND> VisibleControls(const char* className, LONG styleMask = 0, LONG style = 0) const;
    // The visible control of the class whose text is text (any class when null), or null.
    HWND Control(const std::string& text, const char* className = nullptr) const;
    // The title shown in the banner ("" while none of the page titles is shown).
    std::string PageTitle() const;
    bool WaitForPage(const std::string& title, DWORD timeoutMs = 20000) const;
    // Presses the visible, enabled button with this caption; false when there is none.
    bool Press(const std::string& caption) const;
    bool IsEnabled(const std::string& caption) const;
    bool IsVisible(const std::string& caption) const;
    bool IsChecked(const std::string& caption) const;
    // The visible edit control, and setting its text.
    HWND Edit() const;
    void SetEditText(const std::string& text) const;
    // A message dialog of the setup, waited for; its text; pressing its button.
    HWND WaitForDialog(DWORD timeoutMs = 20000) const;
    static std::string DialogText(HWND dialog);
    static bool AnswerDialog(HWND dialog, const std::string& caption);
    // Saves a message dialog's picture as <screenshots>\<name>.bmp.
    static void DialogScreenshot(HWND dialog, const std::string& name);
    // Saves the wizard's picture as <screenshots>\<name>.bmp.
    void Screenshot(const std::string& name) const;
    // Waits for the process to end and returns its exit code (STILL_ACTIVE on timeout).
    DWORD WaitForExit(DWORD timeoutMs = 30000);

    // Presses Next until the page with this title shows (waiting out the copy on the
    // Installing page); false when a page does not move or a message dialog opens.
    bool NextTo(const std::string& title, DWORD pageTimeoutMs = 20000) const;
    // Presses Next and waits for the page to change (or a dialog to open); the page shown.
    std::string PressNextAndWait(DWORD timeoutMs = 20000) const;
    // From Welcome (waited for) to the page with this title, pressing Next; on the way the
    // destination edit is set to dest when given, every other default is kept. Up to Ready
    // every page must follow the one before, with a screenshot "<prefix>-<page number>" of
    // each when a prefix is given; beyond it the copy is waited out.
    bool WalkTo(const std::string& title, const std::string& dest = std::string(),
                const std::string& shotPrefix = std::string()) const;
    bool WalkToReady(const std::string& dest, const std::string& shotPrefix = std::string()) const {
        return WalkTo(WizardPageTitles[4], dest, shotPrefix);
    }
    // Clicks the check box when it shows the other state; true once it shows the one wanted.
    bool SetChecked(const std::string& caption, bool checked, DWORD timeoutMs = 5000) const;

    // Asks to quit the way given and waits for the closing question; null when none showed.
    HWND AskToQuit(QuitBy how) const;
    // Waits for the setup's next message dialog, keeps its text (and its picture as
    // <shot>.bmp when a name is given) and presses the button.
    ::testing::AssertionResult Answer(const std::string& button, std::string* text = nullptr,
                                      const std::string& shot = std::string()) const;
    // Asks to quit, checks that the closing question shows and answers it.
    ::testing::AssertionResult QuitAndAnswer(QuitBy how, const std::string& button,
                                             const std::string& shot = std::string()) const;
    // Asks to quit, answers Abort, and the setup ends with exit code 0.
    ::testing::AssertionResult QuitWithAbort(QuitBy how = QuitBy::CancelButton);
    // The text of the visible single-line edit.
    std::string EditText() const;
    // The text of the visible drop-down list (the drive list).
    std::string DriveListText() const;
    // The items of the visible list box (the folder list), as it holds them.
    std::vector<std::string> ListItems() const;
    // The visible right-aligned labels in creation order (the disk-space figures).
    std::vector<std::string> RightAlignedLabels() const;
    // Clicks inside the check-box column of the check list's item.
    void ToggleListCheck(int item) const;
    // The close box of the wizard's title bar.
    void PressCloseBox() const;

private:
    ::testing::AssertionResult AnswerShown(HWND dialog, const std::string& button, std::string* text,
                                           const std::string& shot) const;

    std::unique_ptr<test::ChildProcess> process_;
    HWND wizard_ = nullptr;
};

// A whole install into dest through a wizard of its own: Welcome to Finish with the
// choices, and the setup ended with exit code 0.
::testing::AssertionResult InstallWithWizard(const std::string& dest, const InstallChoices& choices = {});

}  // namespace orv::e2e
