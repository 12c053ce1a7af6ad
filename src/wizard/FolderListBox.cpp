// The folder list of the destination page: path items, sub-folders, the walk up, drive switches.
#include "wizard/FolderListBox.h"

#include "common/DpiScaling.h"
#include "common/InstUtils.h"
#include "common/PathGrammar.h"
#include "common/WideApi.h"
#include "common/WideWindows.h"
#include "wizard/DriveComboBox.h"
#include "wizard/ListBitmaps.h"

#include <shlobj.h>

#include <algorithm>

namespace orv {

namespace {

bool SameLetter(char a, char b) {
    return AsciiLower(a) == AsciiLower(b);
}

// Walks a path that does not exist up to the nearest existing folder or the drive root.
std::string NearestExistingFolder(std::string path) {
    while (!FolderExists(path) && path.size() > DrivePartLength(path) + 1) {
        if (LastChar(path) == '\\') DropLastChar(path);
        path = FolderPart(path);
    }
    return path;
}

}  // namespace

int FolderDepth(const std::string& directory) {
    std::string d = directory;
    if (LastChar(d) == '\\') DropLastChar(d);
    return static_cast<int>(std::count(d.begin(), d.end(), '\\'));
}

std::vector<std::string> FolderPathItems(const std::string& directory) {
    std::vector<std::string> items;
    std::string s = directory;
    while (s.size() > 3) {
        if (LastChar(s) == '\\') DropLastChar(s);
        items.insert(items.begin(), s);
        while (!s.empty() && LastChar(s) != '\\') DropLastChar(s);
    }
    // A bare "c:" is the root too; it is stored, like every root, with its backslash.
    if (s.size() == 2 && s[1] == ':') s += '\\';
    if (!s.empty()) items.insert(items.begin(), s);
    return items;
}

int FolderItemIndent(int index, bool subFolder, const std::string& directory) {
    return subFolder ? FolderDepth(directory) * 12 + 15 : index * 12 + 3;
}

std::string FolderItemCaption(int index, const std::string& path, bool casePreserved) {
    std::string text = index == 0 ? path.substr(0, 2) : path.substr(path.find_last_of('\\') + 1);
    return casePreserved ? text : LowerCaseText(text);
}

TDirectoryListBox::TDirectoryListBox() = default;
TDirectoryListBox::~TDirectoryListBox() = default;

void TDirectoryListBox::Create(HWND parent, int id, int left, int top, int width, int height, HFONT font, int dpi) {
    dpi_ = dpi;
    openPicture_.Load("OPENFOLDER", dpi);
    closedPicture_.Load("CLOSEDFOLDER", dpi);
    CreateChild(
        "LISTBOX", "",
        WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
        WS_EX_CLIENTEDGE, parent, id, left, top, width, height);
    if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    SetFont(font);

    // The list asks for its item height while it is being created, before anyone can
    // answer for it; the height is therefore set now.
    TEXTMETRICW tm = {};
    {
        WindowDC dc(Handle());
        SelectObjectGuard sel(dc.get(), font);
        ::GetTextMetricsW(dc.get(), &tm);
    }
    const int pictureHeight = openPicture_.Loaded() ? openPicture_.Size().cy : ScaleForDpi(16, dpi);
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(std::max<int>(tm.tmHeight, pictureHeight + 1), 0));

    // Before the first folder is set there is nothing sensible to list.
    if (!HasDriveLetter(directory_)) return;
    BuildList();
    SelectItem(FolderDepth(directory_));
}

void TDirectoryListBox::SetItemHeight(int height) {
    itemHeight_ = height;
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(ScaleForDpi(height, dpi_), 0));
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TDirectoryListBox::ScaleTo(int left, int top, int width, int height, int dpi) {
    dpi_ = dpi;
    openPicture_.SetDpi(dpi);
    closedPicture_.SetDpi(dpi);
    SetBounds(left, top, width, height);
    if (itemHeight_) SetItemHeight(itemHeight_);
}

bool TDirectoryListBox::SameDirectory(const std::string& path) const {
    if (caseSensitive_)
        return ::CompareStringW(LOCALE_USER_DEFAULT, 0, TWideArg(path).c_str(), -1, TWideArg(directory_).c_str(), -1) ==
               CSTR_EQUAL;
    return LowerCaseText(path) == LowerCaseText(directory_);
}

void TDirectoryListBox::SetDirectory(const std::string& path) {
    if (path.empty() || SameDirectory(path)) return;
    // A relative or UNC path (possible from the command line) has no drive for the drive
    // list to show; the lists then show the program-files proposal instead.
    std::string p = path;
    if (!HasDriveLetter(p)) {
        p = ProgramFilesFolder();
        AddBackslash(p);
        if (FolderExists(p + "Orvanel")) p += "Orvanel";
        if (SameDirectory(p)) return;
    }
    p = NearestExistingFolder(p);

    const bool driveChanged = !SameLetter(p[0], directory_[0]);
    directory_ = p;
    if (driveChanged) {
        driveChanging_ = true;
        auto reset = MakeScopeGuard([this] { driveChanging_ = false; });
        if (driveList_)
            driveList_->SetDrive(p[0]);
        else
            ChangeDrive(p[0]);
    }
    BuildList();
    NotifyChange();
}

