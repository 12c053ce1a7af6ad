// Driving windows like a user from a test: finding, reading, pressing, waiting, screenshots.
#include "support/Automation.h"

#include "support/Scratch.h"

#include <cstring>

namespace orv::test {

namespace {

struct TopSearch {
    const std::string* Caption;
    const char* ClassName;
    WindowScope Scope;
    HWND Found;
};

std::string ClassOf(HWND window) {
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

BOOL CALLBACK MatchTopWindow(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    if (!::IsWindowVisible(wnd)) return TRUE;
    if (s->Scope == WindowScope::ThisProcess) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(wnd, &pid);
        if (pid != ::GetCurrentProcessId()) return TRUE;
    }
    if (s->ClassName && ClassOf(wnd) != s->ClassName) return TRUE;
    if (WindowText(wnd) != *s->Caption) return TRUE;
    s->Found = wnd;
    return FALSE;
}

// Makes every missing level of a folder path.
void MakeFolders(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\') ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - start >= timeoutMs) return condition();
        ::Sleep(pollMs);
    }
}

bool PumpMessagesUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

HWND FindTopWindow(const std::string& caption, WindowScope scope, const char* className) {
    TopSearch s{&caption, className, scope, nullptr};
    ::EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&s));
    return s.Found;
}

BOOL CALLBACK MatchClass(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<TopSearch*>(param);
    if (!::IsWindowVisible(wnd) || ClassOf(wnd) != s->ClassName) return TRUE;
    if (s->Scope == WindowScope::ThisProcess) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(wnd, &pid);
        if (pid != ::GetCurrentProcessId()) return TRUE;
    }
    s->Found = wnd;
    return FALSE;
}

HWND FindTopWindowByClass(const char* className, WindowScope scope) {
    std::string any;
    TopSearch s{&any, className, scope, nullptr};
    ::EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&s));
    return s.Found;
}

HWND WaitForTopWindowByClass(const char* className, DWORD timeoutMs, WindowScope scope) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindowByClass(className, scope)) != nullptr; }, timeoutMs);
    return found;
}

HWND WaitForTopWindow(const std::string& caption, DWORD timeoutMs, WindowScope scope, const char* className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(caption, scope, className)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); }, timeoutMs);
}

std::string WindowText(HWND window) {
    wchar_t text[4096] = {};
    DWORD_PTR got = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &got))
        return std::string();
    return Utf8Of(text, static_cast<size_t>(got < 4096 ? got : 0));
}

SIZE ClientSize(HWND window) {
    RECT r = {};
    ::GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT WindowRectOnScreen(HWND window) {
    RECT r = {};
    ::GetWindowRect(window, &r);
    return r;
}

std::vector<ControlInfo> ListControls(HWND window) {
    std::vector<ControlInfo> controls;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ControlInfo c;
        c.Handle = child;
        c.ClassName = ClassOf(child);
        c.Text = WindowText(child);
        ::GetWindowRect(child, &c.Rect);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&c.Rect), 2);
        c.Id = ::GetDlgCtrlID(child);
        c.Style = ::GetWindowLongA(child, GWL_STYLE);
        c.Visible = ::IsWindowVisible(child) != FALSE;
        c.Enabled = ::IsWindowEnabled(child) != FALSE;
        controls.push_back(c);
    }
    return controls;
}

HWND FindControl(HWND window, const std::string& text, const char* className) {
    for (const ControlInfo& c : ListControls(window))
        if (c.Text == text && (!className || _stricmp(c.ClassName.c_str(), className) == 0)) return c.Handle;
    return nullptr;
}

