// Finding and pressing the wizard's controls through window messages from another process.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/BuildTree.h"

#include "common/InstUtils.h"
#include "common/WideApi.h"
#include "common/WideWindows.h"

#include <functional>

namespace orv::e2e {

const char* const WizardPageTitles[8] = {
    "Welcome to the Orvanel Word Processor Setup",
    "License Agreement",
    "Choose Destination Folder",
    "Select Components",
    "Ready to Install",
    "Installing",
    "Associate With Document Types",
    "Installation Complete",
};

namespace {

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

WizardDriver::WizardDriver(const std::string& arguments, DWORD windowTimeoutMs)
    : process_(std::make_unique<test::ChildProcess>(test::SetupExePath(), arguments)) {
    if (windowTimeoutMs > 0) WaitForWindow(windowTimeoutMs);
}

bool WizardDriver::WaitForWindow(DWORD timeoutMs) {
    if (!wizard_ && process_->Started())
        test::WaitUntil(
            [&] {
                wizard_ = test::WaitForProcessWindow(process_->Id(), WizardCaption, 0);
                return wizard_ != nullptr || process_->ExitCode() != STILL_ACTIVE;
            },
            timeoutMs, 50);
    return wizard_ != nullptr;
}

std::vector<HWND> WizardDriver::VisibleControls(const char* className, LONG styleMask, LONG style) const {
    std::vector<HWND> found;
    for (HWND w : Descendants(wizard_))
        if (::IsWindowVisible(w) && (!className || _stricmp(ClassOf(w).c_str(), className) == 0) &&
            (::GetWindowLongA(w, GWL_STYLE) & styleMask) == style)
            found.push_back(w);
    return found;
}

HWND WizardDriver::Control(const std::string& text, const char* className) const {
    for (HWND w : VisibleControls(className))
        if (test::WindowText(w) == text) return w;
    return nullptr;
}

std::string WizardDriver::PageTitle() const {
    for (const char* title : WizardPageTitles)
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

bool WizardDriver::IsVisible(const std::string& caption) const {
    return Control(caption) != nullptr;
}

bool WizardDriver::IsChecked(const std::string& caption) const {
    HWND box = Control(caption, "Button");
    DWORD_PTR state = 0;
    ::SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

HWND WizardDriver::Edit() const {
    const std::vector<HWND> edits = VisibleControls("Edit", ES_MULTILINE, 0);
    return edits.empty() ? nullptr : edits.front();
}

void WizardDriver::SetEditText(const std::string& text) const {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(Edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(TWideArg(text).c_str()), SMTO_ABORTIFHUNG,
                          5000, &ignored);
}

HWND WizardDriver::WaitForDialog(DWORD timeoutMs) const {
    return test::WaitForTopWindowByClass("TMessageForm", timeoutMs, test::WindowScope::AnyProcess);
}

std::string WizardDriver::DialogText(HWND dialog) {
    return test::MessageDialogText(dialog);
}

bool WizardDriver::AnswerDialog(HWND dialog, const std::string& caption) {
    if (!test::PressButtonByText(dialog, caption)) return false;
    return test::WaitForWindowGone(dialog, 10000);
}

void WizardDriver::DialogScreenshot(HWND dialog, const std::string& name) {
    test::SaveWindowScreenshot(dialog, name + ".bmp");
}

void WizardDriver::Screenshot(const std::string& name) const {
    test::SaveWindowScreenshot(wizard_, name + ".bmp");
}

DWORD WizardDriver::WaitForExit(DWORD timeoutMs) {
    return process_->WaitForExit(timeoutMs);
}

bool WizardDriver::NextTo(const std::string& title, DWORD pageTimeoutMs) const {
    for (int step = 0; step < 8; ++step) {
        // One reading per step: the copy moves the wizard on by itself, and a second reading
        // could see the page after Installing and press Next on it.
        const std::string now = PageTitle();
        if (now == title) return true;
        if (test::FindTopWindowByClass("TMessageForm", test::WindowScope::AnyProcess)) return false;
        if (now == WizardPageTitles[5])
            test::WaitUntil([&] { return PageTitle() != WizardPageTitles[5]; }, pageTimeoutMs, 20);
        else
            PressNextAndWait(pageTimeoutMs);
    }
    return PageTitle() == title;
}

std::string WizardDriver::PressNextAndWait(DWORD timeoutMs) const {
    const std::string before = PageTitle();
    if (!Press(NextCaption)) return before;
    test::WaitUntil(
        [&] {
            return PageTitle() != before ||
                   test::FindTopWindowByClass("TMessageForm", test::WindowScope::AnyProcess) != nullptr;
        },
        timeoutMs, 20);
    return PageTitle();
}

bool WizardDriver::WalkTo(const std::string& title, const std::string& dest, const std::string& shotPrefix) const {
    int target = 0;
    while (target < 8 && title != WizardPageTitles[target]) ++target;
    if (target == 8 || !WaitForPage(WizardPageTitles[0])) return false;
    const int ready = 4;
    for (int page = 0; page < target && page < ready; ++page) {
        if (PageTitle() != WizardPageTitles[page]) return false;
        if (page == 2 && !dest.empty()) SetEditText(dest);
        if (!shotPrefix.empty()) Screenshot(shotPrefix + "-" + std::to_string(page));
        if (PressNextAndWait() != WizardPageTitles[page + 1]) return false;
    }
    if (target > ready) return NextTo(title, 60000);
    if (target == 2 && !dest.empty()) SetEditText(dest);
    if (!shotPrefix.empty()) Screenshot(shotPrefix + "-" + std::to_string(target));
    return true;
}

bool WizardDriver::SetChecked(const std::string& caption, bool checked, DWORD timeoutMs) const {
    if (IsChecked(caption) != checked) test::PressButton(Control(caption, "Button"));
    return test::WaitUntil([&] { return IsChecked(caption) == checked; }, timeoutMs, 20);
}

HWND WizardDriver::AskToQuit(QuitBy how) const {
    switch (how) {
    case QuitBy::CancelButton:
        if (!Press("Cancel")) return nullptr;
        break;
    case QuitBy::CloseBox:
        PressCloseBox();
        break;
    case QuitBy::EscapeKey:
        test::PressKey(wizard_, VK_ESCAPE);
        break;
    }
    return WaitForDialog();
}

::testing::AssertionResult WizardDriver::AnswerShown(HWND dialog, const std::string& button, std::string* text,
                                                     const std::string& shot) const {
    if (!dialog)
        return ::testing::AssertionFailure() << "no message dialog showed; the wizard is on \"" << PageTitle() << "\"";
    const std::string said = DialogText(dialog);
    if (text) *text = said;
    if (!shot.empty()) DialogScreenshot(dialog, shot);
    if (!AnswerDialog(dialog, button))
        return ::testing::AssertionFailure() << "\"" << button << "\" did not close the dialog \"" << said << "\"";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WizardDriver::Answer(const std::string& button, std::string* text,
                                                const std::string& shot) const {
    return AnswerShown(WaitForDialog(), button, text, shot);
}

::testing::AssertionResult WizardDriver::QuitAndAnswer(QuitBy how, const std::string& button,
                                                       const std::string& shot) const {
    std::string text;
    ::testing::AssertionResult answered = AnswerShown(AskToQuit(how), button, &text, shot);
    if (answered && text.rfind(QuitQuestionStart, 0) != 0)
        return ::testing::AssertionFailure() << "not the closing question: \"" << text << "\"";
    return answered;
}

::testing::AssertionResult WizardDriver::QuitWithAbort(QuitBy how) {
    ::testing::AssertionResult answered = QuitAndAnswer(how, "&Abort");
    if (!answered) return answered;
    const DWORD code = WaitForExit();
    if (code == STILL_ACTIVE) return ::testing::AssertionFailure() << "the setup still runs after Abort";
    if (code != 0) return ::testing::AssertionFailure() << "the setup ended with exit code " << code;
    return ::testing::AssertionSuccess();
}

std::string WizardDriver::EditText() const {
    return test::WindowText(Edit());
}

std::string WizardDriver::DriveListText() const {
    const std::vector<HWND> lists = VisibleControls("ComboBox");
    return lists.empty() ? std::string() : test::WindowText(lists.front());
}

std::vector<std::string> WizardDriver::ListItems() const {
    std::vector<std::string> items;
    for (HWND w : Descendants(wizard_)) {
        if (!::IsWindowVisible(w) || _stricmp(ClassOf(w).c_str(), "ListBox") != 0) continue;
        const int count = static_cast<int>(::SendMessageW(w, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) items.push_back(GetItemTextU(w, LB_GETTEXTLEN, LB_GETTEXT, i));
        break;
    }
    return items;
}

std::vector<std::string> WizardDriver::RightAlignedLabels() const {
    std::vector<std::string> texts;
    for (HWND w : VisibleControls("Static", SS_TYPEMASK, SS_RIGHT)) texts.push_back(test::WindowText(w));
    return texts;
}

void WizardDriver::ToggleListCheck(int item) const {
    const std::vector<HWND> lists = VisibleControls("ListBox");
    if (lists.empty()) return;
    DWORD_PTR height = 16;
    ::SendMessageTimeoutA(lists.front(), LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 5000, &height);
    const LPARAM at = MAKELPARAM(4, static_cast<int>(height) * item + static_cast<int>(height) / 2);
    ::PostMessageA(lists.front(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(lists.front(), WM_LBUTTONUP, 0, at);
}

void WizardDriver::PressCloseBox() const {
    test::CloseFromTitleBar(wizard_);
}

::testing::AssertionResult InstallWithWizard(const std::string& dest, const InstallChoices& choices) {
    WizardDriver wizard;
    const auto stopped = [&](const char* what) {
        return ::testing::AssertionFailure() << what << "; the wizard is on \"" << wizard.PageTitle() << "\"";
    };
    if (!wizard.WalkTo(WizardPageTitles[3], dest)) return stopped("the component page did not show");
    for (int item : choices.ToggledComponents) wizard.ToggleListCheck(item);
    if (!choices.ShotPrefix.empty()) wizard.Screenshot(choices.ShotPrefix + "-3");
    if (!wizard.NextTo(WizardPageTitles[7], 60000)) return stopped("the Finish page did not show");
    if (!wizard.SetChecked(LaunchCaption, choices.Launch)) return stopped("the launch box did not change");
    if (!choices.ShotPrefix.empty()) wizard.Screenshot(choices.ShotPrefix + "-7");
    if (!wizard.Press(FinishCaption)) return stopped("Finish could not be pressed");
    const DWORD code = wizard.WaitForExit();
    if (code != 0) return ::testing::AssertionFailure() << "the setup ended with exit code " << code << " after Finish";
    return ::testing::AssertionSuccess();
}

}  // namespace orv::e2e
