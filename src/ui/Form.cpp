// The modal form: its window, the modal loop and the dialog keyboard.
#include "ui/Form.h"

#include "common/WideWindows.h"
#include "common/WindowDpi.h"
#include "ui/Application.h"

namespace orv::ui {

namespace {

bool IsUsable(HWND wnd) {
    return wnd && ::IsWindowVisible(wnd) && ::IsWindowEnabled(wnd);
}

bool IsUsable(TButton* button) {
    return button && IsUsable(button->Handle());
}

char UpperAnsi(char c) {
    auto value = reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<unsigned char>(c)));
    return static_cast<char>(reinterpret_cast<ULONG_PTR>(::CharUpperA(value)));
}

bool IsPushButton(HWND wnd) {
    LRESULT code = ::SendMessageA(wnd, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The first usable window, depth first in tab (creation) order, whose caption carries
// the mnemonic; hidden or disabled windows are skipped with everything inside them.
HWND FindMnemonicWindow(HWND parent, char letter) {
    for (HWND w = ::GetWindow(parent, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (!IsUsable(w)) continue;
        const std::string text = GetWindowTextU(w);
        if (!text.empty() && MnemonicOf(text) == letter && TControl::FromHandle(w)) return w;
        if (HWND inner = FindMnemonicWindow(w, letter)) return inner;
    }
    return nullptr;
}

}  // namespace

char MnemonicOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return UpperAnsi(caption[i + 1]);
    }
    return '\0';
}

TForm::~TForm() {
    DestroyHandle();
}

void TForm::DestroyHandle() {
    if (Handle() && ::IsWindow(Handle())) ::DestroyWindow(Handle());
}

void TForm::CreateForm(const char* className, const std::string& caption, int clientWidth, int clientHeight) {
    // A single fixed border (no sizing frame) with the close box only.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT rc = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowed(className, caption.c_str(), style, exStyle, nullptr, 0, left, top, width, height);
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    dpi_ = WindowDpi(Handle());
    if (dpi_ != 96) FitClientToDpi(nullptr);
    if (HICON icon = ApplicationIcon()) {
        ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

int TForm::ShowModal() {
    modalResult_ = mrNone;
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    ::UpdateWindow(Handle());
    do {
        MSG msg;
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // WM_QUIT ends the run as a cancel and stays queued for whoever loops next.
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = mrCancel;
            break;
        }
        if (!PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (modalResult_ != mrNone) CloseModal();
    } while (modalResult_ == mrNone);
    ::ShowWindow(Handle(), SW_HIDE);
    return modalResult_;
}

void TForm::CloseModal() {
    bool canClose = true;
    try {
        canClose = CloseQuery();
    } catch (...) {
        HandleCurrentException();
        canClose = false;
    }
    if (!canClose) modalResult_ = mrNone;
}

bool TForm::PreTranslateMessage(MSG& msg) {
    try {
        return TranslateDialogMessage(msg);
    } catch (...) {
        HandleCurrentException();
        return true;
    }
}

bool TForm::TranslateDialogMessage(MSG& msg) {
    if (msg.hwnd != Handle() && !::IsChild(Handle(), msg.hwnd)) return false;
    switch (msg.message) {
    case WM_KEYDOWN:
        return HandleDialogKey(msg);
    case WM_SYSCHAR:
        return HandleMnemonic(UpperAnsi(static_cast<char>(msg.wParam)));
    case WM_CHAR: {
        // A plain letter acts as a mnemonic only where the focused control takes no text.
        LRESULT code = ::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
        if (msg.wParam <= ' ') return false;
        return HandleMnemonic(UpperAnsi(static_cast<char>(msg.wParam)));
    }
    default:
        return false;
    }
}

bool TForm::HandleDialogKey(const MSG& msg) {
    const WPARAM key = msg.wParam;
    if (key != VK_RETURN && key != VK_ESCAPE && key != VK_TAB) return false;
    // A dropped-down list or a control that asks for the key keeps it.
    LRESULT code = ::SendMessageA(msg.hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    if (code & DLGC_WANTMESSAGE) return false;
    if (key == VK_TAB) {
        if (code & DLGC_WANTTAB) return false;
        MoveFocus(::GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (key == VK_ESCAPE) {
        if (IsUsable(cancelButton_)) cancelButton_->Click();
        return true;
    }
    HWND focus = ::GetFocus();
    auto* focused = dynamic_cast<TButton*>(TControl::FromHandle(focus));
    if (focused && IsPushButton(focus) && IsUsable(focus))
        focused->Click();
    else if (IsUsable(defaultButton_))
        defaultButton_->Click();
    return true;
}

void TForm::MoveFocus(bool backwards) {
    HWND focus = ::GetFocus();
    HWND from = (focus && ::IsChild(Handle(), focus)) ? focus : nullptr;
    HWND next = ::GetNextDlgTabItem(Handle(), from, backwards ? TRUE : FALSE);
    if (!next) return;
    ::SetFocus(next);
    if (::SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageA(next, EM_SETSEL, 0, -1);
}

bool TForm::HandleMnemonic(char letter) {
    if (!letter) return false;
    HWND target = FindMnemonicWindow(Handle(), letter);
    if (!target) return false;
    TControl::FromHandle(target)->Accelerate();
    return true;
}

void TForm::RememberFocus() {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(Handle(), focus)) savedFocus_ = focus;
}

bool TForm::RestoreFocus() {
    HWND focus = savedFocus_;
    if (!focus || !::IsWindow(focus) || !::IsChild(Handle(), focus) || !::IsWindowVisible(focus) ||
        !::IsWindowEnabled(focus))
        return false;
    ::SetFocus(focus);
    return true;
}

LRESULT TForm::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE:
        // The default would put the focus on the frame, where typed letters act as mnemonics.
        if (LOWORD(wParam) == WA_INACTIVE)
            RememberFocus();
        else if (!HIWORD(wParam) && RestoreFocus())
            return 0;
        return TWinControl::WindowProc(msg, wParam, lParam);
    case WM_CLOSE:
        Close();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_ACTIVATEAPP:
        OnActivateApp(LOBYTE(wParam) != 0);
        return 0;
    case WM_DPICHANGED:
        DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return TWinControl::WindowProc(msg, wParam, lParam);
    }
}

}  // namespace orv::ui
