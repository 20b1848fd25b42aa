// The picture buffer: creation, depth conversion, colour counting, pasting, plotting.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/dib.h"

namespace {

// A source block: 40-byte header, optional masks, table, pixels.
struct SourceBlock {
    std::vector<uint8_t> bytes;
    size_t pixelOffset = 0;
    const uint8_t* Header() const { return bytes.data(); }
    const uint8_t* Pixels() const { return bytes.data() + pixelOffset; }
    uint64_t PixelBytes() const { return bytes.size() - pixelOffset; }
};

SourceBlock MakeSource(int w, int h, int depth, uint32_t compression, std::vector<uint32_t> masks,
                       std::vector<uint32_t> table, uint32_t clrUsed, std::vector<uint8_t> pixels) {
    DibHeader hdr{};
    hdr.biSize = 40;
    hdr.biWidth = w;
    hdr.biHeight = h;
    hdr.biPlanes = 1;
    hdr.biBitCount = static_cast<uint16_t>(depth);
    hdr.biCompression = compression;
    hdr.biClrUsed = clrUsed;
    SourceBlock s;
    s.bytes.resize(40);
    std::memcpy(s.bytes.data(), &hdr, 40);
    for (uint32_t m : masks)
        for (int k = 0; k < 4; ++k) s.bytes.push_back(static_cast<uint8_t>(m >> (8 * k)));
    for (uint32_t c : table)
        for (int k = 0; k < 4; ++k) s.bytes.push_back(static_cast<uint8_t>(c >> (8 * k)));
    s.pixelOffset = s.bytes.size();
    s.bytes.insert(s.bytes.end(), pixels.begin(), pixels.end());
    return s;
}

// Pixel (x, y from the top) of a 24-bit picture as 0xRRGGBB.
uint32_t At(const CDib& d, int x, int y) {
    const uint8_t* p = d.Row(d.height - 1 - y) + 3 * x;
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

TEST(DibCreate, RoundsDepthsAndLaysOutTheBlock) {
    CDib d;
    struct { int asked, got, entries; } cases[] = {
        {0, 4, 16}, {1, 1, 2}, {2, 4, 16}, {3, 4, 16}, {5, 8, 256}, {8, 8, 256}, {12, 16, 0},
        {24, 24, 0}, {25, 32, 0}, {32, 32, 0}, {48, 64, 0},
    };
    for (auto c : cases) {
        d.Create(13, 7, c.asked);
        EXPECT_EQ(d.bitsPerPixel, c.got) << c.asked;
        EXPECT_EQ(d.Header()->biClrUsed, static_cast<uint32_t>(c.entries)) << c.asked;
        EXPECT_EQ(d.rowBytes, DibRowBytes(13, c.got));
        EXPECT_EQ(d.imageSize, d.rowBytes * 7);
        EXPECT_EQ(d.Header()->biSizeImage, d.imageSize);
        EXPECT_EQ(d.blockSize, 40 + 4 * static_cast<uint32_t>(c.entries) + d.imageSize);
        EXPECT_EQ(d.bits, d.info + 40 + 4 * c.entries);
    }
}

TEST(DibCreate, RefusesSizesOutsideTheLimits) {
    CDib d;
    EXPECT_THROW(d.Create(0, 5, 24), const char*);
    EXPECT_THROW(d.Create(5, 65536, 24), const char*);
    // 65535 x 65535 x 24 bits is more pixel data than a DIB can hold (over 4 GiB).
    try {
        d.Create(65535, 65535, 24);
        FAIL() << "expected the allocation failure";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Can't allocate DIB memory.");
    }
    EXPECT_TRUE(d.Empty());
}

TEST(DibCopy, DeepCopiesAndKeepsAlphaMode) {
    CDib a;
    a.Create(3, 2, 24);
    a.FillRGB(0x123456);
    a.alphaMode = 1;
    a.CountColours();
    CDib b(a);
    EXPECT_NE(a.info, b.info);
    EXPECT_EQ(0, std::memcmp(a.info, b.info, a.blockSize));
    EXPECT_EQ(b.alphaMode, 1);
    EXPECT_EQ(b.colourCount, 0);
    EXPECT_NE(a.serial, b.serial);
    CDib& same = b;
    b = same;  // assigning a picture to itself leaves it alone
    EXPECT_EQ(At(b, 2, 1), 0x123456u);
}

TEST(DibFill, LeavesRowPaddingAndClearsOtherDepths) {
    CDib d;
    d.Create(3, 2, 24);  // 9 bytes of pixels, 3 of padding per row
    std::memset(d.bits, 0xAA, d.imageSize);
    d.FillRGB(0x010203);
    EXPECT_EQ(d.bits[0], 3);
    EXPECT_EQ(d.bits[2], 1);
    EXPECT_EQ(d.bits[9], 0xAA);
    d.Create(5, 5, 8);
    std::memset(d.bits, 0xAA, d.imageSize);
    d.FillRGB(0xFFFFFF);
    for (uint32_t i = 0; i < d.imageSize; ++i) ASSERT_EQ(d.bits[i], 0);
}

TEST(ConvertTo24, PaletteDepthsReadTheRightBits) {
    // 1 bit, 13 wide: the 13th pixel is bit 3 (from the top, 7 - 4) of the second byte.
    CDib d;
    auto s1 = MakeSource(13, 1, 1, 0, {}, {0x000000, 0xFFFFFF}, 0, {0x00, 0x08, 0, 0});
    ASSERT_EQ(d.ConvertTo24(s1.Header(), s1.Pixels(), s1.PixelBytes()), 0);
    EXPECT_EQ(At(d, 12, 0), 0xFFFFFFu);
    EXPECT_EQ(At(d, 11, 0), 0u);
    // 4 bits, 5 wide: the 5th pixel is the high nibble of the third byte.
    auto s4 = MakeSource(5, 1, 4, 0, {}, {0x000000, 0xFF0000, 0x00FF00}, 3, {0x12, 0x00, 0x21, 0});
    ASSERT_EQ(d.ConvertTo24(s4.Header(), s4.Pixels(), s4.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(d, 1, 0), 0x00FF00u);
    EXPECT_EQ(At(d, 4, 0), 0x00FF00u);
    // 8 bits with biClrUsed 0 uses all 256 entries; an index beyond the table is black.
    std::vector<uint32_t> table(256);
    table[255] = 0xABCDEF;
    auto s8 = MakeSource(2, 1, 8, 0, {}, table, 0, {255, 0, 0, 0});
    ASSERT_EQ(d.ConvertTo24(s8.Header(), s8.Pixels(), s8.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0xABCDEFu);
    auto s8short = MakeSource(2, 1, 8, 0, {}, {0x111111, 0x222222}, 2, {1, 200, 0, 0});
    ASSERT_EQ(d.ConvertTo24(s8short.Header(), s8short.Pixels(), s8short.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0x222222u);
    EXPECT_EQ(At(d, 1, 0), 0u);
    // 2 bits: four indices per byte, most significant first.
    auto s2 = MakeSource(4, 1, 2, 0, {}, {0, 0x0000FF, 0x00FF00, 0xFF0000}, 4, {0x1B, 0, 0, 0});
    ASSERT_EQ(d.ConvertTo24(s2.Header(), s2.Pixels(), s2.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0u);
    EXPECT_EQ(At(d, 3, 0), 0xFF0000u);
}

TEST(ConvertTo24, MasksPlaceTheHighestBitOnBit7) {
    CDib d;
    // 5-6-5: pure green 0x07E0 becomes green 252, blue 0.
    auto g = MakeSource(1, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, 0, {0xE0, 0x07, 0, 0});
    ASSERT_EQ(d.ConvertTo24(g.Header(), g.Pixels(), g.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0x00FC00u);
    // Default 5-5-5: values are not bit-replicated (31 -> 248).
    auto w = MakeSource(1, 1, 16, 0, {}, {}, 0, {0xFF, 0x7F, 0, 0});
    ASSERT_EQ(d.ConvertTo24(w.Header(), w.Pixels(), w.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0xF8F8F8u);
    // Unusual masks: 10-bit channels keep their top 8 bits, an empty mask gives 0, a
    // blue mask above bit 7 is shifted right instead of stalling.
    uint32_t px = (0x3FFu << 20) | (0x200u << 10) | 0x3FF;
    auto wide = MakeSource(1, 1, 32, 3, {0x3FF00000, 0x000FFC00, 0}, {}, 0,
                           {static_cast<uint8_t>(px), static_cast<uint8_t>(px >> 8), static_cast<uint8_t>(px >> 16),
                            static_cast<uint8_t>(px >> 24)});
    ASSERT_EQ(d.ConvertTo24(wide.Header(), wide.Pixels(), wide.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0xFF8000u);
    auto high = MakeSource(1, 1, 16, 3, {0, 0, 0xFF00}, {}, 0, {0x00, 0x80, 0, 0});
    ASSERT_EQ(d.ConvertTo24(high.Header(), high.Pixels(), high.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0x000080u);
}

TEST(ConvertTo24, AlphaModesAndWideDepths) {
    CDib d;
    auto bgra = MakeSource(1, 1, 32, 0, {}, {}, 0, {200, 100, 50, 128});
    d.alphaMode = 1;
    ASSERT_EQ(d.ConvertTo24(bgra.Header(), bgra.Pixels(), bgra.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), static_cast<uint32_t>((50 * 128 / 256) << 16 | (100 * 128 / 256) << 8 | 200 * 128 / 256));
    // Mode 0 ignores the fourth byte.
    d.alphaMode = 0;
    ASSERT_EQ(d.ConvertTo24(bgra.Header(), bgra.Pixels(), bgra.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0x3264C8u);
    auto ga = MakeSource(1, 1, 16, 0, {}, {}, 0, {200, 128, 0, 0});
    d.alphaMode = 2;
    ASSERT_EQ(d.ConvertTo24(ga.Header(), ga.Pixels(), ga.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0x646464u);
    d.alphaMode = 0;
    auto p64 = MakeSource(1, 1, 64, 0, {}, {}, 0, {1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(d.ConvertTo24(p64.Header(), p64.Pixels(), p64.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0x050301u);
    auto p48 = MakeSource(1, 1, 48, 0, {}, {}, 0, {1, 2, 3, 4, 5, 6, 0, 0});
    ASSERT_EQ(d.ConvertTo24(p48.Header(), p48.Pixels(), p48.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 0), 0x060402u);
    // A depth with no defined layout fails and leaves a black picture of the right size.
    auto odd = MakeSource(2, 2, 12, 0, {}, {}, 0, std::vector<uint8_t>(16, 0xFF));
    EXPECT_EQ(d.ConvertTo24(odd.Header(), odd.Pixels(), odd.PixelBytes()), -1);
    EXPECT_EQ(d.width, 2);
    EXPECT_EQ(At(d, 1, 1), 0u);
}

TEST(ConvertTo24, ShortPixelDataLeavesMissingRowsBlack) {
    CDib d;
    // Two rows promised, one present: the bottom row decodes, the top row is black.
    auto s = MakeSource(1, 2, 24, 0, {}, {}, 0, {10, 20, 30, 0});
    ASSERT_EQ(d.ConvertTo24(s.Header(), s.Pixels(), s.PixelBytes()), 0);
    EXPECT_EQ(At(d, 0, 1), 0x1E140Au);
    EXPECT_EQ(At(d, 0, 0), 0u);
}

TEST(MakeTrueColour, ConvertsThePictureInPlace) {
    CDib d;
    d.Create(2, 1, 1);
    uint8_t rgb[] = {255, 0, 0, 0, 0, 255};
    d.SetPalette(rgb);
    d.bits[0] = 0x40;  // pixel 0 index 0, pixel 1 index 1
    ASSERT_EQ(d.MakeTrueColour(), 0);
    EXPECT_EQ(d.bitsPerPixel, 24);
    EXPECT_EQ(At(d, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(d, 1, 0), 0x0000FFu);
}

TEST(CountColours, CountsAndCaches) {
    CDib d;
    d.Create(4, 3, 24);
    d.FillRGB(0x101010);
    EXPECT_EQ(d.CountColours(), 1u);
    d.Row(0)[0] = 0x99;  // the cache is not recomputed behind the caller's back
    EXPECT_EQ(d.CountColours(), 1u);
    d.colourCount = 0;
    EXPECT_EQ(d.CountColours(), 2u);
    d.Create(4, 3, 24);
    EXPECT_EQ(d.colourCount, 0);
}

class PasteRowsTest : public ::testing::Test {
protected:
    CDib dst, src;
    void SetUp() override {
        dst.Create(10, 6, 24);
        dst.FillRGB(0);
        src.Create(4, 3, 24);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                uint8_t* p = src.Row(2 - y) + 3 * x;
                p[0] = static_cast<uint8_t>(x + 1);
                p[1] = static_cast<uint8_t>(y + 1);
                p[2] = 0;
            }
    }
    void Paste(int x, int y) { dst.PasteRows(x, y, src.bits, src.width, src.height); }
    uint32_t Src(int x, int y) { return static_cast<uint32_t>((y + 1) << 8 | (x + 1)); }
};

TEST_F(PasteRowsTest, ClipsOnEverySide) {
    Paste(-2, 0);  // starts two pixels into each source row
    EXPECT_EQ(At(dst, 0, 0), Src(2, 0));
    EXPECT_EQ(At(dst, 1, 2), Src(3, 2));
    EXPECT_EQ(At(dst, 2, 0), 0u);
    SetUp();
    Paste(8, 5);  // right and bottom: only the top-left 2x1 lands
    EXPECT_EQ(At(dst, 8, 5), Src(0, 0));
    EXPECT_EQ(At(dst, 9, 5), Src(1, 0));
    EXPECT_EQ(At(dst, 8, 4), 0u);
    SetUp();
    Paste(3, -2);  // above the top: only the source's bottom row lands
    EXPECT_EQ(At(dst, 3, 0), Src(0, 2));
    EXPECT_EQ(At(dst, 3, 1), 0u);
}

TEST_F(PasteRowsTest, PicturesWhollyOutsideCopyNothing) {
    // Far enough left that no column remains (the count would be negative).
    for (int x : {-4, -7, -10, 10, 11})
        for (int y : {-3, -6, 0, 6}) Paste(x, y);
    for (int y : {-3, -6, 6, 9}) Paste(0, y);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(At(dst, x, y), 0u) << x << "," << y;
}

TEST(PlotPixel, CountsRowsFromTheTopStartingAtOneAndClips) {
    CDib d;
    d.Create(3, 3, 24);
    d.FillRGB(0);
    const uint8_t red[3] = {0, 0, 255};
    d.PlotPixel(1, 1, red);  // buffer row height - 1: the top row
    EXPECT_EQ(At(d, 1, 0), 0xFF0000u);
    d.PlotPixel(0, 0, red);  // row 3: outside
    d.PlotPixel(3, 2, red);
    d.PlotPixel(-1, 2, red);
    int set = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) set += At(d, x, y) != 0;
    EXPECT_EQ(set, 1);
}

TEST(DrawCircle, DrawsTheEightSymmetricPointsAndClips) {
    CDib d;
    d.Create(11, 11, 24);
    d.FillRGB(0);
    const uint8_t white[3] = {255, 255, 255};
    d.DrawCircle(5, 6, 3, white);
    EXPECT_EQ(At(d, 8, 5), 0xFFFFFFu);  // (cx + r, cy + 0): buffer row 11 - 6 = top row 5
    EXPECT_EQ(At(d, 2, 5), 0xFFFFFFu);
    EXPECT_EQ(At(d, 5, 5), 0u);
    d.DrawCircle(0, 0, 30, white);  // almost all outside: must not write out of bounds
}

}  // namespace
