// The message dialog: built on the fly around a text, an icon and a row of buttons, run
// in a modal loop of its own and destroyed before the call returns.
#include "common/MessageDialog.h"

#include "common/WideApi.h"
#include "common/WideWindows.h"
#include "common/WindowDpi.h"

#include <cstddef>
#include <cstring>
#include <exception>
#include <vector>

namespace orv {

namespace {

struct KindRow {
    const char* Caption;
    LPCSTR Icon;
};
const KindRow Kinds[] = {
    {"Warning", IDI_EXCLAMATION},
    {"Error", IDI_HAND},
    {"Information", IDI_ASTERISK},
    {"Confirm", IDI_QUESTION},
};

struct ButtonRow {
    const char* Caption;
    int32_t Result;
};
const ButtonRow ButtonRows[MessageButtonCount] = {
    {"&Yes", IDYES},     {"&No", IDNO},         {"OK", IDOK},    {"Cancel", IDCANCEL}, {"&Abort", IDABORT},
    {"&Retry", IDRETRY}, {"&Ignore", IDIGNORE}, {"&All", mrAll}, {"N&o to All", 0},
};

// Control identifiers of the buttons: clear of IDOK/IDCANCEL, so the keyboard's Enter and
// Esc commands (which carry those identifiers and no control) are told apart from clicks.
constexpr int ButtonIdBase = 100;

const KindRow& KindOf(uint8_t kind) {
    return Kinds[kind <= mkConfirm ? kind : 0];
}

// A window class of our own that behaves as a dialog (DefDlgProc, dialog extra bytes),
// so the dialog keeps the dialog manager's keyboard handling and is findable by class.
void RegisterFormClass() {
    // A Unicode dialog: the text and caption it shows never pass through the ANSI code page.
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const TWideArg className(TMessageForm::ClassName);
    WNDCLASSW existing;
    if (::GetClassInfoW(instance, className.c_str(), &existing)) return;
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = ::DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className.c_str();
    ::RegisterClassW(&wc);
}

// An in-memory dialog template with no controls: caption and close box, a fixed modal
// frame, our class. Sizes are set in pixels after creation.
std::vector<DWORD> MakeTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE t = {};
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    std::memcpy(words.data(), &t, sizeof(t));
    words.push_back(0);  // no menu
    for (const char* c = TMessageForm::ClassName; *c; ++c) words.push_back(static_cast<WORD>(*c));
    words.push_back(0);
    words.push_back(0);  // empty title: the kind's caption is set afterwards
    std::vector<DWORD> aligned((words.size() + 1) / 2, 0);
    std::memcpy(aligned.data(), words.data(), words.size() * sizeof(WORD));
    return aligned;
}

// The system's message font at the window's scale, or nothing (the controls then keep
// their default font). The system describes it for its own scale, which a window on
// another monitor does not share.
UniqueHFont CreateMessageFont(int dpi) {
    NONCLIENTMETRICSW metrics = {};
    // The size without the padded-border field is understood by every version since 2000.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return UniqueHFont();
    LOGFONTW& font = metrics.lfMessageFont;
    font.lfHeight = RescaleFontHeight(font.lfHeight, SystemDpi(), dpi);
    return UniqueHFont(::CreateFontIndirectW(&font));
}

void MoveChild(HWND child, const TLayoutRect& r) {
    ::SetWindowPos(child, nullptr, r.Left, r.Top, r.Width, r.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateChild(HWND parent, const char* cls, const char* text, DWORD style, const TLayoutRect& r, int id,
                 HFONT font) {
    HWND child = CreateWindowExU(0, cls, text ? text : "", WS_CHILD | WS_VISIBLE | style, r.Left, r.Top, r.Width,
                                 r.Height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr);
    if (child && font) ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

struct DisabledWindows {
    HWND Except;
    std::vector<HWND> Windows;
};

BOOL CALLBACK DisableThreadWindow(HWND wnd, LPARAM param) {
    auto* list = reinterpret_cast<DisabledWindows*>(param);
    if (wnd != list->Except && ::IsWindowVisible(wnd) && ::IsWindowEnabled(wnd)) {
        ::EnableWindow(wnd, FALSE);
        list->Windows.push_back(wnd);
    }
    return TRUE;
}

// Not an error of the setup's own kinds: the start-up box names it plain "Exception".
class DialogNotCreated : public std::exception {
public:
    const char* what() const noexcept override { return "The message dialog could not be created."; }
};

}  // namespace

const char* const TMessageForm::ClassName = "TMessageForm";

const char* MessageKindCaption(uint8_t kind) {
    return KindOf(kind).Caption;
}
LPCSTR MessageKindIcon(uint8_t kind) {
    return KindOf(kind).Icon;
}
const char* MessageButtonCaption(int index) {
    return ButtonRows[index].Caption;
}
int32_t MessageButtonResult(int index) {
    return ButtonRows[index].Result;
}

SIZE GetAverageCharSize(HDC dc) {
    char chars[223];
    for (int i = 0; i < 223; ++i) chars[i] = static_cast<char>(32 + i);
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc, chars, 223, &extent);
    return SIZE{extent.cx / 223, extent.cy};
}

TMessageForm::~TMessageForm() {
    if (wnd_) ::SetWindowLongPtrW(wnd_.get(), DWLP_USER, 0);
    wnd_.reset();  // the window and its controls go before the font they use
}

void TMessageForm::End(int32_t result) {
    result_ = result;
    done_ = true;
}

// A click on a button ends the dialog with its result (No to All's 0 does not end it).
// Esc arrives as IDCANCEL without a control and presses the cancel button, if any.
bool TMessageForm::OnCommand(WPARAM wp, LPARAM lp) {
    const int id = LOWORD(wp);
    HWND from = reinterpret_cast<HWND>(lp);
    if (from && HIWORD(wp) == BN_CLICKED && id >= ButtonIdBase && id < ButtonIdBase + MessageButtonCount) {
        const int32_t result = MessageButtonResult(id - ButtonIdBase);
        if (result != 0) End(result);
        return true;
    }
    if (!from && id == IDCANCEL) {
        if (cancelButton_)
            ::SendMessageA(wnd_.get(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(cancelButton_), BN_CLICKED),
                           reinterpret_cast<LPARAM>(cancelButton_));
        return true;
    }
    return !from;  // Enter with no default button: nothing to press
}

INT_PTR CALLBACK TMessageForm::DialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrW(wnd, DWLP_USER, lp);
        return FALSE;  // the focus is placed when the dialog is shown
    }
    auto* form = reinterpret_cast<TMessageForm*>(::GetWindowLongPtrW(wnd, DWLP_USER));
    if (!form) return FALSE;
    switch (msg) {
    case WM_COMMAND:
        return form->OnCommand(wp, lp) ? TRUE : FALSE;
    case WM_DPICHANGED:
        form->DpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return TRUE;
    case WM_CLOSE:  // the close box, Alt+F4 or SC_CLOSE: Cancel's result whatever the buttons
        form->End(IDCANCEL);
        return TRUE;
    case WM_DESTROY:
        if (!form->done_) form->End(IDCANCEL);
        return FALSE;
    default:
        return FALSE;
    }
}

