// Finding and pressing the wizard's controls through window messages from another process.
#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/BuildTree.h"

#include "common/InstUtils.h"

#include <shlobj.h>
#include <tlhelp32.h>

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

void ForgetEarlierInstalls() {
    WaitForProductExit();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvanel Word Processor");
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, UninstallEntryKey);
    for (const std::string& link : ProductShortcutPaths()) ::DeleteFileA(link.c_str());
    DeleteTree(GetSpecialFolder(CSIDL_COMMON_APPDATA) + "\\Orvanel");
}

std::string RegistryString(HKEY root, const char* key, const char* name) {
    char buffer[1024] = "";
    DWORD size = sizeof(buffer);
    if (::RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) return "<none>";
    return buffer;
}

bool RegistryHasValue(HKEY root, const char* key, const char* name) {
    return ::RegGetValueA(root, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> ProductShortcutPaths() {
    std::vector<std::string> links;
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY})
        links.push_back(GetSpecialFolder(csidl) + "\\" + ProductShortcutName);
    return links;
}

ScopedEnvVar::ScopedEnvVar(const char* name, const std::string& value) : name_(name) {
    ::SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnvVar::~ScopedEnvVar() {
    ::SetEnvironmentVariableA(name_, nullptr);
}

RunningProduct::RunningProduct(const std::string& exe) {
    ScopedEnvVar stay("ORV_EXIT_AFTER_MS", "60000");
    // A copy just written can still be busy for a moment under Wine: a start is retried.
    for (int attempt = 0; attempt < 3; ++attempt) {
        process_ = std::make_unique<test::ChildProcess>(exe);
        if (process_->Started()) break;
        ::Sleep(200);
    }
    if (process_->Started())
        window_ = test::WaitForProcessWindow(process_->Id(), "", 20000);
    else
        ADD_FAILURE() << "cannot start " << exe << ": error " << process_->StartError();
}

bool RunningProduct::Close() {
    ::PostMessageA(window_, WM_CLOSE, 0, 0);
    return process_->Wait(10000);
}

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

HWND WizardDriver::Control(const std::string& text, const char* className) const {
    for (HWND w : Descendants(wizard_)) {
        if (!::IsWindowVisible(w)) continue;
        if (className && _stricmp(ClassOf(w).c_str(), className) != 0) continue;
        if (test::WindowText(w) == text) return w;
    }
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
    if (!process_->Wait(timeoutMs)) return STILL_ACTIVE;
    return process_->ExitCode();
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

bool WizardDriver::WalkToReady(const std::string& dest, const std::string& shotPrefix) const {
    if (!WaitForPage(WizardPageTitles[0])) return false;
    for (int page = 0; page < 4; ++page) {
        if (PageTitle() != WizardPageTitles[page]) return false;
        if (page == 2) SetEditText(dest);
        if (!shotPrefix.empty()) Screenshot(shotPrefix + "-" + std::to_string(page));
        if (PressNextAndWait() != WizardPageTitles[page + 1]) return false;
    }
    if (!shotPrefix.empty()) Screenshot(shotPrefix + "-4");
    return true;
}

std::string WizardDriver::EditText() const {
    return test::WindowText(Edit());
}

std::string WizardDriver::DriveListText() const {
    for (HWND w : Descendants(wizard_))
        if (::IsWindowVisible(w) && _stricmp(ClassOf(w).c_str(), "ComboBox") == 0) return test::WindowText(w);
    return std::string();
}

std::vector<std::string> WizardDriver::RightAlignedLabels() const {
    std::vector<std::string> texts;
    for (HWND w : Descendants(wizard_))
        if (::IsWindowVisible(w) && _stricmp(ClassOf(w).c_str(), "Static") == 0 &&
            (::GetWindowLongA(w, GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT)
            texts.push_back(test::WindowText(w));
    return texts;
}

void WizardDriver::ToggleListCheck(int item) const {
    for (HWND w : Descendants(wizard_)) {
        if (!::IsWindowVisible(w) || _stricmp(ClassOf(w).c_str(), "ListBox") != 0) continue;
        DWORD_PTR height = 16;
        ::SendMessageTimeoutA(w, LB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 5000, &height);
        const LPARAM at = MAKELPARAM(4, static_cast<int>(height) * item + static_cast<int>(height) / 2);
        ::PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(w, WM_LBUTTONUP, 0, at);
        return;
    }
}

void WizardDriver::PressCloseBox() const {
    test::CloseFromTitleBar(wizard_);
}

namespace {

bool ProductProcessRuns() {
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry))
        if (lstrcmpiA(entry.szExeFile, "orv.exe") == 0) return true;
    return false;
}

}  // namespace

bool WaitForProductExit(DWORD timeoutMs) {
    return test::WaitUntil([] { return !ProductProcessRuns(); }, timeoutMs, 20);
}

}  // namespace orv::e2e