void TDirectoryListBox::ChangeDrive(char letter) {
    if (static_cast<unsigned char>(letter) <= ' ' || SameLetter(letter, directory_[0])) return;
    std::string pf = ProgramFilesFolder();
    if (SameLetter(letter, pf[0])) {
        AddBackslash(pf);
        directory_ = FolderExists(pf + "Orvanel") ? pf + "Orvanel" : pf;
    } else {
        const std::string::size_type colon = directory_.find(':');
        const std::string samePath = colon == std::string::npos ? std::string() : letter + directory_.substr(colon);
        directory_ = !samePath.empty() && FolderExists(samePath) ? samePath : std::string(1, letter) + ":\\";
    }
    if (driveChanging_) return;
    BuildList();
    NotifyChange();
}

// Volumes that cannot be asked (no medium, no access) count as case preserving and case
// insensitive, as local Windows volumes are: names then show as stored.
void TDirectoryListBox::ReadVolumeFlags() {
    std::string root = directory_.substr(0, DrivePartLength(directory_)) + "\\";
    DWORD flags = 0, maxNameLength = 0;
    CriticalErrorsSilenced silenced;
    // Wine leaves the flags at 0 when they are the only thing asked for; the name length
    // is asked too so that they come back.
    if (!::GetVolumeInformationW(TWideArg(root).c_str(), nullptr, 0, nullptr, &maxNameLength, &flags, nullptr, 0))
        flags = FS_CASE_IS_PRESERVED;
    casePreserved_ = (flags & (FS_CASE_SENSITIVE | FS_CASE_IS_PRESERVED)) != 0;
    caseSensitive_ = (flags & FS_CASE_SENSITIVE) != 0;
}

void TDirectoryListBox::AddSubFolders() {
    std::vector<std::string> names;
    TFindData fd;
    {
        CriticalErrorsSilenced silenced;
        UniqueFind find(FindFirstFileU(JoinPath(directory_, "*.*"), fd));
        if (find) {
            do {
                const DWORD attrs = fd.attributes;
                if ((attrs & FILE_ATTRIBUTE_DIRECTORY) && fd.name != "." && fd.name != ".." &&
                    !(attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
                    names.push_back(fd.name);
            } while (FindNextFileU(find.get(), fd));
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareTextLocale(a, b) < 0; });
    std::string base = directory_;
    AddBackslash(base);
    for (const std::string& name : names) items_.push_back(TItem{base + name, fpClosed});
}

void TDirectoryListBox::BuildList() {
    items_.clear();
    ReadVolumeFlags();
    for (const std::string& path : FolderPathItems(directory_)) items_.push_back(TItem{path, fpOpen});
    pathItems_ = static_cast<int>(items_.size());
    AddSubFolders();
    FillWindow();
    if (Handle()) SelectItem(pathItems_ - 1);
}

// Refills the window from the items in one batch, without a repaint per item.
void TDirectoryListBox::FillWindow() {
    HWND wnd = Handle();
    if (!wnd) return;
    ::SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(wnd, LB_RESETCONTENT, 0, 0);
    for (const TItem& item : items_) {
        LRESULT i = SendTextMessageU(wnd, LB_ADDSTRING, 0, item.Path);
        if (i >= 0) ::SendMessageA(wnd, LB_SETITEMDATA, static_cast<WPARAM>(i), item.Picture);
    }
    ::SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(wnd, nullptr, TRUE);
}

void TDirectoryListBox::SelectItem(int index) {
    if (Handle() && index >= 0 && index < ItemCount())
        ::SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TDirectoryListBox::NotifyChange() {
    if (OnChange) OnChange();
}

bool TDirectoryListBox::HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        const LRESULT i = ::SendMessageA(Handle(), LB_GETCURSEL, 0, 0);
        // The item is copied: SetDirectory rebuilds the items it points into.
        if (i >= 0 && i < ItemCount()) SetDirectory(std::string(ItemPath(static_cast<int>(i))));
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

void TDirectoryListBox::DrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    const RECT& r = di.rcItem;
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int index = static_cast<int>(di.itemID);
    if (index >= 0 && index < ItemCount()) {
        const TItem& item = items_[static_cast<size_t>(index)];
        const int height = r.bottom - r.top;
        int indent = ScaleForDpi(FolderItemIndent(index, false, directory_), dpi_);
        int pictureWidth = ScaleForDpi(16, dpi_);
        if (item.Picture != fpNone) {
            const TListPicture& picture = item.Picture == fpOpen ? openPicture_ : closedPicture_;
            if (item.Picture == fpClosed) indent = ScaleForDpi(FolderItemIndent(index, true, directory_), dpi_);
            const SIZE size = picture.Size();
            if (picture.Loaded()) pictureWidth = size.cx;
            picture.Draw(dc, r.left + indent, r.top + (height - size.cy) / 2);
        }
        const std::string text = FolderItemCaption(index, item.Path, casePreserved_);
        SIZE a = {};
        GetTextExtentU(dc, "A", a);
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        TextOutU(dc, r.left + indent + pictureWidth + ScaleForDpi(4, dpi_), r.top + (height - a.cy) / 2, text);
        ::SetTextColor(dc, oldColor);
        ::SetBkMode(dc, oldMode);
    }
    if (di.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &r);
}

}  // namespace orv
