// Smooth picture resizing and colour-key transparency, on pixels alone; and the scaling of
// a form's table rows.
#include "ui/FormDescription.h"
#include "ui/PictureResample.h"

#include <gtest/gtest.h>

namespace orv::ui {
namespace {

TPixels Make(int w, int h, std::vector<uint32_t> data) {
    return TPixels{w, h, std::move(data)};
}

TEST(PictureResample, ShrinkingAveragesTheCoveredArea) {
    const struct {
        const char* name;
        TPixels source;
        int width, height;
        std::vector<uint32_t> expected;
    } cases[] = {
        {"same size", Make(2, 1, {0xFF102030, 0xFF405060}), 2, 1, {0xFF102030, 0xFF405060}},
        {"2x2 to 1", Make(2, 2, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}), 1, 1, {0xFF808080}},
        // 3 to 2: each target pixel covers one source pixel and half of the middle one.
        {"3 to 2", Make(3, 1, {0xFF000000, 0xFF909090, 0xFFFFFFFF}), 2, 1, {0xFF303030, 0xFFDADADA}},
        // Premultiplied: a transparent neighbour thins the alpha and the colour alike.
        {"alpha", Make(2, 1, {0x00000000, 0xFF0000FF}), 1, 1, {0x80000080}},
        {"enlarge", Make(1, 1, {0xFF123456}), 2, 2, {0xFF123456, 0xFF123456, 0xFF123456, 0xFF123456}},
    };
    for (const auto& c : cases) {
        const TPixels out = ResamplePixels(c.source, c.width, c.height);
        EXPECT_EQ(c.width, out.Width) << c.name;
        EXPECT_EQ(c.expected, out.Data) << c.name;
    }
    EXPECT_TRUE(ResamplePixels(Make(0, 0, {}), 4, 4).Data.empty());
    EXPECT_TRUE(ResamplePixels(Make(1, 1, {1}), 0, 4).Data.empty());
}

TEST(PictureResample, TheKeyColourBecomesTransparent) {
    const TPixels out = KeyToAlpha(Make(3, 1, {0x00FF00FF, 0xFFFF00FF, 0x00123456}), 0xFF00FF);
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 0xFF123456}), out.Data);
}

TEST(ScaleControlDesc, RowsKeepTheirNeighboursAndGetTheClassHeight) {
    const TControlDesc back = {"BackBtn", "TButton", "N", 210, 12, 85, 22, "", 0};
    const TControlDesc check = {"Chk", "TCheckBox", "", 12, 237, 282, 0, "", 0};
    const TControlDesc same = ScaleControlDesc(back, 25, 96);
    EXPECT_EQ(210, same.Left);
    EXPECT_EQ(22, same.Height);
    EXPECT_EQ(17, ScaleControlDesc(check, 17, 96).Height);
    const TControlDesc large = ScaleControlDesc(check, 17, 144);
    EXPECT_EQ(18, large.Left);
    EXPECT_EQ(356, large.Top);                 // 355.5
    EXPECT_EQ(381, large.Top + large.Height);  // the bottom edge 254 scaled, not the height
    EXPECT_STREQ("Chk", large.Name);
}

}  // namespace
}  // namespace orv::ui
