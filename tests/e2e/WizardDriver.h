// Drives the real setup executable's wizard from the test process: start it, find its
// window and controls, press buttons, answer the message dialogs, keep screenshots.
#pragma once

#include "support/ChildProcess.h"

#include "common/InstUtils.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orv::e2e {

constexpr const char* WizardCaption = "Orvanel Word Processor - Setup";
constexpr const char* InstallSettingsKey = "Software\\Orvanel Word Processor\\Install";
constexpr const char* UninstallEntryKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanel Word Processor";
constexpr const char* ProductShortcutName = "Orvanel Word Processor.lnk";
constexpr const char* NextCaption = "&Next >";
constexpr const char* QuitQuestionStart = "Setup is not complete.";

// The page titles in page order, 0 (Welcome) to 7 (Finish).
extern const char* const WizardPageTitles[8];

// Removes what a run of the setup leaves on the machine: the stored settings, the
// uninstall entry, the four shortcuts and the shared data folder.
void ForgetEarlierInstalls();
// Waits until no copy of the installed product runs any more (an association run that is
// still starting holds orv.exe open, so the next install could not replace it).
bool WaitForProductExit(DWORD timeoutMs = 15000);
// A registry string ("<none>" when missing) and whether a value exists.
std::string RegistryString(HKEY root, const char* key, const char* name);
bool RegistryHasValue(HKEY root, const char* key, const char* name);
// The shortcut paths a normal install makes or replaces (all users and current user).
std::vector<std::string> ProductShortcutPaths();

// Sets an environment variable for the processes a test starts, removed afterwards.
// A scenario that installs into a folder of its own: the earlier installs, that folder and
// the product's start log are cleared before and after it.
class InstallScenario : public ::testing::Test {
protected:
    InstallScenario(const std::string& root, const std::string& tag)
        : root_(root), dest_(root + "\\Orvanel"), startLog_(GetTempFolder() + "orv-e2e-" + tag + "-start.log") {}
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    const std::string root_;
    const std::string dest_;
    const std::string startLog_;

private:
    void Clear() const {
        ForgetEarlierInstalls();
        DeleteTree(root_);
        ::DeleteFileA(startLog_.c_str());
    }
};

class ScopedEnvVar {
public:
    ScopedEnvVar(const char* name, const std::string& value);
    ~ScopedEnvVar();
    ScopedEnvVar(const ScopedEnvVar&) = delete;
    ScopedEnvVar& operator=(const ScopedEnvVar&) = delete;

private:
    const char* name_;
};

// The stand-in product started from a scratch copy; it stays until closed.
class RunningProduct {
public:
    explicit RunningProduct(const std::string& exe);
    bool Running() const { return window_ != nullptr; }
    bool Close();

private:
    std::unique_ptr<test::ChildProcess> process_;
    HWND window_ = nullptr;
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
    // Welcome to Ready, the destination edit set to dest, every other default kept; with a
    // screenshot name prefix, a screenshot "<prefix>-<page number>" of every page passed.
    bool WalkToReady(const std::string& dest, const std::string& shotPrefix = std::string()) const;
    // The text of the visible single-line edit.
    std::string EditText() const;
    // The text of the visible drop-down list (the drive list).
    std::string DriveListText() const;
    // The visible right-aligned labels in creation order (the disk-space figures).
    std::vector<std::string> RightAlignedLabels() const;
    // Clicks inside the check-box column of the check list's item.
    void ToggleListCheck(int item) const;
    // The close box of the wizard's title bar.
    void PressCloseBox() const;

private:
    std::unique_ptr<test::ChildProcess> process_;
    HWND wizard_ = nullptr;
};

}  // namespace orv::e2e
