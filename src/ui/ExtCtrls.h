// Panels, bevel lines, bitmap images and the tab-less page container.
#pragma once

#include "common/Owners.h"
#include "ui/WinControl.h"

#include <vector>

namespace orv::ui {

// A plain area with a background colour, optionally framed by an etched edge (outer
// bevel lowered, inner raised). It paints its own colour also under visual themes.
class TPanel : public TWinControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height, bool etched);

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    bool etched_ = false;
};

// A lowered line: a box (the separator above the buttons) or a single line on its left.
class TBevel : public TWinControl {
public:
    enum TShape { bsBox, bsLeftLine };
    void Create(HWND parent, int id, int left, int top, int width, int height, TShape shape);

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    TShape shape_ = bsBox;
};

// A bitmap resource of the program's own module, drawn at the top left. When the image is
// larger or smaller than the bitmap (the layout scaled for the screen), the picture is
// resized smoothly to fill it, from the larger artwork when the program carries one.
class TImage : public TWinControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height);
    // LoadImageA of the named bitmap resource (and of its larger artwork, if any); false
    // when the module has none.
    bool LoadBitmapResource(const char* name);
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // The picture as drawn at the image's present size.
    HBITMAP ShownBitmap();

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    UniqueHBitmap bitmap_;
    UniqueHBitmap large_;   // the artwork at twice the size, if any
    UniqueHBitmap scaled_;  // bitmap_ or large_ resized to the image, made when first drawn
};

class TPageControl;

// One page of a page container: fills it (at any scale) and stays hidden until shown.
class TTabSheet : public TWinControl {
public:
    void Create(TPageControl& owner, int id);
    void ScaleTo(int left, int top, int width, int height, int dpi) override;
    int Tag = 0;
};

// A stack of pages, one shown at a time, without tabs.
class TPageControl : public TWinControl {
public:
    void Create(HWND parent, int id, int left, int top, int width, int height);
    void AddPage(TTabSheet* page) { pages_.push_back(page); }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Page(int index) const { return pages_[static_cast<size_t>(index)]; }
    // Shows the page and hides the one shown before; nullptr hides them all.
    void SetActivePage(TTabSheet* page);
    TTabSheet* ActivePage() const { return active_; }

private:
    std::vector<TTabSheet*> pages_;  // not owned
    TTabSheet* active_ = nullptr;
};

}  // namespace orv::ui
