// The modal form: mnemonics, the dialog keyboard and the close query, on real windows.
#include "ui/Application.h"
#include "ui/FormDescription.h"
#include "ui/Form.h"
#include "ui/StdControls.h"

#include <gtest/gtest.h>

#include <string>

namespace orv::ui {
namespace {

TEST(Mnemonic, TheLetterAfterASingleAmpersand) {
    const struct {
        const char* Caption;
        char Letter;
    } cases[] = {
        {"&Next >", 'N'},     {"< &Back", 'B'},      {"I &accept", 'A'}, {"Cancel", '\0'},
        {"R&&D &tools", 'T'}, {"Ends with &", '\0'}, {"&&", '\0'},       {"", '\0'},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Letter, MnemonicOf(c.Caption)) << c.Caption;
}

const TControlDesc TestLayout[] = {
    {"Lbl", "TLabel", "", 8, 8, 0, 0, "&Folder:", coAutoSize},
    {"Edt", "TEdit", "", 8, 30, 200, 0, "", 0},
    {"Chk", "TCheckBox", "", 8, 60, 200, 0, "&Launch", 0},
    {"Back", "TButton", "", 8, 100, 80, 22, "< &Back", 0},
    {"Next", "TButton", "", 96, 100, 80, 22, "&Next >", coDefault},
    {"Cancel", "TButton", "", 184, 100, 80, 22, "Cancel", coCancel},
};

// A form from a small table that counts the clicks of its buttons.
class TestForm : public TForm {
public:
    TestForm() {
        RegisterStandardControlClasses();
        CreateForm("TTestForm", "Form test", 300, 140);
        components.Build(*this, TestLayout, sizeof(TestLayout) / sizeof(TestLayout[0]),
                         static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
        for (const char* name : {"Back", "Next", "Cancel"})
            components.Get<TButton>(name).OnClick = [this, name](TControl*) { clicks += name[0]; };
        components.Get<TLabel>("Lbl").SetFocusControl(&components.Get<TEdit>("Edt"));
        SetDefaultButton(&components.Get<TButton>("Next"));
        SetCancelButton(&components.Get<TButton>("Cancel"));
        ::ShowWindow(Handle(), SW_SHOW);
    }
    ~TestForm() override { DestroyHandle(); }
    // Feeds a key as the focused control would receive it.
    bool Key(UINT message, WPARAM key) {
        MSG msg = {::GetFocus() ? ::GetFocus() : Handle(), message, key, 0, 0, {0, 0}};
        return PreTranslateMessage(msg);
    }
    HWND HandleOf(const char* name) const { return components.Find(name)->Handle(); }

    TComponentList components;
    std::string clicks;
    int queries = 0;
    bool allowSecondQuery = true;

protected:
    bool CloseQuery() override { return ++queries >= 2 && allowSecondQuery; }
    void OnTimer(UINT_PTR) override { Close(); }
};

TEST(Form, DialogKeysPressTheRightButtons) {
    TestForm form;
    ::SetFocus(form.HandleOf("Edt"));
    EXPECT_TRUE(form.Key(WM_KEYDOWN, VK_RETURN));  // not a button: the default one
    EXPECT_TRUE(form.Key(WM_KEYDOWN, VK_ESCAPE));
    ::SetFocus(form.HandleOf("Back"));
    EXPECT_TRUE(form.Key(WM_KEYDOWN, VK_RETURN));  // a focused button presses itself
    ::EnableWindow(form.HandleOf("Cancel"), FALSE);
    EXPECT_TRUE(form.Key(WM_KEYDOWN, VK_ESCAPE));  // a disabled cancel button does nothing
    ::ShowWindow(form.HandleOf("Next"), SW_HIDE);
    ::SetFocus(form.HandleOf("Edt"));
    EXPECT_TRUE(form.Key(WM_KEYDOWN, VK_RETURN));  // nor a hidden default button
    EXPECT_EQ("NCB", form.clicks);
    EXPECT_FALSE(form.Key(WM_KEYDOWN, 'X'));
}

TEST(Form, MnemonicsFocusClickAndToggle) {
    TestForm form;
    ::SetFocus(form.HandleOf("Back"));
    EXPECT_TRUE(form.Key(WM_SYSCHAR, 'f'));  // the label hands the focus to its edit
    EXPECT_EQ(form.HandleOf("Edt"), ::GetFocus());
    EXPECT_TRUE(form.Key(WM_SYSCHAR, 'L'));
    EXPECT_TRUE(form.components.Get<TCheckBox>("Chk").Checked());
    EXPECT_TRUE(form.Key(WM_SYSCHAR, 'n'));
    EXPECT_EQ("N", form.clicks);
    ::EnableWindow(form.HandleOf("Next"), FALSE);
    EXPECT_FALSE(form.Key(WM_SYSCHAR, 'n'));  // a disabled button has no mnemonic
    EXPECT_FALSE(form.Key(WM_SYSCHAR, 'q'));
    // Tab walks the focusable controls in creation order.
    ::SetFocus(form.HandleOf("Edt"));
    EXPECT_TRUE(form.Key(WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(form.HandleOf("Chk"), ::GetFocus());
}

// A handler's error raised through a key stays inside the form, as it would for a click:
// the silent kind is dropped, so no box stops the test.
TEST(Form, AnErrorOfAButtonPressedByKeyDoesNotLeaveTheForm) {
    TestForm form;
    for (const char* name : {"Back", "Next", "Cancel"})
        form.components.Get<TButton>(name).OnClick = [&form, name](TControl*) {
            form.clicks += name[0];
            throw EAbort("from a key");
        };
    ::SetFocus(form.HandleOf("Edt"));
    EXPECT_NO_THROW(EXPECT_TRUE(form.Key(WM_KEYDOWN, VK_RETURN)));
    EXPECT_NO_THROW(EXPECT_TRUE(form.Key(WM_KEYDOWN, VK_ESCAPE)));
    EXPECT_NO_THROW(EXPECT_TRUE(form.Key(WM_SYSCHAR, 'b')));
    EXPECT_EQ(form.HandleOf("Back"), ::GetFocus());
    EXPECT_NO_THROW(EXPECT_TRUE(form.Key(WM_CHAR, 'n'))) << "a plain letter where no text is taken";
    EXPECT_EQ("NCBN", form.clicks);
}

TEST(Form, ARefusedCloseKeepsTheModalRunGoing) {
    TestForm form;
    ::SetTimer(form.Handle(), 1, 20, nullptr);  // every tick asks to close
    EXPECT_EQ(mrCancel, form.ShowModal());
    EXPECT_EQ(2, form.queries) << "the first close was refused, the second allowed";
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    ::KillTimer(form.Handle(), 1);
}

TEST(Form, ErrorTypeNamesForTheBox) {
    const auto nameOf = [](auto thrower) {
        try {
            thrower();
        } catch (...) {
            return CurrentExceptionTypeName();
        }
        return std::string("none");
    };
    EXPECT_EQ("", nameOf([] { throw EAbort("quiet"); }));
    EXPECT_EQ("EFormDescription", nameOf([] { throw EFormDescription("x"); }));
    EXPECT_EQ("EOutOfMemory", nameOf([] { throw std::bad_alloc(); }));
    EXPECT_EQ("Exception", nameOf([] { throw 42; }));
}

TEST(FormDescription, UnknownClassesAndParentsAreRefused) {
    RegisterStandardControlClasses();
    TestForm form;
    TComponentList list;
    const TControlDesc unknownClass[] = {{"X", "TNoSuchClass", "", 0, 0, 10, 10, "", 0}};
    EXPECT_THROW(list.Build(form, unknownClass, 1, nullptr), EFormDescription);
    const TControlDesc unknownParent[] = {{"Y", "TLabel", "Nowhere", 0, 0, 10, 10, "", 0}};
    EXPECT_THROW(list.Build(form, unknownParent, 1, nullptr), EFormDescription);
    const TControlDesc pageOutside[] = {{"Z", "TTabSheet", "", 0, 0, 0, 0, "", 0}};
    EXPECT_THROW(list.Build(form, pageOutside, 1, nullptr), EFormDescription);
    EXPECT_THROW(form.components.Get<TButton>("Lbl"), EFormDescription);
}

}  // namespace
}  // namespace orv::ui
