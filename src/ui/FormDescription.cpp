// The control-class registry and the builder that turns a form's table into controls.
#include "ui/FormDescription.h"

#include "common/DpiScaling.h"
#include "ui/ExtCtrls.h"
#include "ui/StdControls.h"

#include <map>

namespace orv::ui {

namespace {

struct TControlClass {
    TControlFactory Factory;
    int DefaultHeight;
};

std::map<std::string, TControlClass>& Registry() {
    static std::map<std::string, TControlClass> registry;
    return registry;
}

const TControlClass& ClassOf(const TControlDesc& row) {
    auto found = Registry().find(row.ClassName);
    if (found == Registry().end()) throw EFormDescription(std::string("unknown class ") + row.ClassName);
    return found->second;
}

template <typename T>
std::unique_ptr<T> Make() {
    return std::make_unique<T>();
}

// A control whose table row needs nothing beyond its bounds.
template <typename T>
std::unique_ptr<TControl> MakeSimple(TWinControl& p, int id, const TControlDesc& d, int) {
    auto c = Make<T>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height);
    return c;
}

std::unique_ptr<TControl> MakeLabel(TWinControl& p, int id, const TControlDesc& d, int) {
    auto c = Make<TLabel>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height, d.Caption, (d.Options & coAutoSize) != 0,
              (d.Options & coRightAlign) != 0);
    return c;
}

std::unique_ptr<TControl> MakeButton(TWinControl& p, int id, const TControlDesc& d, int) {
    auto c = Make<TButton>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height, d.Caption, (d.Options & coDefault) != 0);
    return c;
}

std::unique_ptr<TControl> MakeCheckBox(TWinControl& p, int id, const TControlDesc& d, int) {
    auto c = Make<TCheckBox>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height, d.Caption);
    return c;
}

std::unique_ptr<TControl> MakePanel(TWinControl& p, int id, const TControlDesc& d, int) {
    auto c = Make<TPanel>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height, (d.Options & coEtched) != 0);
    return c;
}

std::unique_ptr<TControl> MakeBevel(TWinControl& p, int id, const TControlDesc& d, int) {
    auto c = Make<TBevel>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, d.Height,
              (d.Options & coLeftLine) ? TBevel::bsLeftLine : TBevel::bsBox);
    return c;
}

std::unique_ptr<TControl> MakeTabSheet(TWinControl& p, int id, const TControlDesc& d, int) {
    auto* owner = dynamic_cast<TPageControl*>(&p);
    if (!owner) throw EFormDescription(std::string("page ") + d.Name + " outside a page container");
    auto c = Make<TTabSheet>();
    c->Create(*owner, id);
    return c;
}

}  // namespace

TControlDesc ScaleControlDesc(const TControlDesc& row, int defaultHeight, int dpi) {
    TControlDesc scaled = row;
    const TLayoutRect r = ScaleRectForDpi({row.Left, row.Top, row.Width, row.Height ? row.Height : defaultHeight}, dpi);
    scaled.Left = r.Left;
    scaled.Top = r.Top;
    scaled.Width = r.Width;
    scaled.Height = r.Height;
    return scaled;
}

void RegisterControlClass(const std::string& className, TControlFactory factory, int defaultHeight) {
    Registry()[className] = TControlClass{factory, defaultHeight};
}

bool IsControlClassRegistered(const std::string& className) {
    return Registry().count(className) != 0;
}

void RegisterStandardControlClasses() {
    // Default heights suit the 8-point dialog font at 96 dpi.
    RegisterControlClass("TBevel", MakeBevel, 50);
    RegisterControlClass("TButton", MakeButton, 25);
    RegisterControlClass("TCheckBox", MakeCheckBox, 17);
    RegisterControlClass("TEdit", MakeSimple<TEdit>, 21);
    RegisterControlClass("TImage", MakeSimple<TImage>, 105);
    RegisterControlClass("TLabel", MakeLabel, 13);
    RegisterControlClass("TListBox", MakeSimple<TListBox>, 97);
    RegisterControlClass("TMemo", MakeSimple<TMemo>, 89);
    RegisterControlClass("TPanel", MakePanel, 41);
    RegisterControlClass("TProgressBar", MakeSimple<TProgressBar>, 16);
    RegisterControlClass("TPageControl", MakeSimple<TPageControl>, 193);
    RegisterControlClass("TTabSheet", MakeTabSheet, 0);
}

TWinControl& TComponentList::ParentOf(TWinControl& form, const TControlDesc& row) const {
    if (!row.Parent || !*row.Parent) return form;
    auto* parent = dynamic_cast<TWinControl*>(Find(row.Parent));
    if (!parent) throw EFormDescription(std::string("no container ") + row.Parent + " for " + row.Name);
    return *parent;
}

void TComponentList::Build(TWinControl& form, const TControlDesc* rows, size_t count, HFONT font, int dpi,
                           int firstId) {
    rows_ = rows;
    count_ = count;
    for (size_t i = 0; i < count; ++i) {
        const TControlDesc& row = rows[i];
        const TControlClass& cls = ClassOf(row);
        TWinControl& parent = ParentOf(form, row);
        const TControlDesc scaled = ScaleControlDesc(row, cls.DefaultHeight, dpi);
        std::unique_ptr<TControl> control = cls.Factory(parent, firstId + static_cast<int>(i), scaled, dpi);
        control->SetFont(font);
        parent.Router().Add(control.get());
        items_.emplace_back(row.Name, std::move(control));
    }
}

void TComponentList::Rescale(HFONT font, int dpi) {
    // Rows come parents first, so every container has its new size before its children.
    for (size_t i = 0; i < items_.size() && i < count_; ++i) {
        const TControlDesc d = ScaleControlDesc(rows_[i], ClassOf(rows_[i]).DefaultHeight, dpi);
        TControl& control = *items_[i].second;
        control.ScaleTo(d.Left, d.Top, d.Width, d.Height, dpi);
        control.SetFont(font);
    }
}

TControl* TComponentList::Find(const std::string& name) const {
    for (const auto& item : items_)
        if (item.first == name) return item.second.get();
    return nullptr;
}

}  // namespace orv::ui
