// The drive list of the destination page: the drives, their names and pictures, the drive switch.
#include "wizard/DriveComboBox.h"

#include "common/DpiScaling.h"
#include "common/InstUtils.h"
#include "common/SystemLibrary.h"
#include "common/WideApi.h"
#include "common/WideWindows.h"
#include "engine/FolderLayout.h"
#include "wizard/FolderListBox.h"
#include "wizard/ListBitmaps.h"

#include <winnetwk.h>

#include <algorithm>

namespace orv {

namespace {

constexpr DWORD NameBufferSize = 261;
constexpr int DropDownItems = 8;

bool IsLowerLetter(char c) {
    return ::IsCharAlphaA(c) && ::IsCharLowerA(c);
}

// Lower case after a lower-case letter, upper case otherwise. On double-byte systems only
// A-Z and a-z change, as they always did there.
std::string ConvertCase(const std::string& text, char letter) {
    return ConvertLabelCase(text, letter, ::GetSystemMetrics(SM_DBCSENABLED) ? CP_ACP : 0);
}

char LowerLetter(char c) {
    char s[2] = {c, '\0'};
    ::CharLowerBuffA(s, 1);
    return s[0];
}

char UpperLetter(char c) {
    char s[2] = {c, '\0'};
    ::CharUpperBuffA(s, 1);
    return s[0];
}

void SelectInWindow(HWND wnd, int index) {
    if (wnd) ::SendMessageA(wnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace

std::string VolumeText(char letter) {
    const std::string root = std::string(1, letter) + ":\\";
    wchar_t name[NameBufferSize] = {};
    BOOL ok;
    {
        // An empty removable drive would otherwise bring up a system error box.
        CriticalErrorsSilenced silenced;
        ok = ::GetVolumeInformationW(TWideArg(root).c_str(), name, NameBufferSize, nullptr, nullptr, nullptr, nullptr,
                                     0);
    }
    return ok ? FormatVolumeLabel(Utf8Of(name), letter) : std::string();
}

std::string ConvertLabelCase(std::string text, char letter, UINT codePage) {
    const bool lower = IsLowerLetter(letter);
    if (text.empty()) return text;
    if (codePage != 0) {
        // Every byte of a character beyond ASCII is above 0x7F in UTF-8: only letters change.
        for (char& c : text) c = lower ? AsciiLower(c) : AsciiUpper(c);
        return text;
    }
    TWideText wide;
    if (!Utf8ToUtf16(text, wide)) return text;
    if (lower)
        ::CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    else
        ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return Utf8Of(wide.c_str(), wide.size());
}

std::string FormatVolumeLabel(const std::string& label, char letter) {
    return label.empty() ? label : "[" + ConvertCase(label, letter) + "]";
}

std::string NetworkName(char letter) {
    const std::string local = std::string(1, UpperLetter(letter)) + ":";
    wchar_t remote[NameBufferSize] = {};
    DWORD size = NameBufferSize;
    // mpr.dll is not always loaded from System32: a copy beside the setup would be taken
    // before the system's if it were imported.
    using WNetGetConnectionFn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
    static const auto getConnection = SystemFunction<WNetGetConnectionFn>("mpr.dll", "WNetGetConnectionW");
    if (getConnection && getConnection(TWideArg(local).c_str(), remote, &size) == NO_ERROR)
        return ConvertCase(Utf8Of(remote), letter);
    return VolumeText(letter);
}

TDriveComboBox::TDriveComboBox() = default;
TDriveComboBox::~TDriveComboBox() = default;

int TDriveComboBox::PictureHeight() const {
    return fixedPicture_.Loaded() ? fixedPicture_.Size().cy : ScaleForDpi(11, dpi_);
}

int TDriveComboBox::ItemHeightFor(HWND measureIn, HFONT font) const {
    TEXTMETRICW tm = {};
    {
        WindowDC dc(measureIn);
        SelectObjectGuard sel(dc.get(), font);
        ::GetTextMetricsW(dc.get(), &tm);
    }
    return std::max<int>(tm.tmHeight + ScaleForDpi(4, dpi_), PictureHeight());
}

// The selection field keeps the layout's box height less the frame.
void TDriveComboBox::SetFieldHeight(int boxHeight) {
    ::SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(boxHeight - 6, PictureHeight()));
}

void TDriveComboBox::Create(HWND parent, int id, int left, int top, int width, int height, HFONT font, int dpi) {
    dpi_ = dpi;
    fixedPicture_.Load("FIXEDDRIVE", dpi);
    removablePicture_.Load("REMOVABLEDRIVE", dpi);
    if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    const int itemHeight = ItemHeightFor(parent, font);

    // A drop-down list's window height includes its list; the layout's height is the box's.
    CreateChild("COMBOBOX", "",
                WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
                parent, id, left, top, width, height + DropDownItems * itemHeight + 2);
    SetFont(font);
    // Owner-drawn heights are asked for during creation, before anyone can answer; set them now.
    ::SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, itemHeight);
    SetFieldHeight(height);

    ReadDrives();
    SetDrive(drive_);
}

void TDriveComboBox::ScaleTo(int left, int top, int width, int height, int dpi) {
    dpi_ = dpi;
    fixedPicture_.SetDpi(dpi);
    removablePicture_.SetDpi(dpi);
    // The font for the new scale comes after the move; measure with the one it will get,
    // the parent's.
    HWND parent = ::GetParent(Handle());
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0));
    const int itemHeight = ItemHeightFor(parent, font ? font : Font());
    SetBounds(left, top, width, height + DropDownItems * itemHeight + 2);
    ::SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, itemHeight);
    SetFieldHeight(height);
}