void TMessageForm::CreateControls() {
    HWND wnd = wnd_.get();
    HFONT font = font_.get();
    iconWnd_ = CreateChild(wnd, "STATIC", nullptr, SS_ICON, layout_.Icon, -1, nullptr);
    textWnd_ = CreateChild(wnd, "STATIC", text_.c_str(), SS_LEFT, layout_.Text, -1, font);
    for (const TLayoutButton& b : layout_.Buttons) {
        const bool isDefault = b.Index == layout_.DefaultIndex;
        DWORD style = WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        if (&b == &layout_.Buttons.front()) style |= WS_GROUP;
        HWND button =
            CreateChild(wnd, "BUTTON", MessageButtonCaption(b.Index), style, b.Rect, ButtonIdBase + b.Index, font);
        if (isDefault) defaultButton_ = button;
        if (b.Index == layout_.CancelIndex) cancelButton_ = button;
    }
    ShowIcon();
    if (defaultButton_) ::SendMessageA(wnd, DM_SETDEFID, static_cast<WPARAM>(::GetDlgCtrlID(defaultButton_)), 0);
}

// The static control sizes itself to the icon; the layout's square is put back afterwards.
void TMessageForm::ShowIcon() {
    icon_ = LoadSystemIcon(MessageKindIcon(kind_), layout_.Icon.Width);
    ::SendMessageA(iconWnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.Icon), 0);
    MoveChild(iconWnd_, layout_.Icon);
}

