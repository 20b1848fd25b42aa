// The crop: the window-to-picture mapping of every display mode with scrolling and the
// left margin, the aspect rule, the lossless grid, the proposed ratio, and the cut itself
// against ImageMagick.
#include <gtest/gtest.h>

#include "core/current_image.h"
#include "edit/crop.h"
#include "ops/crop.h"
#include "platform/native/host_native.h"
#include "test_support.h"
#include "ops_test_support.h"
#include "view/crop.h"
#include "view/display.h"

namespace {

TEST(CropMapping, EveryModeWithScrollAndMargin) {
    const struct {
        char mode;
        double scale;
        int x, length;  // picture x of window x 30 and picture length of 50 window pixels
    } cases[] = {
        {MODE_NORMAL, 1, 20 + 30 - 10, 50},
        {MODE_QUADRUPLE, 1, 20 / 4 + (30 - 10) / 4, 12},
        {MODE_DOUBLE, 1, 20 / 2 + (30 - 10) / 2, 25},
        {MODE_HALF, 1, 2 * (20 + 30 - 10), 100},
        {MODE_QUARTER, 1, 4 * (20 + 30 - 10), 200},
        {MODE_BEST_FIT, 2.5, 50 + 50, 125},                  // trunc(20 x 2.5) + trunc(20 x 2.5)
        {MODE_FULL_SCREEN_STRETCH, 0.3, 6 + 6, 15},          // 0.3 x 20 is 6 on paper
        {MODE_BEST_FIT_NO_BORDER, 1.5, 7, 75},               // trunc((20 - 15) x 1.5), no scroll
        {MODE_FIXED_WINDOW, 1.5, 7, 75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        SelectionMapping m;
        m.mode = c.mode;
        m.scrollX = 20;
        m.scrollY = 8;
        m.scaleX = m.scaleY = c.scale;
        m.originX = 15;
        m.leftMargin = 10;
        EXPECT_EQ(SelectionImageX(m, 30), c.x);
        EXPECT_EQ(SelectionImageLength(m, 50, true), c.length);
    }
    // Rows map the same way, without the margin: Half maps a 100 x 50 selection to 200 x 100.
    SelectionMapping half;
    half.mode = MODE_HALF;
    half.scrollY = 3;
    EXPECT_EQ(SelectionImageY(half, 10), 26);
    EXPECT_EQ(SelectionImageLength(half, 100, true), 200);
    EXPECT_EQ(SelectionImageLength(half, 50, false), 100);
}

TEST(CropMapping, AspectGridAndRatio) {
    const struct {
        int a, b, dw, dh, wantW, wantH;
    } cases[] = {
        {4, 3, 100, 100, 100, 75},    // qw 25, qh 33: the width's quotient sets both
        {4, 3, 100, 30, 40, 30},      // qw 25, qh 10
        {4, 3, -100, 100, -100, 75},  // signs are kept
        {4, 3, 100, -30, 40, -30},
        {0, 0, 77, 33, 77, 33},       // free cropping
    };
    for (const auto& c : cases) {
        int dw = c.dw, dh = c.dh;
        ApplyCropAspect(c.a, c.b, &dw, &dh);
        EXPECT_EQ(dw, c.wantW) << c.dw << "x" << c.dh;
        EXPECT_EQ(dh, c.wantH) << c.dw << "x" << c.dh;
    }
    EXPECT_EQ(LosslessGrid(MODE_NORMAL), 8);
    EXPECT_EQ(LosslessGrid(MODE_QUADRUPLE), 32);
    EXPECT_EQ(LosslessGrid(MODE_QUARTER), 2);
    EXPECT_EQ(SnapToGrid(11, 8), 8);
    EXPECT_EQ(SnapToGrid(12, 8), 16);
    EXPECT_EQ(SnapToGrid(-9, 8), -8);
    int a = 0, b = 0;
    PictureRatio(1600, 1200, &a, &b);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 3);
}

TEST(CropImageTest, CutsAsImageMagickAndRefusesBadRectangles) {
    const CropRect clipped = ClampCropRect(90, 50, -20, 10, 64, 40);  // corners swapped, past the edges
    EXPECT_EQ(clipped.left, 0);
    EXPECT_EQ(clipped.top, 10);
    EXPECT_EQ(clipped.width, 64);
    EXPECT_EQ(clipped.height, 30);

    CDib picture;
    opstest::MakePattern(picture, 37, 23);
    EXPECT_EQ(CropImage(picture, {30, 0, 10, 5}, nullptr), -1);  // past the right edge
    EXPECT_EQ(CropImage(picture, {0, 0, 0, 5}, nullptr), -1);
    EXPECT_EQ(picture.width, 37);
    if (!opstest::ToolAvailable("convert")) GTEST_SKIP() << "convert is not installed";
    const std::string dir = ScratchDir("crop");
    for (const CropRect r : {CropRect{5, 3, 17, 11}, CropRect{0, 0, 37, 23}, CropRect{36, 22, 1, 1}}) {
        CDib cut;
        opstest::MakePattern(cut, 37, 23);
        const RgbImage expected = opstest::ConvertReference(
            dir, cut,
            "-crop " + std::to_string(r.width) + "x" + std::to_string(r.height) + "+" + std::to_string(r.left) + "+" +
                std::to_string(r.top) + " +repage");
        ASSERT_EQ(CropImage(cut, r, nullptr), 0);
        EXPECT_TRUE(DibToRgb(cut).rgb == expected.rgb) << r.left << "," << r.top;
    }
}

TEST(CropCurrentImageTest, ClampsRefusesEmptyAndTakesOneUndoStep) {
    ResetEngineState();
    opstest::MakePattern(CurrentImage.dib, 40, 30);
    NativeHost.boxes.clear();
    EXPECT_EQ(CropCurrentImage(10, 5, 10, 25), -1);  // no width
    EXPECT_EQ(ShownBoxes(), "Inappropriate height <20> or width <0> calculated for cropped area\n");
    EXPECT_EQ(CurrentImage.dib.width, 40);
    ASSERT_EQ(CropCurrentImage(35, 25, 10, -5), 0);  // corners swapped, the top past the edge
    EXPECT_EQ(CurrentImage.dib.width, 25);
    EXPECT_EQ(CurrentImage.dib.height, 25);
    Undo();
    EXPECT_EQ(CurrentImage.dib.width, 40);
    ResetEngineState();
}

}  // namespace
