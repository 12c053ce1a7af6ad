// The program's pictures as the loader reads them from its resources, and their smooth
// scaling with transparent edges.
#include "ui/ScaledPicture.h"

#include <gtest/gtest.h>

namespace orv::ui {
namespace {

uint32_t Rgb(uint32_t pixel) {
    return pixel & 0xFFFFFF;
}

// A bitmap resource has no file header: a colour count shorter than the colour table
// shifts every pixel. The corners show it: outside the logo's rounded tile they are black,
// and the list pictures' corners all hold their transparent colour (magenta).
TEST(ScaledPicture, ResourcesLoadWithTheirCornersInPlace) {
    const struct {
        const char* name;
        uint32_t corner;
    } cases[] = {
        {"LOGOSMALL", 0x000000},  {"FIXEDDRIVE", 0xFF00FF},   {"REMOVABLEDRIVE", 0xFF00FF},
        {"OPENFOLDER", 0xFF00FF}, {"CLOSEDFOLDER", 0xFF00FF},
    };
    for (const auto& c : cases) {
        for (const std::string& name : {std::string(c.name), LargeArtworkName(c.name)}) {
            UniqueHBitmap bitmap = LoadBitmapResourceDib(name.c_str());
            ASSERT_TRUE(bitmap) << name;
            const TPixels p = ReadPixels(bitmap.get());
            ASSERT_FALSE(p.Data.empty()) << name;
            const size_t w = static_cast<size_t>(p.Width), last = p.Data.size() - 1;
            for (size_t at : {size_t{0}, w - 1, last - (w - 1), last})
                EXPECT_EQ(c.corner, Rgb(p.Data[at])) << name << " pixel " << at;
        }
    }
    const SIZE logo = PictureSize(LoadBitmapResourceDib("LOGO").get());
    const SIZE large = PictureSize(LoadBitmapResourceDib(LargeArtworkName("LOGO").c_str()).get());
    EXPECT_EQ(2 * logo.cx, large.cx);
    EXPECT_EQ(2 * logo.cy, large.cy);
}

TEST(ScaledPicture, ShrunkListPicturesHaveTransparentEdgesAndAnOpaqueBody) {
    UniqueHBitmap large = LoadBitmapResourceDib(LargeArtworkName("CLOSEDFOLDER").c_str());
    UniqueHBitmap scaled = ScaleBitmap(large.get(), 24, 24, true);  // 150 %
    const TPixels p = ReadPixels(scaled.get());                     // alpha read back as opaque; check the colours
    ASSERT_EQ(24, p.Width);
    // Premultiplied: fully transparent pixels are black, and no magenta reaches the edges.
    EXPECT_EQ(0u, Rgb(p.Data[0]));
    EXPECT_EQ(0u, Rgb(p.Data.back()));
    int magentaish = 0;
    for (uint32_t px : p.Data) magentaish += ((px >> 16) & 0xFF) > 200 && (px & 0xFF) > 200 && ((px >> 8) & 0xFF) < 60;
    EXPECT_EQ(0, magentaish);
    EXPECT_NE(0u, Rgb(p.Data[12 * 24 + 12]));  // the folder's body
}

}  // namespace
}  // namespace orv::ui
