// The real message dialog under Wine: its window, its controls, and what each key and click gives.
#include "common/MessageDialog.h"
#include "support/Automation.h"
#include "support/Watchdog.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace orv::test;

const std::string AriText =
    "Cannot create file \"C:\\Program Files\\Orvanel\\orv.exe\".\r"
    "Another application might already be using this file.";

TEST(MessageDialog, WindowMatchesItsLayout) {
    std::unique_ptr<TMessageForm> form = BuildMessageDialog(AriText, mkError, mbAbort | mbRetry | mbIgnore);
    HWND wnd = form->Handle();
    const TMessageDialogLayout& l = form->Layout();
    EXPECT_EQ("Error", WindowText(wnd));
    EXPECT_STREQ("TMessageForm", [&] {
        static char name[64];
        ::GetClassNameA(wnd, name, sizeof(name));
        return name;
    }());
    EXPECT_FALSE(::IsWindowVisible(wnd));  // built, not shown

    const LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_CAPTION | WS_SYSMENU), style & (WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(0, style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(nullptr, ::GetWindow(wnd, GW_OWNER));

    // The layout rests on the font's real measurements: Wine's Tahoma gives a sensible size.
    EXPECT_GE(l.Hm, 10);
    EXPECT_GE(l.Bh, 15);
    EXPECT_GT(l.Text.Height, l.Text.Height / 2 + 1);  // two lines: the "\r" breaks it
    SIZE client = ClientSize(wnd);
    EXPECT_EQ(l.ClientWidth, client.cx);
    EXPECT_EQ(l.ClientHeight, client.cy);
    RECT outer = WindowRectOnScreen(wnd);
    int left = 0, top = 0;
    CentreOnScreen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), outer.right - outer.left,
                   outer.bottom - outer.top, left, top);
    EXPECT_EQ(left, outer.left);
    EXPECT_EQ(top, outer.top);

    std::vector<ControlInfo> controls = ListControls(wnd);
    ASSERT_EQ(5u, controls.size());
    EXPECT_EQ(SS_ICON, controls[0].Style & SS_TYPEMASK);
    EXPECT_EQ((RECT{l.Hm, l.Vm, l.Hm + 32, l.Vm + 32}.left), controls[0].Rect.left);
    EXPECT_EQ(l.Vm, controls[0].Rect.top);
    EXPECT_EQ(32, controls[0].Rect.right - controls[0].Rect.left);
    EXPECT_EQ(32, controls[0].Rect.bottom - controls[0].Rect.top);
    EXPECT_EQ(AriText, controls[1].Text);
    EXPECT_EQ(l.Text.Left, controls[1].Rect.left);
    EXPECT_EQ(l.Text.Top, controls[1].Rect.top);
    EXPECT_EQ(l.Text.Width, controls[1].Rect.right - controls[1].Rect.left);
    EXPECT_EQ(l.Text.Height, controls[1].Rect.bottom - controls[1].Rect.top);
    const char* captions[] = {"&Abort", "&Retry", "&Ignore"};
    for (int i = 0; i < 3; ++i) {
        const ControlInfo& b = controls[2 + i];
        SCOPED_TRACE(captions[i]);
        EXPECT_EQ(captions[i], b.Text);
        EXPECT_EQ(l.Buttons[i].Rect.Left, b.Rect.left);
        EXPECT_EQ(l.Buttons[i].Rect.Top, b.Rect.top);
        EXPECT_EQ(l.Bw, b.Rect.right - b.Rect.left);
        EXPECT_EQ(l.Bh, b.Rect.bottom - b.Rect.top);
        EXPECT_EQ(i == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, b.Style & BS_TYPEMASK);
    }
}

TEST(MessageDialog, TextIsBrokenAtHalfTheScreenWidth) {
    const int half = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    std::string words;
    for (int i = 0; i < 60; ++i) words += "word ";
    std::unique_ptr<TMessageForm> wrapped = BuildMessageDialog(words, mkWarning, mbOK);
    std::unique_ptr<TMessageForm> oneLine = BuildMessageDialog("word", mkWarning, mbOK);
    EXPECT_LE(wrapped->Layout().Text.Width, half);
    EXPECT_GE(wrapped->Layout().Text.Height, 3 * oneLine->Layout().Text.Height);
    // A single word longer than the width widens the rectangle instead.
    std::unique_ptr<TMessageForm> longWord = BuildMessageDialog(std::string(200, 'W'), mkWarning, mbOK);
    EXPECT_GT(longWord->Layout().Text.Width, half);
    EXPECT_EQ(oneLine->Layout().Text.Height, longWord->Layout().Text.Height);
    // "&&" shows one ampersand and is measured as one.
    auto width = [](const char* text) { return BuildMessageDialog(text, mkWarning, mbOK)->Layout().Text.Width; };
    EXPECT_EQ(width("AB"), width("A&B"));
    EXPECT_EQ(width("A&&B"), width("AB") + width("&&"));
}

