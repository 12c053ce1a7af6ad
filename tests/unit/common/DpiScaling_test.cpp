// Scaling of 96-dpi layout values: rounding, rectangles that keep their neighbours, font heights.
#include "common/DpiScaling.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(DpiScaling, ValuesRoundToTheNearestPixelWithHalvesAwayFromZero) {
    const struct {
        int value, dpi, scaled;
    } cases[] = {
        {492, 96, 492}, {351, 96, 351},  {-11, 96, -11},  {0, 144, 0},     {1, 144, 2},
        {3, 144, 5},    {-1, 144, -2},   {-11, 144, -17}, {492, 120, 615}, {351, 120, 439},
        {17, 120, 21},  {492, 144, 738}, {351, 192, 702}, {13, 192, 26},   {7, 0, 7},
    };
    for (const auto& c : cases) EXPECT_EQ(c.scaled, ScaleForDpi(c.value, c.dpi)) << c.value << " at " << c.dpi;
}

TEST(DpiScaling, RectanglesThatTouchAt96DpiTouchAtEveryScale) {
    // The Back and Next buttons share an edge at 295; Next and Cancel keep 12 pixels apart.
    const TLayoutRect back = {210, 12, 85, 22}, next = {295, 12, 85, 22}, cancel = {392, 12, 85, 22};
    for (int dpi : {96, 110, 120, 144, 168, 192, 240}) {
        const TLayoutRect b = ScaleRectForDpi(back, dpi), n = ScaleRectForDpi(next, dpi),
                          c = ScaleRectForDpi(cancel, dpi);
        EXPECT_EQ(b.Left + b.Width, n.Left) << dpi;
        EXPECT_LT(n.Left + n.Width, c.Left) << dpi;
        EXPECT_EQ(b.Top, n.Top) << dpi;
        EXPECT_EQ(b.Height, n.Height) << dpi;
    }
    const TLayoutRect same = ScaleRectForDpi(next, 96);
    EXPECT_EQ(295, same.Left);
    EXPECT_EQ(85, same.Width);
    const TLayoutRect large = ScaleRectForDpi({1, 0, 120, 260}, 144);  // the logo: 1.5 rounds to 2
    EXPECT_EQ(2, large.Left);
    EXPECT_EQ(180, large.Width);
    EXPECT_EQ(390, large.Height);
}

TEST(DpiScaling, FontHeightsFollowTheScale) {
    EXPECT_EQ(-11, FontHeightForDpi(8, 96));
    EXPECT_EQ(-13, FontHeightForDpi(8, 120));
    EXPECT_EQ(-16, FontHeightForDpi(8, 144));
    EXPECT_EQ(-21, FontHeightForDpi(8, 192));
    EXPECT_EQ(-11, RescaleFontHeight(-11, 96, 96));
    EXPECT_EQ(-22, RescaleFontHeight(-11, 96, 192));
    EXPECT_EQ(-11, RescaleFontHeight(-17, 144, 96));
    EXPECT_EQ(-17, RescaleFontHeight(-17, 0, 96));  // an unknown scale leaves the height alone
}

}  // namespace
}  // namespace orv