void TMessageForm::MoveControls() {
    HFONT font = font_.get();
    MoveChild(textWnd_, layout_.Text);
    ::SendMessageA(textWnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (const TLayoutButton& b : layout_.Buttons) {
        HWND button = ::GetDlgItem(wnd_.get(), ButtonIdBase + b.Index);
        MoveChild(button, b.Rect);
        ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    ShowIcon();
}

// Font, text extent and layout for the scale: the text is measured with the font it is shown in.
void TMessageForm::Measure(int dpi) {
    dpi_ = dpi;
    font_ = CreateMessageFont(dpi);
    SIZE avg;
    RECT r = {0, 0, static_cast<LONG>(static_cast<unsigned>(::GetSystemMetrics(SM_CXSCREEN)) >> 1), 0};
    {
        WindowDC dc(wnd_.get());
        SelectObjectGuard select(dc.get(), font_.get());
        avg = GetAverageCharSize(dc.get());
        DrawTextU(dc.get(), text_, r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    }
    layout_ = LayoutMessageDialog(avg.cx, avg.cy, r.right, r.bottom, buttons_, ScaleForDpi(MessageIconSize, dpi));
}

// Centred on the screen, or at the top left the system proposes after a change of scale.
// The frame is measured at the scale the system draws it at, the window's own.
void TMessageForm::PlaceWindow(const RECT* proposed) {
    HWND wnd = wnd_.get();
    const RECT client = {0, 0, layout_.ClientWidth, layout_.ClientHeight};
    const RECT outer = WindowRectForClient(client, static_cast<DWORD>(::GetWindowLongA(wnd, GWL_STYLE)),
                                           static_cast<DWORD>(::GetWindowLongA(wnd, GWL_EXSTYLE)), WindowDpi(wnd));
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    int left = 0, top = 0;
    if (proposed) {
        left = proposed->left;
        top = proposed->top;
    } else {
        CentreOnScreen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), width, height, left, top);
    }
    ::SetWindowPos(wnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMessageForm::DpiChanged(int dpi, const RECT& proposed) {
    // The controls let go of the old font and icon before they are freed.
    UniqueHFont oldFont = std::move(font_);
    TSystemIcon oldIcon = std::move(icon_);
    Measure(dpi);
    PlaceWindow(&proposed);
    MoveControls();
}

std::unique_ptr<TMessageForm> BuildMessageDialog(const std::string& text, uint8_t kind, uint16_t buttons) {
    std::unique_ptr<TMessageForm> form(new TMessageForm());
    RegisterFormClass();
    const std::vector<DWORD> tmpl = MakeTemplate();
    form->wnd_.reset(::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                                  reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()), nullptr,
                                                  &TMessageForm::DialogProc, reinterpret_cast<LPARAM>(form.get())));
    if (!form->wnd_) throw DialogNotCreated();
    HWND wnd = form->wnd_.get();
    KeepDialogManagerScalingOff(wnd);
    form->text_ = text;
    form->kind_ = kind;
    form->buttons_ = buttons;
    form->Measure(WindowDpi(wnd));
    form->PlaceWindow(nullptr);
    SetWindowTextU(wnd, MessageKindCaption(kind));
    form->CreateControls();
    return form;
}

int32_t TMessageForm::ShowModal() {
    HWND wnd = wnd_.get();
    HWND previous = ::GetActiveWindow();
    DisabledWindows disabled{wnd, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));

    // The dialog manager remembers the control named before the window is shown and gives
    // it the focus on activation, so the focus never rests anywhere else first.
    HWND focus = defaultButton_;
    if (!focus && !layout_.Buttons.empty()) focus = ::GetDlgItem(wnd, ButtonIdBase + layout_.Buttons.front().Index);
    if (focus) ::SendMessageA(wnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    ::ShowWindow(wnd, SW_SHOW);
    if (focus && ::GetFocus() != focus) ::SendMessageA(wnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    if (!focus) ::SetFocus(wnd);

    MSG msg;
    while (!done_) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {  // WM_QUIT: end like a close and let the outer loop see it too
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            End(IDCANCEL);
            break;
        }
        if (got == -1) break;
        if (!::IsWindow(wnd) || !::IsDialogMessageW(wnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // Re-enable first, so that activation returns to the window that had it.
    for (HWND w : disabled.Windows) ::EnableWindow(w, TRUE);
    if (::IsWindow(wnd)) ::ShowWindow(wnd, SW_HIDE);
    if (previous && ::IsWindow(previous)) ::SetActiveWindow(previous);
    return result_;
}

int32_t ShowMessageDialog(const std::string& text, uint8_t kind, uint16_t buttons) {
    std::unique_ptr<TMessageForm> form = BuildMessageDialog(text, kind, buttons);
    return form->ShowModal();
}

}  // namespace orv
