// Driving windows like a user from a test: find them by caption, read their controls,
// press buttons and keys through window messages, wait, and keep screenshots.
#pragma once

#include "common/Owners.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orv::test {

// Which top-level windows a search looks at.
enum class WindowScope { ThisProcess, AnyProcess };

// One child control as a user sees it.
struct ControlInfo {
    HWND Handle = nullptr;
    std::string ClassName;  // "Button", "Static", ...
    std::string Text;       // caption, with any "&" mnemonic marker as it is
    RECT Rect = {};         // in the parent window's client coordinates
    int Id = 0;
    LONG Style = 0;
    bool Visible = false;
    bool Enabled = false;
};

// Runs the calling thread's message loop (timers and windows of this thread keep working)
// until condition holds or timeoutMs has passed; true if it held.
bool PumpMessagesUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Polls condition every pollMs until it holds or timeoutMs has passed; true if it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 10);

// A visible top-level window with exactly this caption (and this class, if given), or null.
HWND FindTopWindow(const std::string& caption, WindowScope scope = WindowScope::ThisProcess,
                   const char* className = nullptr);
// A visible top-level window of this class, whatever its caption, or null.
HWND FindTopWindowByClass(const char* className, WindowScope scope = WindowScope::ThisProcess);
// The same, waiting up to timeoutMs for it to appear.
HWND WaitForTopWindowByClass(const char* className, DWORD timeoutMs, WindowScope scope = WindowScope::ThisProcess);
HWND WaitForTopWindow(const std::string& caption, DWORD timeoutMs, WindowScope scope = WindowScope::ThisProcess,
                      const char* className = nullptr);
// Waits until the window is destroyed or hidden.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// A window's text, read with a message that cannot block on a hung owner.
std::string WindowText(HWND window);
// The client size and the outer rectangle on the screen.
SIZE ClientSize(HWND window);
RECT WindowRectOnScreen(HWND window);

// The direct child controls, in Z order (creation order for dialogs built in code).
std::vector<ControlInfo> ListControls(HWND window);
// The child control of this class (any, when null) whose text equals text, or null.
HWND FindControl(HWND window, const std::string& text, const char* className = nullptr);
// The control that has the keyboard focus in the window's thread (null if none).
HWND FocusedControl(HWND window);

// Clicks a button without waiting for what it starts (BM_CLICK is posted, so a modal
// dialog opened by the click does not block the caller).
void PressButton(HWND button);
// Finds the button by caption ("&Retry") and presses it; false if there is none.
bool PressButtonByText(HWND window, const std::string& caption);
// Sends a key press (WM_KEYDOWN + WM_KEYUP, posted) to the focused control of the
// window's thread, where the dialog manager sees it as typed: VK_RETURN, VK_ESCAPE, VK_TAB.
void PressKey(HWND window, UINT virtualKey);
// The title bar's close box (WM_SYSCOMMAND SC_CLOSE, posted).
void CloseFromTitleBar(HWND window);

// What the screen showed in a rectangle: 24-bit pixels in BMP order (rows bottom-up, each
// padded to four bytes).
struct ScreenPicture {
    int Width = 0;
    int Height = 0;
    std::vector<BYTE> Pixels;
    bool Empty() const { return Pixels.empty(); }
    // True when every pixel has the same colour: nothing drawn there yet, or a black screen.
    bool IsOneColour() const;
    bool operator==(const ScreenPicture& other) const;
    bool operator!=(const ScreenPicture& other) const { return !(*this == other); }
};

// Copies what the screen shows under the rectangle (screen coordinates).
bool CaptureScreen(const RECT& area, ScreenPicture& picture);
// Writes the picture as a 24-bit BMP file.
bool SavePicture(const ScreenPicture& picture, const std::string& path);

// The folder that keeps the tests' screenshots: <build dir>\screenshots (made if missing).
std::string ScreenshotFolder();
// Saves the window as it shows on the screen (brought to the front first), frame
// included, as a 24-bit BMP; a bare name lands in ScreenshotFolder().
bool SaveWindowScreenshot(HWND window, const std::string& fileName);

// A Win32 thread that runs a callable once; the destructor joins it. For driving a modal
// dialog while the test thread sits in its loop. Report results back through variables
// read after Join, not through gtest assertions on the thread.
class TestThread {
public:
    explicit TestThread(std::function<void()> body);
    ~TestThread();
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;
    // Waits for the body to return; false on timeout.
    bool Join(DWORD timeoutMs = INFINITE);
    HANDLE Handle() const { return handle_.get(); }

private:
    static DWORD WINAPI Run(LPVOID self);
    std::function<void()> body_;
    UniqueHandle handle_;
};

// How to answer one message dialog: the button caption to press ("&Retry"; empty closes
// it from the title bar), and what to do first while it is open.
struct DialogAnswer {
    std::string Button;
    std::function<void(HWND dialog)> Before;
};

// What a message dialog showed.
struct SeenDialog {
    std::string Caption;
    std::string Text;
};

// Answers the message dialogs ("TMessageForm" windows) of this process from a background
// thread, in order, while the test thread sits in their modal loops. Dialogs beyond the
// list are recorded too and closed from the title bar, so an unexpected question shows up
// as a failed count instead of a hung test. Stop (or the destructor) ends the watch.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::vector<DialogAnswer> answers = {});
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;
    // Ends the watch and returns every dialog seen, in order.
    std::vector<SeenDialog> Stop();

private:
    void Watch();
    std::vector<DialogAnswer> answers_;
    std::vector<SeenDialog> seen_;
    volatile LONG stop_ = 0;
    TestThread thread_;
};

// The text of a message dialog: its static control that is not the icon.
std::string MessageDialogText(HWND dialog);

}  // namespace orv::test
