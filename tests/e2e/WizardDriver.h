// Drives the real setup executable's wizard from the test process: start it, find its
// window and controls, press buttons, answer the message dialogs, keep screenshots.
#pragma once

#include "support/ChildProcess.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orv::e2e {

constexpr const char* WizardCaption = "Orvanel Word Processor - Setup";

// Every descendant control of a window, depth first.
std::vector<HWND> Descendants(HWND window);

class WizardDriver {
public:
    // Starts the setup with the argument text and waits for the wizard to show.
    explicit WizardDriver(const std::string& arguments = std::string());

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
    // Saves the wizard's picture as <screenshots>\<name>.bmp.
    void Screenshot(const std::string& name) const;
    // Waits for the process to end and returns its exit code (STILL_ACTIVE on timeout).
    DWORD WaitForExit(DWORD timeoutMs = 30000);

private:
    std::unique_ptr<test::ChildProcess> process_;
    HWND wizard_ = nullptr;
};

}  // namespace orv::e2e
