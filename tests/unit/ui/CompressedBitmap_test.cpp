// The compressed large artwork read back exactly as the plain bitmap files load, and
// damaged compressed data refused.
#include "ui/CompressedBitmap.h"

#include "support/BuildTree.h"
#include "ui/ScaledPicture.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

namespace orv::ui {
namespace {

using Bytes = std::vector<uint8_t>;

DIBSECTION SectionOf(HBITMAP bitmap) {
    DIBSECTION section = {};
    EXPECT_EQ(static_cast<int>(sizeof section), ::GetObjectA(bitmap, sizeof section, &section));
    return section;
}

std::vector<RGBQUAD> ColourTable(HBITMAP bitmap) {
    UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectObjectGuard keep(dc.get(), bitmap);
    std::vector<RGBQUAD> table(256);
    table.resize(::GetDIBColorTable(dc.get(), 0, 256, table.data()));
    return table;
}

TEST(CompressedBitmap, LargeArtworkEqualsItsBitmapFileLoadedAsADibSection) {
    for (const char* name : {"logo", "logosmall", "fixeddrive", "removabledrive", "openfolder", "closedfolder"}) {
        std::string resource = LargeArtworkName(name);
        for (char& c : resource) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
        const std::string file = test::SourceTreePath("resources/" + std::string(name) + "_2x.bmp");
        UniqueHBitmap expected(static_cast<HBITMAP>(
            ::LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        UniqueHBitmap loaded = LoadCompressedBitmapResource(resource.c_str());
        ASSERT_TRUE(expected) << file;
        ASSERT_TRUE(loaded) << resource;

        const DIBSECTION want = SectionOf(expected.get()), got = SectionOf(loaded.get());
        EXPECT_EQ(0, std::memcmp(&want.dsBmih, &got.dsBmih, sizeof want.dsBmih)) << resource;
        EXPECT_GT(got.dsBmih.biHeight, 0) << resource << " is bottom-up";
        EXPECT_EQ(want.dsBm.bmWidth, got.dsBm.bmWidth) << resource;
        EXPECT_EQ(want.dsBm.bmHeight, got.dsBm.bmHeight) << resource;
        EXPECT_EQ(want.dsBm.bmBitsPixel, got.dsBm.bmBitsPixel) << resource;
        ASSERT_EQ(want.dsBm.bmWidthBytes, got.dsBm.bmWidthBytes) << resource;

        const std::vector<RGBQUAD> wantColours = ColourTable(expected.get()), gotColours = ColourTable(loaded.get());
        ASSERT_EQ(wantColours.size(), gotColours.size()) << resource;
        EXPECT_EQ(0, std::memcmp(wantColours.data(), gotColours.data(), wantColours.size() * sizeof(RGBQUAD)));
        ::GdiFlush();
        const size_t bytes = static_cast<size_t>(want.dsBm.bmWidthBytes) * static_cast<size_t>(want.dsBm.bmHeight);
        EXPECT_EQ(0, std::memcmp(want.dsBm.bmBits, got.dsBm.bmBits, bytes)) << resource;
    }
}

Bytes Compressed(const Bytes& plain) {
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    Bytes out(size);
    EXPECT_EQ(Z_OK, compress2(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 9));
    out.resize(size);
    return out;
}

// A 4 x 2 picture of 8 bits with a colour table of two entries, as a packed DIB.
Bytes SmallDib(LONG width = 4, LONG height = 2, WORD bits = 8, DWORD colours = 2, size_t extra = 0) {
    BITMAPINFOHEADER h = {sizeof h, width, height, 1, bits, BI_RGB, 0, 0, 0, colours, 0};
    Bytes dib(reinterpret_cast<uint8_t*>(&h), reinterpret_cast<uint8_t*>(&h) + sizeof h);
    dib.resize(dib.size() + colours * sizeof(RGBQUAD) + 4 * 2 + extra, 1);
    return dib;
}

TEST(CompressedBitmap, DamagedOrMisshapenDataGivesNoBitmap) {
    HRSRC found = ::FindResourceA(nullptr, "LOGOSMALL_2X", CompressedBitmapType);
    ASSERT_TRUE(found);
    const auto* start = static_cast<const uint8_t*>(::LockResource(::LoadResource(nullptr, found)));
    const Bytes good(start, start + ::SizeofResource(nullptr, found));
    ASSERT_TRUE(BitmapFromCompressedDib(good.data(), good.size()));
    ASSERT_TRUE(BitmapFromCompressedDib(Compressed(SmallDib()).data(), Compressed(SmallDib()).size()));

    auto flipped = [&](size_t at) {
        Bytes b = good;
        b[at] ^= 0x5A;
        return b;
    };
    Bytes longer = good;
    longer.push_back(0);
    const struct {
        const char* what;
        Bytes data;
    } cases[] = {
        {"empty", {}},
        {"cut in the bitmap header", Bytes(good.begin(), good.begin() + 12)},
        {"cut in the pixels", Bytes(good.begin(), good.begin() + good.size() / 2)},
        {"cut in the checksum", Bytes(good.begin(), good.end() - 1)},
        {"a byte after the stream", longer},
        {"a byte changed in the pixels", flipped(good.size() - 40)},
        {"a byte changed in the checksum", flipped(good.size() - 2)},
        {"not zlib at all", SmallDib()},
        {"pixels missing", Compressed(SmallDib(4, 3))},
        {"pixels left over", Compressed(SmallDib(4, 2, 8, 2, 1))},
        {"absurd width", Compressed(SmallDib(1 << 30))},
        {"more colours than the depth has", Compressed(SmallDib(4, 2, 1, 3))},
        {"no such depth", Compressed(SmallDib(4, 2, 7))},
    };
    for (const auto& c : cases) EXPECT_FALSE(BitmapFromCompressedDib(c.data.data(), c.data.size())) << c.what;
    EXPECT_FALSE(BitmapFromCompressedDib(nullptr, 10));
    EXPECT_FALSE(LoadCompressedBitmapResource("NO_SUCH_PICTURE"));
}

}  // namespace
}  // namespace orv::ui
