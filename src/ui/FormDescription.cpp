// The control-class registry and the builder that turns a form's table into controls.
#include "ui/FormDescription.h"

#include "ui/ExtCtrls.h"
#include "ui/StdControls.h"

#include <map>

namespace orv::ui {

namespace {

std::map<std::string, TControlFactory>& Registry() {
    static std::map<std::string, TControlFactory> registry;
    return registry;
}

// Heights of rows that leave theirs to the class, for the 8-point dialog font.
int HeightOr(const TControlDesc& d, int fallback) {
    return d.Height ? d.Height : fallback;
}

template <typename T>
std::unique_ptr<T> Make() {
    return std::make_unique<T>();
}

// A control whose table row needs nothing beyond its bounds; DefaultHeight stands in for a
// row that leaves the height to the class.
template <typename T, int DefaultHeight>
std::unique_ptr<TControl> MakeSimple(TWinControl& p, int id, const TControlDesc& d) {
    auto c = Make<T>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, HeightOr(d, DefaultHeight));
    return c;
}

std::unique_ptr<TControl> MakeLabel(TWinControl& p, int id, const TControlDesc& d) {
    auto c = Make<TLabel>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, HeightOr(d, 13), d.Caption, (d.Options & coAutoSize) != 0,
              (d.Options & coRightAlign) != 0);
    return c;
}

std::unique_ptr<TControl> MakeButton(TWinControl& p, int id, const TControlDesc& d) {
    auto c = Make<TButton>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, HeightOr(d, 25), d.Caption, (d.Options & coDefault) != 0);
    return c;
}

std::unique_ptr<TControl> MakeCheckBox(TWinControl& p, int id, const TControlDesc& d) {
    auto c = Make<TCheckBox>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, HeightOr(d, 17), d.Caption);
    return c;
}

std::unique_ptr<TControl> MakePanel(TWinControl& p, int id, const TControlDesc& d) {
    auto c = Make<TPanel>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, HeightOr(d, 41), (d.Options & coEtched) != 0);
    return c;
}

std::unique_ptr<TControl> MakeBevel(TWinControl& p, int id, const TControlDesc& d) {
    auto c = Make<TBevel>();
    c->Create(p.Handle(), id, d.Left, d.Top, d.Width, HeightOr(d, 50),
              (d.Options & coLeftLine) ? TBevel::bsLeftLine : TBevel::bsBox);
    return c;
}

std::unique_ptr<TControl> MakeTabSheet(TWinControl& p, int id, const TControlDesc& d) {
    auto* owner = dynamic_cast<TPageControl*>(&p);
    if (!owner) throw EFormDescription(std::string("page ") + d.Name + " outside a page container");
    auto c = Make<TTabSheet>();
    c->Create(*owner, id);
    return c;
}

}  // namespace

void RegisterControlClass(const std::string& className, TControlFactory factory) {
    Registry()[className] = factory;
}

bool IsControlClassRegistered(const std::string& className) {
    return Registry().count(className) != 0;
}

void RegisterStandardControlClasses() {
    RegisterControlClass("TBevel", MakeBevel);
    RegisterControlClass("TButton", MakeButton);
    RegisterControlClass("TCheckBox", MakeCheckBox);
    RegisterControlClass("TEdit", MakeSimple<TEdit, 21>);
    RegisterControlClass("TImage", MakeSimple<TImage, 105>);
    RegisterControlClass("TLabel", MakeLabel);
    RegisterControlClass("TListBox", MakeSimple<TListBox, 97>);
    RegisterControlClass("TMemo", MakeSimple<TMemo, 89>);
    RegisterControlClass("TPanel", MakePanel);
    RegisterControlClass("TProgressBar", MakeSimple<TProgressBar, 16>);
    RegisterControlClass("TPageControl", MakeSimple<TPageControl, 193>);
    RegisterControlClass("TTabSheet", MakeTabSheet);
}

TWinControl& TComponentList::ParentOf(TWinControl& form, const TControlDesc& row) const {
    if (!row.Parent || !*row.Parent) return form;
    auto* parent = dynamic_cast<TWinControl*>(Find(row.Parent));
    if (!parent) throw EFormDescription(std::string("no container ") + row.Parent + " for " + row.Name);
    return *parent;
}

void TComponentList::Build(TWinControl& form, const TControlDesc* rows, size_t count, HFONT font, int firstId) {
    for (size_t i = 0; i < count; ++i) {
        const TControlDesc& row = rows[i];
        auto found = Registry().find(row.ClassName);
        if (found == Registry().end()) throw EFormDescription(std::string("unknown class ") + row.ClassName);
        TWinControl& parent = ParentOf(form, row);
        std::unique_ptr<TControl> control = found->second(parent, firstId + static_cast<int>(i), row);
        control->SetFont(font);
        parent.Router().Add(control.get());
        items_.emplace_back(row.Name, std::move(control));
    }
}

TControl* TComponentList::Find(const std::string& name) const {
    for (const auto& item : items_)
        if (item.first == name) return item.second.get();
    return nullptr;
}

}  // namespace orv::ui
