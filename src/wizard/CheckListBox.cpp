// The check list: items with three-state boxes, their drawing and the user's toggles.
#include "wizard/CheckListBox.h"

#include "common/DpiScaling.h"
#include "common/WideWindows.h"
#include "common/Owners.h"
#include "engine/SetupState.h"

#include <commctrl.h>

namespace orv {

namespace {

constexpr UINT_PTR SubclassId = 1;
constexpr WORD ObmCheckBoxes = 32759;  // OBM_CHECKBOXES, declared only with OEMRESOURCE

bool IsMousePress(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

}  // namespace

TCheckListBox::TCheckListBox() = default;

TCheckListBox::~TCheckListBox() {
    if (Handle()) ::RemoveWindowSubclass(Handle(), SubclassProc, SubclassId);
}

void TCheckListBox::Create(HWND parent, int id, int left, int top, int width, int height, HFONT font, int itemHeight,
                           int dpi) {
    itemHeight_ = itemHeight;
    dpi_ = dpi;
    CreateChild(
        "LISTBOX", "",
        WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
        WS_EX_CLIENTEDGE, parent, id, left, top, width, height);
    SetFont(font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    // Measured during creation, before the parent can route it to us: set the height now.
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(ScaleForDpi(itemHeight, dpi), 0));
    ::SetWindowSubclass(Handle(), SubclassProc, SubclassId, reinterpret_cast<DWORD_PTR>(this));
    for (const TItem& item : items_) SendTextMessageU(Handle(), LB_ADDSTRING, 0, item.Text);
}

void TCheckListBox::ScaleTo(int left, int top, int width, int height, int dpi) {
    dpi_ = dpi;
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(ScaleForDpi(itemHeight_, dpi), 0));
    SetBounds(left, top, width, height);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

int TCheckListBox::AddItem(const std::string& text) {
    items_.push_back(TItem{text, csUnchecked, 0});
    if (Handle()) SendTextMessageU(Handle(), LB_ADDSTRING, 0, text);
    return ItemCount() - 1;
}

void TCheckListBox::SetState(int index, uint8_t state) {
    if (index < 0 || index >= ItemCount()) return;
    items_[static_cast<size_t>(index)].State = state;
    InvalidateCheck(index);
    if (Handle()) ::UpdateWindow(Handle());
}

void TCheckListBox::SetItemData(int index, int32_t data) {
    if (index < 0 || index >= ItemCount()) return;
    items_[static_cast<size_t>(index)].Data = data;
    if (Handle()) {
        RECT r;
        if (::SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) !=
            LB_ERR)
            ::InvalidateRect(Handle(), &r, TRUE);
    }
}

int TCheckListBox::ItemIndex() const {
    return Handle() ? static_cast<int>(::SendMessageA(Handle(), LB_GETCURSEL, 0, 0)) : -1;
}

void TCheckListBox::SetItemIndex(int index) {
    if (Handle()) ::SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCheckListBox::Toggle(int index) {
    if (index < 0 || index >= ItemCount()) return;
    TItem& item = items_[static_cast<size_t>(index)];
    item.State = item.State == csUnchecked ? csChecked : csUnchecked;
    InvalidateCheck(index);
    if (OnClickCheck) OnClickCheck();
}

SIZE TCheckListBox::CheckBoxSize(int dpi) {
    static const SIZE size = [] {
        UniqueHBitmap boxes(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(ObmCheckBoxes)));
        BITMAP bm = {};
        if (!boxes || !::GetObjectA(boxes.get(), sizeof bm, &bm)) return SIZE{13, 13};
        return SIZE{bm.bmWidth / 4, bm.bmHeight / 3};
    }();
    return SIZE{ScaleForDpi(size.cx, dpi), ScaleForDpi(size.cy, dpi)};
}

int TCheckListBox::CheckWidth(int dpi) {
    return ScaleForDpi(CheckBoxSize().cx + 2, dpi);
}

void TCheckListBox::InvalidateCheck(int index) {
    RECT r;
    if (!Handle() ||
        ::SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return;
    r.right = r.left + CheckWidth(dpi_);
    ::InvalidateRect(Handle(), &r, FALSE);
}

// A press inside the check column toggles the item under it; the list has already
// handled the press (a left press selects the item first).
void TCheckListBox::MousePressed(LPARAM lParam) {
    const LRESULT hit = ::SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, lParam);
    if (HIWORD(hit) != 0) return;  // outside every item
    const int index = LOWORD(hit);
    RECT r;
    if (::SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return;
    const int x = static_cast<short>(LOWORD(lParam));
    if (x - r.left < CheckWidth(dpi_)) Toggle(index);
}

LRESULT CALLBACK TCheckListBox::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    auto* list = reinterpret_cast<TCheckListBox*>(self);
    if (msg == WM_CHAR && wParam == ' ') {
        list->Toggle(list->ItemIndex());
        return 0;
    }
    if (IsMousePress(msg)) {
        const LRESULT r = ::DefSubclassProc(wnd, msg, wParam, lParam);
        list->MousePressed(lParam);
        return r;
    }
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

bool TCheckListBox::HandleParentMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void TCheckListBox::DrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    const int index = static_cast<int>(di.itemID);
    RECT check = di.rcItem;
    check.right = check.left + CheckWidth(dpi_);
    ::FillRect(dc, &check, ::GetSysColorBrush(COLOR_WINDOW));
    if (index < 0 || index >= ItemCount()) return;

    const uint8_t state = State(index);
    const SIZE box = CheckBoxSize(dpi_);
    RECT boxRect;
    boxRect.left = check.left + (CheckWidth(dpi_) - box.cx) / 2;
    boxRect.top = check.top + (check.bottom - check.top - box.cy) / 2;
    boxRect.right = boxRect.left + box.cx;
    boxRect.bottom = boxRect.top + box.cy;
    UINT flags = DFCS_BUTTONCHECK;
    if (state == csChecked || state == csGrayed) flags |= DFCS_CHECKED;
    if (state == csGrayed) flags |= DFCS_INACTIVE;
    ::DrawFrameControl(dc, &boxRect, DFC_BUTTON, flags);

    RECT rest = di.rcItem;
    rest.left = check.right;
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    SelectObjectGuard brush(dc, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const COLORREF oldText = ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const COLORREF oldBk = ::SetBkColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (OnDrawItem) {
        OnDrawItem(dc, index, rest, di.itemState);
    } else {
        ::PatBlt(dc, rest.left, rest.top, rest.right - rest.left, rest.bottom - rest.top, PATCOPY);
        const std::string& text = ItemText(index);
        TextOutU(dc, rest.left + ScaleForDpi(2, dpi_), rest.top, text);
    }
    ::SetBkColor(dc, oldBk);
    ::SetTextColor(dc, oldText);
    if (di.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &rest);
}

}  // namespace orv