void TDriveComboBox::SetFolderList(TDirectoryListBox* list) {
    folderList_ = list;
    if (list) list->SetDriveList(this);
}

void TDriveComboBox::ReadDrives() {
    items_.clear();
    selected_ = -1;
    driveSet_ = ::GetLogicalDrives();
    for (int bit = 2; bit <= 25; ++bit) {
        if (!(driveSet_ & (1u << bit))) continue;
        const char letter = static_cast<char>('a' + bit);
        const std::string root = std::string(1, letter) + ":\\";
        const UINT type = ::GetDriveTypeA(root.c_str());
        if (type == DRIVE_CDROM) continue;
        const std::string name = type == DRIVE_REMOTE ? NetworkName(letter) : VolumeText(letter);
        const uint8_t picture = IsExternalDrive(root) ? dpRemovable : dpFixed;
        items_.push_back(TItem{std::string(1, letter) + ": " + name, picture});
    }
    FillWindow();
}

void TDriveComboBox::FillWindow() {
    HWND wnd = Handle();
    if (!wnd) return;
    ::SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(wnd, CB_RESETCONTENT, 0, 0);
    for (const TItem& item : items_) {
        LRESULT i = SendTextMessageU(wnd, CB_ADDSTRING, 0, item.Text);
        if (i >= 0) ::SendMessageA(wnd, CB_SETITEMDATA, static_cast<WPARAM>(i), item.Picture);
    }
    ::SendMessageA(wnd, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
    ::SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(wnd, nullptr, TRUE);
}

int TDriveComboBox::SelectedIndex() const {
    if (Handle()) return static_cast<int>(::SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
    return selected_;
}

std::string TDriveComboBox::Text() const {
    const int i = SelectedIndex();
    return i >= 0 && i < ItemCount() ? ItemText(i) : std::string();
}

bool TDriveComboBox::SelectItemByText(const std::string& text) {
    for (int i = 0; i < ItemCount(); ++i) {
        if (SameTextLocale(ItemText(i), text)) {
            selected_ = i;
            SelectInWindow(Handle(), i);
            return true;
        }
    }
    return false;
}

int TDriveComboBox::IndexOfLetter(char letter) const {
    for (int i = 0; i < ItemCount(); ++i) {
        const std::string& t = ItemText(i);
        if (t.size() >= 2 && t[1] == ':' && LowerLetter(t[0]) == LowerLetter(letter)) return i;
    }
    return -1;
}

bool TDriveComboBox::SelectItemByLetter(char letter) {
    const int i = IndexOfLetter(letter);
    if (i < 0) return false;
    selected_ = i;
    SelectInWindow(Handle(), i);
    return true;
}

void TDriveComboBox::SetDrive(char letter) {
    if (SelectedIndex() >= 0 && LowerLetter(letter) == drive_) return;
    drive_ = LowerLetter(letter);
    SelectItemByLetter(drive_);
    if (folderList_) folderList_->ChangeDrive(drive_);
    if (OnChange) OnChange();
}

bool TDriveComboBox::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
        const int i = SelectedIndex();
        if (i >= 0 && i < ItemCount()) {
            selected_ = i;
            SetDrive(ItemText(i)[0]);
        }
        result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return false;
}

// Every item is drawn alike on the window colour; only the focus rectangle marks the
// selected item while the list has the keyboard focus.
void TDriveComboBox::DrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    RECT r = di.rcItem;
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOW));
    const int index = static_cast<int>(di.itemID);
    if (index >= 0 && index < ItemCount()) {
        const TItem& item = items_[static_cast<size_t>(index)];
        const TListPicture& picture = item.Picture == dpRemovable ? removablePicture_ : fixedPicture_;
        const SIZE size = picture.Size();
        picture.Draw(dc, r.left + ScaleForDpi(2, dpi_), r.top + (r.bottom - r.top - size.cy) / 2);
        RECT textRect = r;
        textRect.left += size.cx + ScaleForDpi(6, dpi_);
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        DrawTextU(dc, item.Text, textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        ::SetTextColor(dc, oldColor);
        ::SetBkMode(dc, oldMode);
    }
    if (di.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &r);
}

}  // namespace orv
