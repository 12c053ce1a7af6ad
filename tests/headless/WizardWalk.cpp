// Walking the wizard page by page through window messages, with a picture of every page.
#include "WizardWalk.h"

#include "WizardDriver.h"

#include "support/Automation.h"
#include "support/ChildProcess.h"

#include <commctrl.h>

#include <cstring>

namespace orv::walk {

namespace {

// A busy machine can take long to show the next page; the first start in a new prefix longer.
constexpr DWORD WindowTimeoutMs = 120000;
constexpr DWORD PageTimeoutMs = 60000;
constexpr DWORD CopyTimeoutMs = 300000;
constexpr DWORD PaintTimeoutMs = 20000;
constexpr DWORD ExitTimeoutMs = 60000;

constexpr int InstallingPage = 5;
constexpr int FinishPage = 7;
constexpr const char* PictureNames[8] = {"0-welcome", "1-license",    "2-destination", "3-components",
                                         "4-ready",   "5-installing", "6-associate",   "7-finish"};

// The rectangles, in the wizard's own picture, of its visible controls of a class.
std::vector<RECT> ControlRects(const e2e::WizardDriver& wizard, const char* className) {
    const RECT frame = test::WindowRectOnScreen(wizard.Window());
    std::vector<RECT> rects;
    for (HWND w : wizard.VisibleControls(className)) {
        RECT r = test::WindowRectOnScreen(w);
        ::OffsetRect(&r, -frame.left, -frame.top);
        rects.push_back(r);
    }
    return rects;
}

// True when two pictures of the window agree everywhere but inside the skipped rectangles.
bool SameOutside(const test::ScreenPicture& a, const test::ScreenPicture& b, const std::vector<RECT>& skip) {
    if (a.Width != b.Width || a.Height != b.Height || a.Pixels.size() != b.Pixels.size()) return false;
    const size_t stride = a.Pixels.size() / static_cast<size_t>(a.Height > 0 ? a.Height : 1);
    for (int row = 0; row < a.Height; ++row) {
        const int y = a.Height - 1 - row;  // BMP rows run bottom-up
        const size_t at = stride * static_cast<size_t>(row);
        for (int x = 0; x < a.Width; ++x) {
            const POINT p = {x, y};
            const size_t i = at + 3 * static_cast<size_t>(x);
            if (memcmp(&a.Pixels[i], &b.Pixels[i], 3) == 0) continue;
            bool skipped = false;
            for (const RECT& r : skip) skipped = skipped || ::PtInRect(&r, p);
            if (!skipped) return false;
        }
    }
    return true;
}

BOOL CALLBACK CollectTopWindow(HWND wnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
    return TRUE;
}

class Walk {
public:
    Walk(const std::string& arguments, const std::string& folder) : wizard_(arguments, 0), folder_(folder) {}

    WalkOutcome Run();

private:
    bool WaitForWizard();
    // Waits until a page other than page shows; false (the outcome says why) when a message
    // comes instead, the setup ends or nothing happens in time.
    bool WaitForPageAfter(int page, DWORD timeoutMs, int& shown);
    bool Prepare(int page);
    bool TakePicture(int page);
    bool PaintPending() const;
    int CurrentPage();
    HWND SetupMessage();
    void MeetMessage(HWND message);
    bool SetupEnded();
    void WaitForEnd();

