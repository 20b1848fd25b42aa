// The point operations: the rules on hand-made pixels (greyscale weights, the monochrome
// threshold, contrast, the automatic stretch, gamma curves, the HSL model's scaling) and
// the negative and channel swaps against ImageMagick.
#include <gtest/gtest.h>

#include <cmath>

#include "ops/colour.h"
#include "ops_test_support.h"

namespace {

using opstest::At;
using opstest::GreyRows;
using opstest::MakeGrey;
using opstest::Rows;

CDib OnePixel(uint32_t rgb) {
    CDib d;
    d.Create(1, 1, 24);
    d.FillRGB(rgb);
    return d;
}

TEST(ColourOps, PixelRules) {
    CDib d = OnePixel(0xFF0000);
    ASSERT_EQ(GreyscaleImage(d), 0);
    EXPECT_EQ(At(d, 0, 0), 0x4C4C4Cu);  // 255 x 299 / 1000 = 76

    // Monochrome 128: an average of exactly 128 is black, 129 white.
    MakeGrey(d, {{128, 129}});
    ASSERT_EQ(MonochromeImage(d, 128), 0);
    EXPECT_EQ(GreyRows(d), (Rows{{0, 255}}));

    // Contrast 0 is the identity; 80 multiplies by e before clamping.
    MakeGrey(d, {{0, 50, 93, 94, 255}});
    ASSERT_EQ(ContrastImage(d, 0), 0);
    EXPECT_EQ(GreyRows(d), (Rows{{0, 50, 93, 94, 255}}));
    ASSERT_EQ(ContrastImage(d, 80), 0);
    EXPECT_EQ(GreyRows(d), (Rows{{0, static_cast<int>(50 * std::exp(1.0)), 252, 255, 255}}));

    d = OnePixel(0x10F0F0);
    ASSERT_EQ(AdjustRgb(d, -20, 20, 5), 0);
    EXPECT_EQ(At(d, 0, 0), 0x00FFF5u);

    // HSL with no change still scales 255 down to 254 (bytes / 256, back x 255).
    d = OnePixel(0xFFFFFF);
    ASSERT_EQ(AdjustHsl(d, 0, 100, 100), 0);
    EXPECT_EQ(At(d, 0, 0), 0xFEFEFEu);
    // A half turn of the hue takes pure red to cyan, value 0 to black.
    d = OnePixel(0xFF0000);
    ASSERT_EQ(AdjustHsl(d, 50, 100, 100), 0);
    EXPECT_EQ(At(d, 0, 0) & 0xFF0000, 0u);
    ASSERT_EQ(AdjustHsl(d, 0, 100, 0), 0);
    EXPECT_EQ(At(d, 0, 0), 0u);

    CDib notTrue;
    notTrue.Create(2, 2, 8);
    EXPECT_EQ(NegativeImage(notTrue), -1);
    EXPECT_EQ(SwapChannels(d, 44), -1);
}

TEST(ColourOps, AutoContrastStretchesTheMiddle) {
    // Low 20 and high 220: factor 1.275; 200 x 1.275 is 254.99... in floating point and
    // still gives 255.
    uint8_t t[256];
    LookupTable(255.0 / 200, 20, t);
    EXPECT_EQ(t[19], 0);
    EXPECT_EQ(t[20], 0);
    EXPECT_EQ(t[120], 127);
    EXPECT_EQ(t[220], 255);

    // 400 pixels: 2 at 5, 396 from 20 to 220, 2 at 240. With total / 200 = 2 the ends
    // are 20 (the first cumulative count above 2) and 219 (from the top, the first below
    // 398): the 5s and 20 become 0, 220 and the 240s 255.
    Rows rows(1, std::vector<int>{5, 5, 240, 240});
    for (int i = 0; i < 396; ++i) rows[0].push_back(20 + i * 200 / 395);
    CDib d;
    MakeGrey(d, rows);
    ASSERT_EQ(AutoContrast(d), 0);
    const Rows out = GreyRows(d);
    EXPECT_EQ(out[0][0], 0);
    EXPECT_EQ(out[0][2], 255);
    EXPECT_EQ(out[0][4], 0);      // 20
    EXPECT_EQ(out[0][399], 255);  // 220

    // A uniform picture has no spread: it is left as it is.
    MakeGrey(d, Rows(3, std::vector<int>(3, 77)));
    ASSERT_EQ(AutoContrast(d), 0);
    EXPECT_EQ(GreyRows(d), Rows(3, std::vector<int>(3, 77)));
}

TEST(ColourOps, GammaCurves) {
    int line[kGammaControls];
    for (int k = 0; k < 16; ++k) line[k] = 16 * k;
    line[16] = 255;
    uint8_t t[256];
    GammaTable('P', 100, line, t);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i], i);
    GammaTable('P', 200, line, t);
    EXPECT_EQ(t[128], static_cast<int>(255 * std::pow(128 / 255.0, 2)));
    GammaTable('P', 50, line, t);
    EXPECT_EQ(t[64], static_cast<int>(255 * std::sqrt(64 / 255.0)));
    GammaTable('u', 100, line, t);  // the initial user curve is the straight line
    for (int i = 0; i < 240; ++i) ASSERT_EQ(t[i], i);
    EXPECT_EQ(t[255], 254);  // between 240 and 255: 240 + 15 x 15 / 16
    GammaTable('S', 200, line, t);
    EXPECT_EQ(t[255], 255);
    EXPECT_EQ(t[0], 0);
}

