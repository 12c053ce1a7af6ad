// The component page: item set-up from the stored set, the first box that stays grayed,
// and the disk-space figures that decide Next.
#include "wizard/SelCompPage.h"

#include "TestParentWindow.h"
#include "engine/FileSelection.h"
#include "engine/ResConst.h"
#include "support/Scratch.h"
#include "wizard/CheckListBox.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(SelCompPage, DiskSpaceDecision) {
    using States = std::vector<uint8_t>;
    using Sizes = std::vector<int32_t>;
    struct Case {
        States states;
        Sizes sizes;
        bool known;
        int64_t available;
        int64_t required;
        bool next;
        const char* availText;
    } cases[] = {
        {States{2, 1, 0}, Sizes{4096, 8192, 1 << 20}, true, 12288, 12288, true, "12 KB"},
        {States{2, 1, 0}, Sizes{4096, 8192, 1 << 20}, true, 12287, 12288, false, "11 KB"},
        {States{2, 0, 0}, Sizes{4096, 8192, 1 << 20}, true, 5000, 4096, true, "4 KB"},  // grayed counts
        {States{2, 1, 1}, Sizes{INT32_MAX, INT32_MAX, 2}, true, 1LL << 31, 4294967296LL, false, "2 048 MB"},
        {States{2, 1}, Sizes{4096, 8192}, false, 0, 12288, false, "0 KB"},  // the drive could not be asked
    };
    for (const auto& c : cases) {
        const TDiskSpace s = ComputeDiskSpace(c.states, c.sizes, c.known, c.available);
        EXPECT_EQ(c.required, s.Required);
        EXPECT_EQ(c.next, s.NextEnabled) << c.available;
        EXPECT_EQ(c.availText, s.AvailableText);
    }
}

TEST(SelCompPage, FreeSpaceRootIsTheDrivePart) {
    struct Case {
        const char* dest;
        const char* root;
    } cases[] = {
        {"C:\\Program Files\\Orvanel", "C:"},
        {"e:", "e:"},
        {"\\\\srv\\share\\Word", "\\\\srv\\share\\"},
        {"\\\\srv\\share", "\\\\srv\\share\\"},
        {"\\\\srv\\", ""},
        {"\\\\srv", ""},
        {"Word", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.root, FreeSpaceRoot(c.dest)) << c.dest;
}

struct SelCompFixture : ::testing::Test {
    SelCompFixture() : page(list, state) {
        list.Create(parent.Handle(), 301, 10, 10, 345, 148, nullptr, 16);
        parent.Router().Add(&list);
        page.OnDiskSpace = [this](const TDiskSpace& s) {
            ++reports;
            last = s;
        };
    }
    test::TestParentWindow parent;
    TCheckListBox list;
    TSetupState state;
    TSelCompPage page;
    int reports = 0;
    TDiskSpace last;
};

TEST_F(SelCompFixture, ItemsComeFromTheStoredComponentSet) {
    state.Options.Comps = 0x2B;  // components 0, 1, 3 and 5
    page.SetUpItems();
    ASSERT_EQ(ComponentCount, list.ItemCount());
    const std::vector<uint8_t> expected = {csGrayed, csChecked, csUnchecked, csChecked, csUnchecked, csChecked};
    for (int i = 0; i < ComponentCount; ++i) {
        EXPECT_EQ(ComponentNames[i], list.ItemText(i));
        EXPECT_EQ(expected[static_cast<size_t>(i)], list.State(i)) << i;
    }
    EXPECT_EQ(expected, state.ItemStates);
    EXPECT_EQ((std::vector<uint8_t>{0, 1, 2, 3, 4, 5}), state.ItemComponents);
    EXPECT_EQ(1, list.ItemIndex());
    EXPECT_EQ(0, reports);
}

TEST_F(SelCompFixture, TheFirstBoxStaysGrayedAndOtherTogglesUpdateTheFigures) {
    test::ScratchFolder dest("sc");
    state.Options.DestDir = dest.Path();
    page.SetUpItems();
    for (int i = 0; i < ComponentCount; ++i) list.SetItemData(i, (i + 1) * 4096);

    list.SetItemIndex(0);
    ::SendMessageA(list.Handle(), WM_CHAR, ' ', 0);
    EXPECT_EQ(csGrayed, list.State(0));
    EXPECT_EQ(csGrayed, state.ItemStates[0]);
    EXPECT_EQ(0, reports) << "a click on the first box changes no figure";

    list.SetItemIndex(2);
    ::SendMessageA(list.Handle(), WM_CHAR, ' ', 0);
    EXPECT_EQ(csUnchecked, state.ItemStates[2]);
    ASSERT_EQ(1, reports);
    EXPECT_EQ(4096 * (1 + 2 + 4 + 5 + 6), last.Required);
    EXPECT_TRUE(last.AvailableKnown);
    EXPECT_TRUE(last.NextEnabled);

    for (int i = 1; i < ComponentCount; ++i) list.SetState(i, csUnchecked);
    const TDiskSpace only = page.UpdateDiskSpace();
    EXPECT_EQ(4096, only.Required) << "the grayed first component always counts";
    EXPECT_EQ("4 KB", only.RequiredText);
    test::TestParentWindow::Pump();  // items draw with their sizes
}

TEST_F(SelCompFixture, NextNeedsKnownAndSufficientSpace) {
    page.SetUpItems();
    list.SetItemData(0, 4096);
    struct Case {
        const char* dest;
        bool known;
    } cases[] = {
        {"e:\\Orvanel", true},
        {"q:\\Orvanel", false},
        {"\\\\nohost\\noshare\\Orvanel", false},
    };
    for (const auto& c : cases) {
        state.Options.DestDir = c.dest;
        const TDiskSpace s = page.UpdateDiskSpace();
        EXPECT_EQ(c.known, s.AvailableKnown) << c.dest;
        EXPECT_EQ(c.known, s.NextEnabled) << c.dest;
        if (!c.known) {
            EXPECT_EQ("0 KB", s.AvailableText) << c.dest;
        }
    }
    // A tiny disk (T: is a 256 KiB tmpfs when the fixture could mount it) cannot hold 1 MB.
    if (::GetDriveTypeA("t:\\") == DRIVE_FIXED) {
        state.Options.DestDir = "t:\\Orvanel";
        list.SetItemData(0, 1 << 20);
        const TDiskSpace s = page.UpdateDiskSpace();
        EXPECT_TRUE(s.AvailableKnown);
        EXPECT_FALSE(s.NextEnabled) << s.AvailableText;
    }
}

TEST_F(SelCompFixture, SizesComeFromTheComponentFileLists) {
    TAttachedFiles files;
    state.Options.DestDir = "e:\\Orvanel";
    page.SetUpItems();
    page.RefreshSizes(files);
    for (int i = 0; i < ComponentCount; ++i)
        EXPECT_EQ(ComponentSize(files, state, ComponentFiles[i]), list.ItemData(i)) << i;
    EXPECT_GT(list.ItemData(0), 0);
}

}  // namespace
}  // namespace orv
