// A form described as a table of controls (name, class, parent, place, caption, options),
// the registry of control classes that can appear in such a table, and the builder.
#pragma once

#include "common/Errors.h"
#include "ui/WinControl.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orv::ui {

// Options of a table row; each class reads those that apply to it.
enum : uint32_t {
    coAutoSize = 1 << 0,    // label: fits its caption
    coRightAlign = 1 << 1,  // label: text right-aligned
    coDefault = 1 << 2,     // button: Enter presses it
    coCancel = 1 << 3,      // button: Esc presses it
    coEtched = 1 << 4,      // panel: outer bevel lowered, inner raised
    coLeftLine = 1 << 5,    // bevel: a single line on the left instead of a box
};

struct TControlDesc {
    const char* Name;
    const char* ClassName;         // a registered control class, such as "TButton"
    const char* Parent;            // the name of an earlier row, or "" for the form itself
    int Left, Top, Width, Height;  // at 96 dpi; Height 0: the class's default height
    const char* Caption;
    uint32_t Options;
};

// The row with a height of 0 replaced by defaultHeight and its place and size scaled to
// dpi edge by edge (DpiScaling.h), so that neighbours stay neighbours at every scale.
TControlDesc ScaleControlDesc(const TControlDesc& row, int defaultHeight, int dpi);

// A table that names an unknown class or parent, or a control of another class.
class EFormDescription : public EOrvError {
public:
    explicit EFormDescription(const std::string& message) : EOrvError("EFormDescription", message) {}
};

// Makes one control of a class inside parent; id is its child-window identifier. The row
// comes already scaled to dpi (ScaleControlDesc); dpi is there for what else the control
// sizes in pixels.
using TControlFactory = std::unique_ptr<TControl> (*)(TWinControl& parent, int id, const TControlDesc& desc, int dpi);

// defaultHeight (at 96 dpi) serves rows that leave the height to the class.
void RegisterControlClass(const std::string& className, TControlFactory factory, int defaultHeight = 0);
bool IsControlClassRegistered(const std::string& className);
// The classes of this layer: TBevel, TButton, TCheckBox, TEdit, TImage, TLabel, TListBox,
// TMemo, TPanel, TProgressBar, TPageControl, TTabSheet.
void RegisterStandardControlClasses();

// The controls a form owns, made from its table and found by name.
class TComponentList {
public:
    // Makes every row in order, laid out for dpi; the first id is firstId, then one more
    // per row. The rows must outlive the list (Rescale reads them again).
    void Build(TWinControl& form, const TControlDesc* rows, size_t count, HFONT font, int dpi = 96, int firstId = 100);
    // Lays every control out again from its row for another scale, with the font for it.
    void Rescale(HFONT font, int dpi);
    TControl* Find(const std::string& name) const;
    template <typename T>
    T& Get(const std::string& name) const {
        T* control = dynamic_cast<T*>(Find(name));
        if (!control) throw EFormDescription("no control " + name + " of the expected class");
        return *control;
    }
    size_t Count() const { return items_.size(); }

private:
    TWinControl& ParentOf(TWinControl& form, const TControlDesc& row) const;
    std::vector<std::pair<std::string, std::unique_ptr<TControl>>> items_;
    const TControlDesc* rows_ = nullptr;  // not owned; one per item
    size_t count_ = 0;
};

}  // namespace orv::ui
