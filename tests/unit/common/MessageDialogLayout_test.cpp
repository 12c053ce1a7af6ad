// The message dialog's geometry: spacing from the character size, block sizes, button row.
#include "common/MessageDialog.h"
#include "common/MessageDialogLayout.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct Spacing {
    int ax, ay, hm, vm, hs, vs, bw, bh, bs;
};

TEST(MessageDialogLayout, SpacingFollowsTheCharacterSizeRoundingHalvesUp) {
    const Spacing cases[] = {
        {6, 13, 15, 13, 15, 16, 75, 23, 6},
        {7, 16, 18, 16, 18, 20, 88, 28, 7},  // 17.5 -> 18, 87.5 -> 88
        {8, 16, 20, 16, 20, 20, 100, 28, 8},
    };
    for (const Spacing& c : cases) {
        TMessageDialogLayout l = LayoutMessageDialog(c.ax, c.ay, 100, 13, mbOK);
        SCOPED_TRACE(testing::Message() << c.ax << "x" << c.ay);
        EXPECT_EQ(c.hm, l.Hm);
        EXPECT_EQ(c.vm, l.Vm);
        EXPECT_EQ(c.hs, l.Hs);
        EXPECT_EQ(c.vs, l.Vs);
        EXPECT_EQ(c.bw, l.Bw);
        EXPECT_EQ(c.bh, l.Bh);
        EXPECT_EQ(c.bs, l.Bs);
    }
}

TEST(MessageDialogLayout, AbortRetryIgnoreExample) {
    TMessageDialogLayout l = LayoutMessageDialog(6, 13, 300, 26, mbAbort | mbRetry | mbIgnore);
    EXPECT_EQ(377, l.ClientWidth);
    EXPECT_EQ(97, l.ClientHeight);
    EXPECT_EQ(15, l.Icon.Left);
    EXPECT_EQ(13, l.Icon.Top);
    EXPECT_EQ(32, l.Icon.Width);
    EXPECT_EQ(32, l.Icon.Height);
    EXPECT_EQ(62, l.Text.Left);
    EXPECT_EQ(13, l.Text.Top);
    EXPECT_EQ(300, l.Text.Width);
    EXPECT_EQ(26, l.Text.Height);
    ASSERT_EQ(3u, l.Buttons.size());
    const int xs[] = {70, 151, 232}, indices[] = {4, 5, 6};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(indices[i], l.Buttons[i].Index);
        EXPECT_EQ(xs[i], l.Buttons[i].Rect.Left);
        EXPECT_EQ(61, l.Buttons[i].Rect.Top);
        EXPECT_EQ(75, l.Buttons[i].Rect.Width);
        EXPECT_EQ(23, l.Buttons[i].Rect.Height);
    }
    EXPECT_EQ(5, l.DefaultIndex);  // Retry
    EXPECT_EQ(-1, l.CancelIndex);  // Esc does nothing
}

struct SetCase {
    uint16_t buttons;
    std::vector<int> indices;
    int defaultIndex, cancelIndex;
};

TEST(MessageDialogLayout, ButtonSetsChooseButtonsDefaultAndCancel) {
    const SetCase cases[] = {
        {0, {}, -1, -1},
        {0xFE00, {}, -1, -1},        // bits 9 and above add nothing
        {0xFE00 | mbOK, {2}, 2, 2},  // OK alone is default and cancel
        {mbOK, {2}, 2, 2},
        {mbYes | mbNo, {0, 1}, 0, 1},
        {mbNo | mbAbort, {1, 4}, -1, 1},  // the quit question: no default, Esc is No
        {mbOK | mbCancel, {2, 3}, 2, 3},
        {mbYes | mbNo | mbCancel, {0, 1, 3}, 0, 3},
        {0x1FF, {0, 1, 2, 3, 4, 5, 6, 7, 8}, 2, 3},
    };
    for (const SetCase& c : cases) {
        TMessageDialogLayout l = LayoutMessageDialog(6, 13, 100, 13, c.buttons);
        SCOPED_TRACE(testing::Message() << "set " << c.buttons);
        std::vector<int> indices;
        for (const TLayoutButton& b : l.Buttons) indices.push_back(b.Index);
        EXPECT_EQ(c.indices, indices);
        EXPECT_EQ(c.defaultIndex, l.DefaultIndex);
        EXPECT_EQ(c.cancelIndex, l.CancelIndex);
    }
}

TEST(MessageDialogLayout, BlocksNeverOverlap) {
    // A one-line text lower than the icon still gets a 32-pixel block.
    TMessageDialogLayout shortText = LayoutMessageDialog(6, 13, 100, 13, mbOK);
    EXPECT_EQ(32 + 23 + 16 + 2 * 13, shortText.ClientHeight);
    EXPECT_EQ(100 + 15 + 32 + 2 * 15, shortText.ClientWidth);
    ASSERT_EQ(1u, shortText.Buttons.size());
    EXPECT_EQ(32 + 13 + 16, shortText.Buttons[0].Rect.Top);
    EXPECT_EQ((177 - 75) / 2, shortText.Buttons[0].Rect.Left);

    // An empty set: no row, the width comes from the text alone.
    TMessageDialogLayout none = LayoutMessageDialog(6, 13, 100, 13, 0);
    EXPECT_EQ(177, none.ClientWidth);
    EXPECT_EQ(97, none.ClientHeight);

    // A row wider than the text decides the width, and starts at the margin.
    TMessageDialogLayout all = LayoutMessageDialog(6, 13, 10, 13, 0x1FF);
    EXPECT_EQ(9 * 75 + 8 * 6 + 2 * 15, all.ClientWidth);
    EXPECT_EQ(15, all.Buttons.front().Rect.Left);
    EXPECT_EQ(all.ClientWidth - 15, all.Buttons.back().Rect.Left + all.Buttons.back().Rect.Width);
}

TEST(MessageDialogLayout, CentringHalvesEachSizeSeparately) {
    struct Case {
        int sw, sh, w, h, left, top;
    } cases[] = {
        {1024, 768, 383, 126, 512 - 191, 384 - 63},
        {1025, 769, 384, 127, 512 - 192, 384 - 63},
        {800, 600, 801, 601, 400 - 400, 300 - 300},
    };
    for (const Case& c : cases) {
        int left = -1, top = -1;
        CentreOnScreen(c.sw, c.sh, c.w, c.h, left, top);
        EXPECT_EQ(c.left, left);
        EXPECT_EQ(c.top, top);
    }
}

TEST(MessageDialogTables, KindsAndButtons) {
    const char* captions[] = {"Warning", "Error", "Information", "Confirm"};
    const WORD icons[] = {32515, 32513, 32516, 32514};
    for (uint8_t k = 0; k < 4; ++k) {
        EXPECT_STREQ(captions[k], MessageKindCaption(k));
        EXPECT_EQ(icons[k], reinterpret_cast<ULONG_PTR>(MessageKindIcon(k)));
    }
    const char* buttons[] = {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "N&o to All"};
    const int32_t results[] = {6, 7, 1, 2, 3, 4, 5, 8, 0};
    for (int i = 0; i < MessageButtonCount; ++i) {
        EXPECT_STREQ(buttons[i], MessageButtonCaption(i));
        EXPECT_EQ(results[i], MessageButtonResult(i));
    }
}

}  // namespace
}  // namespace orv
