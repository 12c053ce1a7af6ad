// Label, button, check box, edit, memo, list box and progress bar over the system classes.
#include "ui/StdControls.h"

#include "common/Owners.h"
#include "common/WideWindows.h"

#include <commctrl.h>

namespace orv::ui {

namespace {
constexpr DWORD Shown = WS_VISIBLE;
constexpr DWORD Focusable = WS_VISIBLE | WS_TABSTOP;

bool IsNotification(UINT msg, WPARAM wParam, WORD code) {
    return msg == WM_COMMAND && HIWORD(wParam) == code;
}
}  // namespace

void TLabel::Create(HWND parent, int id, int left, int top, int width, int height, const std::string& caption,
                    bool autoSize, bool rightAlign) {
    autoSize_ = autoSize;
    DWORD align = autoSize ? SS_LEFTNOWORDWRAP : rightAlign ? SS_RIGHT : SS_LEFT;
    CreateChild("STATIC", caption.c_str(), Shown | align, 0, parent, id, left, top, width, height);
    AdjustSize();
}

void TLabel::SetText(const std::string& text) {
    TControl::SetText(text);
    AdjustSize();
}

void TLabel::SetFontColor(COLORREF color) {
    fontColor_ = color;
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TLabel::AdjustSize() {
    if (!autoSize_ || !Handle()) return;
    WindowDC dc(Handle());
    SelectObjectGuard keep(dc.get(), Font());
    std::string text = Text();
    RECT rc = {0, 0, 0, 0};
    DrawTextU(dc.get(), text, rc, DT_CALCRECT | DT_EXPANDTABS | DT_LEFT);
    RECT place;
    ::GetWindowRect(Handle(), &place);
    ::MapWindowPoints(nullptr, ::GetParent(Handle()), reinterpret_cast<POINT*>(&place), 2);
    SetBounds(place.left, place.top, rc.right, rc.bottom);
}

void TLabel::Accelerate() {
    if (focusControl_) focusControl_->SetFocus();
}

bool TLabel::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg == WM_CTLCOLORSTATIC && fontColor_ != CLR_INVALID)
        ::SetTextColor(reinterpret_cast<HDC>(wParam), fontColor_);
    return false;  // the parent supplies its background
}

void TButton::Create(HWND parent, int id, int left, int top, int width, int height, const std::string& caption,
                     bool isDefault) {
    DWORD kind = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    CreateChild("BUTTON", caption.c_str(), Focusable | kind, 0, parent, id, left, top, width, height);
}

void TButton::Click() {
    if (OnClick) OnClick(this);
}

void TButton::Accelerate() {
    SetFocus();
    Click();
}

bool TButton::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (!IsNotification(msg, wParam, BN_CLICKED)) return false;
    Click();
    result = 0;
    return true;
}

void TCheckBox::Create(HWND parent, int id, int left, int top, int width, int height, const std::string& caption) {
    CreateChild("BUTTON", caption.c_str(), Focusable | BS_AUTOCHECKBOX, 0, parent, id, left, top, width, height);
}

bool TCheckBox::Checked() const {
    return ::SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    ::SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::Accelerate() {
    SetFocus();
    ::SendMessageA(Handle(), BM_CLICK, 0, 0);  // toggles and notifies like a mouse click
}

bool TCheckBox::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (!IsNotification(msg, wParam, BN_CLICKED)) return false;
    if (OnClick) OnClick(this);
    result = 0;
    return true;
}

void TEdit::Create(HWND parent, int id, int left, int top, int width, int height) {
    CreateChild("EDIT", "", Focusable | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent, id, left, top, width, height);
}

void TEdit::SelectAll() {
    ::SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

bool TEdit::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (!IsNotification(msg, wParam, EN_CHANGE)) return false;
    if (OnChange) OnChange(this);
    result = 0;
    return true;
}

void TMemo::Create(HWND parent, int id, int left, int top, int width, int height) {
    DWORD style = Focusable | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
    CreateChild("EDIT", "", style, WS_EX_CLIENTEDGE, parent, id, left, top, width, height);
    ::SendMessageA(Handle(), EM_SETLIMITTEXT, 0, 0);  // the largest text the control takes
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    SetText(text);
}

bool TMemo::IsEmpty() const {
    return ::GetWindowTextLengthW(Handle()) == 0;
}

int TMemo::LineCount() const {
    return static_cast<int>(::SendMessageA(Handle(), EM_GETLINECOUNT, 0, 0));
}

bool TMemo::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    // A read-only edit asks for static colours; the text box keeps the window's.
    if (msg != WM_CTLCOLORSTATIC) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    return true;
}

void TListBox::Create(HWND parent, int id, int left, int top, int width, int height, DWORD extraStyle) {
    DWORD style = Focusable | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | extraStyle;
    CreateChild("LISTBOX", "", style, WS_EX_CLIENTEDGE, parent, id, left, top, width, height);
}

int TListBox::AddItem(const std::string& text) {
    return static_cast<int>(SendTextMessageU(Handle(), LB_ADDSTRING, 0, text));
}

int TListBox::Count() const {
    return static_cast<int>(::SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
}

int TListBox::ItemIndex() const {
    return static_cast<int>(::SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
    ::SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string TListBox::Item(int index) const {
    return GetItemTextU(Handle(), LB_GETTEXTLEN, LB_GETTEXT, index);
}

bool TListBox::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (!IsNotification(msg, wParam, LBN_SELCHANGE)) return false;
    if (OnChange) OnChange(this);
    result = 0;
    return true;
}

void TProgressBar::Create(HWND parent, int id, int left, int top, int width, int height) {
    CreateChild(PROGRESS_CLASSA, "", Shown, 0, parent, id, left, top, width, height);
}

void TProgressBar::SetMax(int max) {
    ::SendMessageA(Handle(), PBM_SETRANGE32, 0, max);
}

int TProgressBar::Max() const {
    return static_cast<int>(::SendMessageA(Handle(), PBM_GETRANGE, FALSE, 0));
}

void TProgressBar::SetPosition(int position) {
    ::SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int TProgressBar::Position() const {
    return static_cast<int>(::SendMessageA(Handle(), PBM_GETPOS, 0, 0));
}

}  // namespace orv::ui
