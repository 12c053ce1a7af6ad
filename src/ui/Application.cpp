// The hidden application window, common controls, and the error box of window handlers.
#include "ui/Application.h"

#include "common/Errors.h"
#include "common/WideApi.h"
#include "common/WideWindows.h"

#include <commctrl.h>

#include <exception>
#include <new>

namespace orv::ui {

namespace {

constexpr const char* ApplicationClass = "TApplication";
HWND applicationWindow = nullptr;  // lives until the process ends, like the thread's windows
HICON applicationIcon = nullptr;   // a resource icon: shared, never destroyed
std::string applicationTitle;

}  // namespace

void InitApplication() {
    if (applicationWindow) return;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    const TWideArg className(ApplicationClass);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = className.c_str();
    ::RegisterClassW(&wc);
    // Never shown: it only carries the title and the icon, as the task switcher reads them.
    applicationWindow = CreateWindowExU(WS_EX_TOOLWINDOW, ApplicationClass, applicationTitle, WS_POPUP, 0, 0, 0, 0,
                                        nullptr, nullptr, nullptr);
}

HWND ApplicationWindow() {
    return applicationWindow;
}

void SetApplicationIcon(HICON icon) {
    applicationIcon = icon;
    if (applicationWindow) ::SendMessageA(applicationWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

HICON ApplicationIcon() {
    return applicationIcon;
}

void SetApplicationTitle(const std::string& title) {
    applicationTitle = title;
    if (applicationWindow) SetWindowTextU(applicationWindow, title);
}

std::string ApplicationTitle() {
    return applicationTitle;
}

std::string CurrentExceptionTypeName() {
    try {
        throw;
    } catch (const EAbort&) {
        return std::string();
    } catch (const EOrvError& e) {
        return e.TypeName();
    } catch (const std::bad_alloc&) {
        return "EOutOfMemory";
    } catch (...) {
        return "Exception";
    }
}

void ShowExceptionBox(const std::string& typeName) {
    std::string text = "Exception " + typeName;
    ::MessageBoxA(nullptr, text.c_str(), nullptr, MB_ICONERROR | MB_TASKMODAL);
}

void HandleCurrentException() {
    std::string name = CurrentExceptionTypeName();
    if (!name.empty()) ShowExceptionBox(name);
}

}  // namespace orv::ui