TEST(ColourOps, NegativeAndSwapsEqualImageMagick) {
    if (!opstest::ToolAvailable("convert")) GTEST_SKIP() << "convert is not installed";
    const std::string dir = ScratchDir("colour");
    const struct {
        int operation;  // 0: the negative
        const char* reference;
    } cases[] = {
        {0, "-negate"},
        {SWAP_RED_BLUE, "-separate -swap 0,2 -combine"},
        {SWAP_RED_GREEN, "-separate -swap 0,1 -combine"},
        {SWAP_GREEN_BLUE, "-separate -swap 1,2 -combine"},
        {ROTATE_COLOURS, "-separate -swap 0,1 -swap 1,2 -combine"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference);
        CDib d;
        opstest::MakePattern(d, 13, 7);
        const RgbImage expected = opstest::ConvertReference(dir, d, c.reference);
        ASSERT_TRUE(expected.Valid());
        ASSERT_EQ(c.operation == 0 ? NegativeImage(d) : SwapChannels(d, c.operation), 0);
        EXPECT_TRUE(DibToRgb(d).rgb == expected.rgb);
    }
}

TEST(ColourOps, HistogramCountsAndDraws) {
    CDib d;
    MakeGrey(d, {{0, 0, 255}});
    CHist hist;
    hist.Count(d);
    EXPECT_EQ(hist.red[0], 2u);
    EXPECT_EQ(hist.bright[255], 1u);
    EXPECT_EQ(hist.largestColour, 2u);
    hist.DrawFull();
    ASSERT_EQ(hist.drawing.height, 500);
    // The red bar of value 0 stands at x 22 from baseline 20 to 20 + 90 (storage rows).
    EXPECT_EQ(hist.drawing.Row(20)[3 * 22 + 2], 255);
    EXPECT_EQ(hist.drawing.Row(109)[3 * 22 + 2], 255);
    EXPECT_EQ(hist.drawing.Row(110)[3 * 22 + 2], 0x30);
    // Brightness 255 (one of three pixels, the largest count 2): 65 high at x 256 + 23.
    EXPECT_EQ(hist.drawing.Row(350 + 64)[3 * 278], 255);
    EXPECT_EQ(hist.drawing.Row(350 + 65)[3 * 278], 0x30);
    hist.DrawSmall(150);
    EXPECT_EQ(hist.drawing.width, 450);
    EXPECT_EQ(hist.drawing.height, 255);
}

}  // namespace
