// Thin wrappers of the system's standard controls: label, button, check box, edit, memo,
// list box and progress bar.
#pragma once

#include "ui/Control.h"

#include <functional>
#include <string>
#include <vector>

namespace orv::ui {

using TNotifyEvent = std::function<void(TControl* sender)>;

// A static text. Auto-sized labels fit their caption (line breaks kept, no wrapping);
// fixed ones wrap words. "&" underlines the next letter; Alt plus it focuses the partner.
class TLabel : public TControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height, const std::string& caption,
                bool autoSize, bool rightAlign);
    void SetText(const std::string& text) override;
    void SetFocusControl(TControl* control) { focusControl_ = control; }
    // The text colour; CLR_INVALID keeps the system's.
    void SetFontColor(COLORREF color);
    void Accelerate() override;
    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void FontChanged() override { AdjustSize(); }

private:
    void AdjustSize();  // STATIC's own drawing flags, measured with DrawText DT_CALCRECT
    bool autoSize_ = false;
    COLORREF fontColor_ = CLR_INVALID;
    TControl* focusControl_ = nullptr;
};

// A push button; a click (BN_CLICKED, Enter/Esc through the form, Alt+letter) calls OnClick.
class TButton : public TControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height, const std::string& caption,
                bool isDefault);
    void Click();
    void Accelerate() override;
    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    TNotifyEvent OnClick;
};

// An automatic check box (BM_GETCHECK / BM_SETCHECK); OnClick after the user toggled it.
class TCheckBox : public TControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height, const std::string& caption);
    bool Checked() const;
    void SetChecked(bool checked);
    void Accelerate() override;
    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    TNotifyEvent OnClick;
};

// A single-line edit; OnChange after its text changed (EN_CHANGE).
class TEdit : public TControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height);
    void SelectAll();
    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    TNotifyEvent OnChange;
};

// A read-only multi-line text with a vertical scroll bar, shown in window colours.
class TMemo : public TControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height);
    // The lines joined with CR LF.
    void SetLines(const std::vector<std::string>& lines);
    bool IsEmpty() const;
    int LineCount() const;  // EM_GETLINECOUNT; an empty memo still reports one line
    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A plain single-selection list box (LB_ADDSTRING / LB_GETCURSEL); OnChange on LBN_SELCHANGE.
class TListBox : public TControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height, DWORD extraStyle = 0);
    int AddItem(const std::string& text);
    int Count() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    std::string Item(int index) const;
    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    TNotifyEvent OnChange;
};

// A progress bar with a 32-bit range from 0 (PBM_SETRANGE32 / PBM_SETPOS).
class TProgressBar : public TControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height);
    void SetMax(int max);
    int Max() const;
    void SetPosition(int position);
    int Position() const;
};

}  // namespace orv::ui