HWND FocusedControl(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void PressButton(HWND button) {
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

bool PressButtonByText(HWND window, const std::string& caption) {
    HWND button = FindControl(window, caption, "Button");
    if (!button) return false;
    PressButton(button);
    return true;
}

void PressKey(HWND window, UINT virtualKey) {
    HWND target = FocusedControl(window);
    if (!target) target = window;
    const UINT scan = ::MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
    ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
    ::PostMessageA(target, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3u << 30));
}

void CloseFromTitleBar(HWND window) {
    ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// The build tree is a Linux path under Wine; Wine's Z: drive maps the Linux root.
std::string ScreenshotFolder() {
    std::string build = EnvVar("ORV_BUILD_DIR");
    std::string folder;
    if (!build.empty()) {
        if (build[0] == '/') build = "Z:" + build;
        for (char& c : build)
            if (c == '/') c = '\\';
        folder = build;
    } else {
        char exe[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        folder = exe;
        folder = folder.substr(0, folder.find_last_of('\\'));
    }
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    folder += "\\screenshots";
    MakeFolders(folder);
    return folder;
}

bool ScreenPicture::IsOneColour() const {
    const size_t stride = Pixels.size() / (Height > 0 ? static_cast<size_t>(Height) : 1);
    for (int y = 0; y < Height; ++y) {
        const BYTE* row = Pixels.data() + stride * static_cast<size_t>(y);
        for (int x = 0; x < Width; ++x)
            if (memcmp(row + 3 * x, Pixels.data(), 3) != 0) return false;
    }
    return true;
}

bool ScreenPicture::operator==(const ScreenPicture& other) const {
    return Width == other.Width && Height == other.Height && Pixels == other.Pixels;
}

bool CaptureScreen(const RECT& area, ScreenPicture& picture) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueHBitmap bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return false;
    {
        // What the user sees: the screen under the rectangle, frames and controls included.
        // (Wine's PrintWindow draws neither the frame nor the child controls.)
        WindowDC screenDc(nullptr);
        if (!screenDc.get()) return false;
        UniqueMemoryDC memDc(::CreateCompatibleDC(screenDc.get()));
        if (!memDc) return false;
        SelectObjectGuard select(memDc.get(), bitmap.get());
        if (!::BitBlt(memDc.get(), 0, 0, width, height, screenDc.get(), area.left, area.top, SRCCOPY)) return false;
    }
    ::GdiFlush();
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    const BYTE* first = static_cast<const BYTE*>(bits);
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.assign(first, first + stride * static_cast<size_t>(height));
    return true;
}

bool SavePicture(const ScreenPicture& picture, const std::string& path) {
    const DWORD pixelBytes = static_cast<DWORD>(picture.Pixels.size());
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = picture.Width;
    ih.biHeight = picture.Height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = pixelBytes;
    fh.bfType = 0x4D42;  // "BM"
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + pixelBytes;
    UniqueFile file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), &fh, sizeof(fh), &written, nullptr) &&
           ::WriteFile(file.get(), &ih, sizeof(ih), &written, nullptr) &&
           ::WriteFile(file.get(), picture.Pixels.data(), pixelBytes, &written, nullptr) && written == pixelBytes;
}

bool SaveWindowScreenshot(HWND window, const std::string& fileName) {
    std::string path = fileName.find('\\') == std::string::npos ? ScreenshotFolder() + "\\" + fileName : fileName;
    ::SetForegroundWindow(window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::Sleep(100);  // let the window's own thread finish painting
    ScreenPicture picture;
    return CaptureScreen(WindowRectOnScreen(window), picture) && SavePicture(picture, path);
}

TestThread::TestThread(std::function<void()> body) : body_(std::move(body)) {
    handle_.reset(::CreateThread(nullptr, 0, &TestThread::Run, this, 0, nullptr));
}

TestThread::~TestThread() {
    Join();
}

bool TestThread::Join(DWORD timeoutMs) {
    if (!handle_) return true;
    return ::WaitForSingleObject(handle_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD WINAPI TestThread::Run(LPVOID self) {
    static_cast<TestThread*>(self)->body_();
    return 0;
}

std::string MessageDialogText(HWND dialog) {
    for (const ControlInfo& c : ListControls(dialog))
        if (_stricmp(c.ClassName.c_str(), "Static") == 0 && (c.Style & SS_TYPEMASK) != SS_ICON) return c.Text;
    return std::string();
}

DialogAnswerer::DialogAnswerer(std::vector<DialogAnswer> answers)
    : answers_(std::move(answers)), thread_([this] { Watch(); }) {}

DialogAnswerer::~DialogAnswerer() {
    Stop();
}

std::vector<SeenDialog> DialogAnswerer::Stop() {
    ::InterlockedExchange(&stop_, 1);
    thread_.Join();
    return seen_;
}

void DialogAnswerer::Watch() {
    while (::InterlockedCompareExchange(&stop_, 0, 0) == 0) {
        HWND dialog = FindTopWindowByClass("TMessageForm");
        if (!dialog) {
            ::Sleep(10);
            continue;
        }
        seen_.push_back({WindowText(dialog), MessageDialogText(dialog)});
        const size_t n = seen_.size() - 1;
        if (n < answers_.size() && answers_[n].Before) answers_[n].Before(dialog);
        if (n < answers_.size() && !answers_[n].Button.empty())
            PressButtonByText(dialog, answers_[n].Button);
        else
            CloseFromTitleBar(dialog);
        WaitForWindowGone(dialog, 10000);
    }
}

}  // namespace orv::test