    e2e::WizardDriver wizard_;
    std::string folder_;
    HWND title_ = nullptr;
    test::ScreenPicture last_;
    WalkOutcome out_;
};

WalkOutcome Walk::Run() {
    if (!wizard_.Process().Started()) {
        out_.Trouble = "the setup could not be started (error " + std::to_string(wizard_.Process().StartError()) + ")";
        return out_;
    }
    if (!WaitForWizard()) return out_;
    DWORD copyStart = 0;
    for (int page = -1;;) {
        int shown = -1;
        if (!WaitForPageAfter(page, page == InstallingPage ? CopyTimeoutMs : PageTimeoutMs, shown)) return out_;
        if (copyStart && shown > InstallingPage) {
            out_.CopyMs = ::GetTickCount() - copyStart;
            copyStart = 0;
        }
        page = shown;
        out_.CopyStarted = out_.CopyStarted || page >= InstallingPage;
        if (!Prepare(page)) return out_;
        if (!TakePicture(page) && page != InstallingPage) {
            out_.Trouble = "the page \"" + std::string(e2e::WizardPageTitles[page]) + "\" was never painted";
            return out_;
        }
        if (page == InstallingPage) continue;  // the copy moves the wizard on by itself
        if (page == InstallingPage - 1) copyStart = ::GetTickCount();
        if (!wizard_.Press(page == FinishPage ? e2e::FinishCaption : e2e::NextCaption)) {
            out_.Trouble = "no enabled button to go on from \"" + std::string(e2e::WizardPageTitles[page]) + "\"";
            return out_;
        }
        if (page == FinishPage) break;
    }
    WaitForEnd();
    return out_;
}

bool Walk::WaitForWizard() {
    const DWORD start = ::GetTickCount();
    while (!wizard_.WaitForWindow(200)) {
        if (HWND message = SetupMessage()) {
            // The wizard can show between the look for it and the look for a message; then the
            // "message" is the wizard itself.
            if (wizard_.WaitForWindow(0) && message == wizard_.Window()) break;
            MeetMessage(message);
            return false;
        }
        if (SetupEnded()) {
            out_.Trouble = "the setup ended before its wizard showed";
            return false;
        }
        if (::GetTickCount() - start > WindowTimeoutMs) {
            out_.Trouble = "the wizard window did not show";
            return false;
        }
    }
    ::SetForegroundWindow(wizard_.Window());
    return true;
}

bool Walk::WaitForPageAfter(int page, DWORD timeoutMs, int& shown) {
    HWND message = nullptr;
    test::WaitUntil(
        [&] {
            shown = CurrentPage();
            if (shown >= 0 && shown != page) return true;
            return (message = SetupMessage()) != nullptr || SetupEnded();
        },
        timeoutMs, 20);
    if (shown >= 0 && shown != page) return true;
    if (message)
        MeetMessage(message);
    else if (SetupEnded())
        out_.Trouble =
            "the setup ended on the page \"" + std::string(page >= 0 ? e2e::WizardPageTitles[page] : "") + "\"";
    else
        out_.Trouble = "the wizard did not move on from \"" +
                       std::string(page >= 0 ? e2e::WizardPageTitles[page] : "") + "\" within " +
                       std::to_string(timeoutMs / 1000) + " s";
    return false;
}

// The boxes a user who keeps every proposal still sets: the licence accepted, no launch at
// the end (nobody is at the screen to use the product).
bool Walk::Prepare(int page) {
    const char* box = page == 1 ? e2e::AcceptCaption : page == FinishPage ? e2e::LaunchCaption : nullptr;
    if (!box || wizard_.SetChecked(box, page == 1, PageTimeoutMs)) return true;
    out_.Trouble = std::string("the box \"") + box + "\" did not change";
    return false;
}

// Saves the wizard's picture once the page has painted: no paint is pending in the window,
// what the screen shows there has more than one colour and differs from the page before,
// and two captures in a row agree outside the progress bar (Wine hands a painted window to
// X a little later).
// False when the page moved on first or never settled.
bool Walk::TakePicture(int page) {
    // The progress bar moves on by itself while the copy runs.
    const std::vector<RECT> moving = ControlRects(wizard_, PROGRESS_CLASSA);
    test::ScreenPicture shot, previous;
    const bool settled = test::WaitUntil(
        [&] {
            if (CurrentPage() != page) return true;
            previous = std::move(shot);
            shot = test::ScreenPicture();
            if (PaintPending() || !test::CaptureScreen(test::WindowRectOnScreen(wizard_.Window()), shot)) return false;
            return !shot.IsOneColour() && shot != last_ && SameOutside(shot, previous, moving);
        },
        PaintTimeoutMs, 40);
    if (!settled || CurrentPage() != page) return false;
    const std::string name = std::string(PictureNames[page]) + ".bmp";
    if (!test::SavePicture(shot, folder_ + "\\" + name)) return false;
    last_ = std::move(shot);
    out_.Pictures.push_back(name);
    return true;
}

bool Walk::PaintPending() const {
    if (::GetUpdateRect(wizard_.Window(), nullptr, FALSE)) return true;
    for (HWND w : e2e::Descendants(wizard_.Window()))
        if (::IsWindowVisible(w) && ::GetUpdateRect(w, nullptr, FALSE)) return true;
    return false;
}

// The page shown, 0 to 7, read from the banner title; -1 when none shows.
int Walk::CurrentPage() {
    if (!::IsWindow(wizard_.Window())) return -1;
    if (!title_) {
        for (HWND w : e2e::Descendants(wizard_.Window())) {
            const std::string text = test::WindowText(w);
            for (const char* title : e2e::WizardPageTitles)
                if (text == title) title_ = w;
            if (title_) break;
        }
    }
    const std::string text = title_ ? test::WindowText(title_) : std::string();
    for (int page = 0; page < 8; ++page)
        if (text == e2e::WizardPageTitles[page]) return page;
    return -1;
}

// A visible window of the setup other than the wizard: a message or a question.
HWND Walk::SetupMessage() {
    std::vector<HWND> windows;
    ::EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND w : windows) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        if (pid == wizard_.Process().Id() && w != wizard_.Window() && ::IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// Nobody can answer a question here: the message is reported and pictured; a message with
// only OK is acknowledged so the setup can end as it would for a user, any other leaves
// the setup to be stopped.
void Walk::MeetMessage(HWND message) {
    std::string text = test::MessageDialogText(message);
    if (text.empty()) text = test::MessageBoxText(message);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    out_.Trouble = "the setup showed the message \"" + test::WindowText(message) + "\": " + text;
    test::ScreenPicture shot;
    if (test::CaptureScreen(test::WindowRectOnScreen(message), shot) && !shot.IsOneColour() &&
        test::SavePicture(shot, folder_ + "\\message.bmp"))
        out_.Pictures.push_back("message.bmp");
    if (!test::PressButtonByText(message, "OK") && !test::PressButtonByText(message, "&OK")) return;
    if (test::WaitUntil([&] { return SetupEnded(); }, ExitTimeoutMs / 6, 50)) WaitForEnd();
}

bool Walk::SetupEnded() {
    return wizard_.Process().ExitCode() != STILL_ACTIVE;
}

void Walk::WaitForEnd() {
    const DWORD code = wizard_.WaitForExit(ExitTimeoutMs);
    if (code == STILL_ACTIVE) {
        if (out_.Trouble.empty()) out_.Trouble = "the setup did not end after Finish";
        return;
    }
    out_.Ended = true;
    out_.ExitCode = code;
}

}  // namespace

WalkOutcome WalkWizard(const std::string& arguments, const std::string& pictureFolder) {
    Walk walk(arguments, pictureFolder);
    return walk.Run();
}

}  // namespace orv::walk