// What the driver thread does to an open dialog, step by step.
enum class Act { Enter, Esc, Close, Click };
struct Step {
    Act act;
    const char* button;  // for Click
    bool ends;           // whether the dialog must be gone after it
};
struct KeyCase {
    const char* name;
    uint16_t buttons;
    const char* focused;  // caption of the button with the focus when the dialog opens
    std::vector<Step> steps;
    int32_t result;
};

struct DriveReport {
    bool found = false;
    std::string focused;
    std::vector<bool> gone;  // after each step
    int buttonCount = 0;
};

HWND WaitForMessageDialog() {
    return WaitForTopWindowByClass(TMessageForm::ClassName, 5000);
}

DriveReport Drive(const std::vector<Step>& steps) {
    DriveReport r;
    HWND dialog = WaitForMessageDialog();
    if (!dialog) return r;
    r.found = true;
    // Sampled once the dialog's thread is idle in its loop, i.e. as a user would first see it.
    WaitUntil([&] { return FocusedControl(dialog) != nullptr; }, 2000);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 2000, &ignored);
    r.focused = WindowText(FocusedControl(dialog));
    for (const ControlInfo& c : ListControls(dialog))
        if (c.ClassName == "Button") ++r.buttonCount;
    for (const Step& s : steps) {
        switch (s.act) {
        case Act::Enter:
            PressKey(dialog, VK_RETURN);
            break;
        case Act::Esc:
            PressKey(dialog, VK_ESCAPE);
            break;
        case Act::Close:
            CloseFromTitleBar(dialog);
            break;
        case Act::Click:
            PressButtonByText(dialog, s.button);
            break;
        }
        r.gone.push_back(WaitForWindowGone(dialog, s.ends ? 5000 : 300));
    }
    return r;
}

TEST(MessageDialog, KeysClicksAndTheCloseBox) {
    const KeyCase cases[] = {
        {"ARI Enter", mbAbort | mbRetry | mbIgnore, "&Retry", {{Act::Enter, nullptr, true}}, IDRETRY},
        {"ARI Esc then close box",
         mbAbort | mbRetry | mbIgnore,
         "&Retry",
         {{Act::Esc, nullptr, false}, {Act::Close, nullptr, true}},
         IDCANCEL},
        {"ARI Ignore", mbAbort | mbRetry | mbIgnore, "&Retry", {{Act::Click, "&Ignore", true}}, IDIGNORE},
        {"OK Enter", mbOK, "OK", {{Act::Enter, nullptr, true}}, IDOK},
        {"OK Esc", mbOK, "OK", {{Act::Esc, nullptr, true}}, IDOK},
        {"Yes/No Enter", mbYes | mbNo, "&Yes", {{Act::Enter, nullptr, true}}, IDYES},
        {"Yes/No Esc", mbYes | mbNo, "&Yes", {{Act::Esc, nullptr, true}}, IDNO},
        {"Yes/No close box", mbYes | mbNo, "&Yes", {{Act::Close, nullptr, true}}, IDCANCEL},
        {"No/Abort Esc", mbNo | mbAbort, "&No", {{Act::Esc, nullptr, true}}, IDNO},
        {"No/Abort Abort", mbNo | mbAbort, "&No", {{Act::Click, "&Abort", true}}, IDABORT},
        {"No to All stays open",
         mbOK | mbNoToAll,
         "OK",
         {{Act::Click, "N&o to All", false}, {Act::Click, "OK", true}},
         IDOK},
        {"All", mbAll | mbOK, "OK", {{Act::Click, "&All", true}}, mrAll},
        {"empty set",
         0,
         "",
         {{Act::Enter, nullptr, false}, {Act::Esc, nullptr, false}, {Act::Close, nullptr, true}},
         IDCANCEL},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        DriveReport report;
        TestThread driver([&] { report = Drive(c.steps); });
        ModalWatchdog watchdog(c.name);
        const int32_t result = ShowMessageDialog("Question for the test", mkConfirm, c.buttons);
        ASSERT_TRUE(driver.Join(10000));
        ASSERT_TRUE(report.found);
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.focused, report.focused);
        ASSERT_EQ(c.steps.size(), report.gone.size());
        for (size_t i = 0; i < c.steps.size(); ++i) EXPECT_EQ(c.steps[i].ends, report.gone[i]) << "step " << i;
    }
}

