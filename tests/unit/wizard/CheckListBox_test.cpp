// The check list: its check column, and the user's toggles by key and mouse.
#include "wizard/CheckListBox.h"

#include "TestParentWindow.h"
#include "engine/SetupState.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct CheckListFixture : ::testing::Test {
    CheckListFixture() {
        list.Create(parent.Handle(), 201, 10, 10, 345, 148, nullptr, 16);
        parent.Router().Add(&list);
        for (const char* text : {"zero", "one", "two"}) list.AddItem(text);
        list.OnClickCheck = [this] { ++clicks; };
    }
    RECT ItemRect(int index) const {
        RECT r = {};
        ::SendMessageA(list.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void Press(UINT msg, int index, int x) {
        const RECT r = ItemRect(index);
        const LPARAM at = MAKELPARAM(r.left + x, (r.top + r.bottom) / 2);
        ::SendMessageA(list.Handle(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, at);
        ::SendMessageA(list.Handle(), msg == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
    }

    test::TestParentWindow parent;
    TCheckListBox list;
    int clicks = 0;
};

TEST(CheckListBox, CheckColumnIsTheSystemCheckBoxPlusTwo) {
    UniqueHBitmap boxes(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(32759)));
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectA(boxes.get(), sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth / 4, TCheckListBox::CheckBoxSize().cx);
    EXPECT_EQ(bm.bmHeight / 3, TCheckListBox::CheckBoxSize().cy);
    EXPECT_EQ(bm.bmWidth / 4 + 2, TCheckListBox::CheckWidth());
}

TEST_F(CheckListFixture, SpaceTogglesTheCurrentItemThenReports) {
    EXPECT_EQ(16, ItemRect(0).bottom - ItemRect(0).top);
    struct Case {
        uint8_t before, after;
    } cases[] = {
        {csUnchecked, csChecked},
        {csChecked, csUnchecked},
        {csGrayed, csUnchecked},
    };
    list.SetItemIndex(1);
    for (const auto& c : cases) {
        list.SetState(1, c.before);
        const int before = clicks;
        EXPECT_EQ(before, clicks) << "setting a state calls no handler";
        ::SendMessageA(list.Handle(), WM_CHAR, ' ', 0);
        EXPECT_EQ(c.after, list.State(1)) << int(c.before);
        EXPECT_EQ(before + 1, clicks);
    }
    EXPECT_EQ(csUnchecked, list.State(0));
    EXPECT_EQ(csUnchecked, list.State(2));
}

TEST_F(CheckListFixture, MousePressesToggleOnlyInTheCheckColumn) {
    Press(WM_LBUTTONDOWN, 2, 40);
    EXPECT_EQ(csUnchecked, list.State(2)) << "a press over the text only selects";
    EXPECT_EQ(2, list.ItemIndex());
    EXPECT_EQ(0, clicks);

    Press(WM_LBUTTONDOWN, 0, 3);
    EXPECT_EQ(csChecked, list.State(0));
    EXPECT_EQ(0, list.ItemIndex());
    Press(WM_RBUTTONDOWN, 0, TCheckListBox::CheckWidth() - 1);
    EXPECT_EQ(csUnchecked, list.State(0)) << "any button toggles";
    EXPECT_EQ(2, clicks);

    Press(WM_LBUTTONDOWN, 0, TCheckListBox::CheckWidth());
    EXPECT_EQ(csUnchecked, list.State(0)) << "the column ends at its width";
    list.SetItemData(2, -7);
    EXPECT_EQ(-7, list.ItemData(2));
    test::TestParentWindow::Pump();
}

}  // namespace
}  // namespace orv
