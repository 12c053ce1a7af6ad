// Finding and pressing the wizard's controls through window messages from another process.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/BuildTree.h"

#include <functional>

namespace orv::e2e {

namespace {

const char* const PageTitles[] = {
    "Welcome to the Orvanel Word Processor Setup", "License Agreement", "Choose Destination Folder",
    "Select Components", "Ready to Install", "Installing", "Associate With Document Types",
    "Installation Complete",
};

std::string ClassOf(HWND wnd) {
    char name[64] = "";
    ::GetClassNameA(wnd, name, sizeof(name));
    return name;
}

BOOL CALLBACK Collect(HWND wnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> Descendants(HWND window) {
    std::vector<HWND> all;
    ::EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&all));
    return all;
}

WizardDriver::WizardDriver(const std::string& arguments)
    : process_(std::make_unique<test::ChildProcess>(test::SetupExePath(), arguments)) {
    if (process_->Started()) wizard_ = test::WaitForProcessWindow(process_->Id(), WizardCaption, 30000);
}

HWND WizardDriver::Control(const std::string& text, const char* className) const {
    for (HWND w : Descendants(wizard_)) {
        if (!::IsWindowVisible(w)) continue;
        if (className && _stricmp(ClassOf(w).c_str(), className) != 0) continue;
        if (test::WindowText(w) == text) return w;
    }
    return nullptr;
}

std::string WizardDriver::PageTitle() const {
    for (const char* title : PageTitles)
        if (Control(title, "Static")) return title;
    return std::string();
}

bool WizardDriver::WaitForPage(const std::string& title, DWORD timeoutMs) const {
    return test::WaitUntil([&] { return PageTitle() == title; }, timeoutMs, 20);
}

bool WizardDriver::Press(const std::string& caption) const {
    HWND button = Control(caption, "Button");
    if (!button || !::IsWindowEnabled(button)) return false;
    test::PressButton(button);
    return true;
}

bool WizardDriver::IsEnabled(const std::string& caption) const {
    HWND button = Control(caption, "Button");
    return button && ::IsWindowEnabled(button);
}

bool WizardDriver::IsVisible(const std::string& caption) const { return Control(caption) != nullptr; }

bool WizardDriver::IsChecked(const std::string& caption) const {
    HWND box = Control(caption, "Button");
    DWORD_PTR state = 0;
    ::SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

HWND WizardDriver::Edit() const {
    for (HWND w : Descendants(wizard_))
        if (::IsWindowVisible(w) && _stricmp(ClassOf(w).c_str(), "Edit") == 0 &&
            !(::GetWindowLongA(w, GWL_STYLE) & ES_MULTILINE))
            return w;
    return nullptr;
}

void WizardDriver::SetEditText(const std::string& text) const {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(Edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                          &ignored);
}

HWND WizardDriver::WaitForDialog(DWORD timeoutMs) const {
    HWND dialog = nullptr;
    test::WaitUntil(
        [&] {
            dialog = test::FindTopWindowByClass("TMessageForm", test::WindowScope::AnyProcess);
            return dialog != nullptr;
        },
        timeoutMs, 20);
    return dialog;
}

std::string WizardDriver::DialogText(HWND dialog) { return test::MessageDialogText(dialog); }

bool WizardDriver::AnswerDialog(HWND dialog, const std::string& caption) {
    if (!test::PressButtonByText(dialog, caption)) return false;
    return test::WaitForWindowGone(dialog, 10000);
}

void WizardDriver::Screenshot(const std::string& name) const { test::SaveWindowScreenshot(wizard_, name + ".bmp"); }

DWORD WizardDriver::WaitForExit(DWORD timeoutMs) {
    if (!process_->Wait(timeoutMs)) return STILL_ACTIVE;
    return process_->ExitCode();
}

}  // namespace orv::e2e