// A top-level window of the test thread with a 100 ms timer, standing in for the wizard.
class TickingWindow {
public:
    TickingWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &TickingWindow::Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "OrvTestTicking";
        ::RegisterClassA(&wc);
        wnd_.reset(::CreateWindowExA(0, wc.lpszClassName, "Ticking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                     nullptr, nullptr, wc.hInstance, nullptr));
        ::SetTimer(wnd_.get(), 1, 100, nullptr);
    }
    ~TickingWindow() { ::KillTimer(wnd_.get(), 1); }
    HWND Handle() const { return wnd_.get(); }
    static volatile LONG Ticks;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_TIMER) {
            ::InterlockedIncrement(&Ticks);
            return 0;
        }
        return ::DefWindowProcA(wnd, msg, wp, lp);
    }
    UniqueHwnd wnd_;
};
volatile LONG TickingWindow::Ticks = 0;

TEST(MessageDialog, OtherWindowsAreDisabledButTheirTimersRun) {
    TickingWindow owner;
    ASSERT_NE(nullptr, owner.Handle());
    bool disabledWhileOpen = false;
    LONG ticksWhileOpen = 0;
    bool screenshot = false;
    TestThread driver([&] {
        HWND dialog = WaitForMessageDialog();
        if (!dialog) return;
        disabledWhileOpen = !::IsWindowEnabled(owner.Handle());
        const LONG before = TickingWindow::Ticks;
        ::Sleep(600);
        ticksWhileOpen = TickingWindow::Ticks - before;
        screenshot = SaveWindowScreenshot(dialog, "abort-retry-ignore.bmp");
        PressButtonByText(dialog, "&Abort");
    });
    {
        ModalWatchdog watchdog("the dialog over the ticking window");
        EXPECT_EQ(IDABORT, ShowMessageDialog(AriText, mkError, mbAbort | mbRetry | mbIgnore));
    }
    ASSERT_TRUE(driver.Join(10000));
    EXPECT_TRUE(disabledWhileOpen);
    EXPECT_GE(ticksWhileOpen, 3);
    EXPECT_TRUE(::IsWindowEnabled(owner.Handle()));
    EXPECT_TRUE(screenshot);
}

// A question asked while another is open (the worker's question over the quit question)
// gets its own loop; closing it gives control back to the first.
int32_t g_innerResult = -1;
void CALLBACK OpenInnerDialog(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    g_innerResult = ShowMessageDialog("inner", mkError, mbAbort | mbRetry | mbIgnore);
}

TEST(MessageDialog, NestedDialogsEachEndWithTheirOwnResult) {
    g_innerResult = -1;
    // Each dialog is found by its own caption: a driver that starts late (a busy machine)
    // finds both open, and the first of the class is then the inner one on top.
    TestThread driver([] {
        HWND inner = WaitForTopWindow("Error", 10000, WindowScope::ThisProcess, TMessageForm::ClassName);
        if (inner) {
            PressButtonByText(inner, "&Ignore");
            WaitForWindowGone(inner, 5000);
        }
        HWND outer = WaitForTopWindow("Confirm", 5000, WindowScope::ThisProcess, TMessageForm::ClassName);
        if (outer) PressButtonByText(outer, "&Abort");
    });
    // The outer dialog's loop dispatches this thread timer, which opens the inner dialog.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &OpenInnerDialog);
    int32_t outer = -1;
    {
        ModalWatchdog watchdog("the nested dialogs");
        outer = ShowMessageDialog("Setup is not complete.", mkConfirm, mbNo | mbAbort);
    }
    // Had the outer loop ended first, a later test's loop would open the inner dialog.
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(driver.Join(10000));
    EXPECT_EQ(IDABORT, outer);
    EXPECT_EQ(IDIGNORE, g_innerResult);
}

}  // namespace
}  // namespace orv
