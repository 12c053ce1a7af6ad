// An owner-drawn list box with a three-state check box in front of every item; the user
// toggles a box with the space key or a mouse press in the check column.
#pragma once

#include "ui/Control.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv {

class TCheckListBox : public ui::TControl {
public:
    TCheckListBox();
    ~TCheckListBox() override;

    // itemHeight is at 96 dpi; the list scales it, and its check boxes, to dpi.
    void Create(HWND parent, int id, int left, int top, int width, int height, HFONT font, int itemHeight,
                int dpi = 96);
    void ScaleTo(int left, int top, int width, int height, int dpi) override;

    int AddItem(const std::string& text);  // unchecked, data 0; returns its index
    int ItemCount() const { return static_cast<int>(items_.size()); }
    const std::string& ItemText(int index) const { return At(index).Text; }
    // States: csUnchecked 0, csChecked 1, csGrayed 2. Setting one repaints the box at
    // once and calls no handler.
    uint8_t State(int index) const { return At(index).State; }
    void SetState(int index, uint8_t state);
    int32_t ItemData(int index) const { return At(index).Data; }
    void SetItemData(int index, int32_t data);
    int ItemIndex() const;  // the current item, -1 for none
    void SetItemIndex(int index);

    // The user's toggle: unchecked becomes checked, checked or grayed unchecked; then
    // OnClickCheck.
    void Toggle(int index);

    // The check box: the system's check box bitmap's size at 96 dpi, scaled to dpi; the
    // check column is that width plus 2 pixels, scaled alike.
    static SIZE CheckBoxSize(int dpi = 96);
    static int CheckWidth(int dpi = 96);
    // The scale the list is laid out for; item drawing sizes its margins by it.
    int Dpi() const { return dpi_; }

    std::function<void()> OnClickCheck;
    // Draws the item's part right of the check column. The device context has the brush
    // and text colours of the item's selection state selected.
    std::function<void(HDC dc, int index, const RECT& rect, UINT state)> OnDrawItem;

    bool HandleParentMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct TItem {
        std::string Text;
        uint8_t State = 0;
        int32_t Data = 0;
    };

    static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    const TItem& At(int index) const { return items_[static_cast<size_t>(index)]; }
    void MousePressed(LPARAM lParam);
    void InvalidateCheck(int index);
    void DrawItem(const DRAWITEMSTRUCT& item);

    std::vector<TItem> items_;
    int itemHeight_ = 16;  // at 96 dpi
    int dpi_ = 96;
};

}  // namespace orv
