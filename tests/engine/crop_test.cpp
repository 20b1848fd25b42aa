// The crop: the window-to-picture mapping of every display mode with scrolling and the
// left margin, the aspect rule, the lossless grid, the proposed ratio, and the cut itself
// against ImageMagick.
#include <gtest/gtest.h>

#include "core/current_image.h"
#include "edit/crop.h"
#include "edit/exif_orientation.h"
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

// The selection as the mouse makes it: the moving corner's rules, the nine zones, and what
// "Crop now" cuts once the selection meets the window, the drawn picture and the picture.
TEST(CropSelection, CornerRulesAndZones) {
    SelectionMapping normal;
    const struct {
        CropPurpose purpose;
        int a, b, x, y, wantX, wantY;
    } corners[] = {
        {CROP_PLAIN, 0, 0, 400, 90, 300, 90},     // held left of the picture's right edge (300)
        {CROP_PLAIN, 4, 3, 110, 110, 110, 85},    // 4:3 from the anchor (10, 10)
        {CROP_LOSSLESS, 4, 3, 63, 59, 64, 56},    // grid, not the ratio
        {CROP_ICON, 0, 0, 50, 0, 50, -30},        // square, upwards
    };
    for (const auto& c : corners) {
        int x = c.x, y = c.y;
        DragCorner(normal, c.purpose, c.a, c.b, 10, 10, 300, &x, &y);
        EXPECT_EQ(x, c.wantX) << c.purpose;
        EXPECT_EQ(y, c.wantY) << c.purpose;
    }
    EXPECT_EQ(SelectionSizeTitle(normal, {10, 10, 60, 40}), "Size: (50 * 30) AR: 1.667");

    const SelectionRect r{30, 20, 130, 100};  // quarters: 25 across, 20 down
    const struct {
        int x, y;
        CropZone zone;
        SelectionRect after;  // the pointer moved by (+10, +5) from (x, y); free ratio
    } zones[] = {
        {31, 21, ZONE_TOP_LEFT, {41, 26, 130, 100}},
        {31, 60, ZONE_LEFT, {41, 20, 130, 100}},
        {80, 60, ZONE_MOVE, {40, 25, 140, 105}},
        {80, 99, ZONE_BOTTOM, {30, 20, 130, 104}},
        {129, 21, ZONE_TOP_RIGHT, {30, 26, 139, 100}},
        {105, 80, ZONE_BOTTOM_RIGHT, {30, 20, 115, 85}},  // a corner goes where the pointer is
        {20, 60, ZONE_LEFT, {30, 20, 130, 100}},          // beside it: the nearest zone, not dragged
    };
    for (const auto& z : zones) {
        EXPECT_EQ(ZoneAt(r, z.x, z.y), z.zone) << z.x << "," << z.y;
        if (z.x < r.left) continue;
        const SelectionRect after = DragZone(r, z.zone, z.x, z.y, z.x + 10, z.y + 5, 0, 0);
        EXPECT_EQ(after.left, z.after.left) << z.zone;
        EXPECT_EQ(after.top, z.after.top) << z.zone;
        EXPECT_EQ(after.right, z.after.right) << z.zone;
        EXPECT_EQ(after.bottom, z.after.bottom) << z.zone;
    }
    // With a fixed ratio the edges stay and the corners keep it from the opposite corner.
    EXPECT_FALSE(ZoneMoves(ZONE_TOP, true));
    const SelectionRect edge = DragZone(r, ZONE_RIGHT, 129, 60, 150, 60, 4, 3);
    EXPECT_EQ(edge.right, 130);
    const SelectionRect corner = DragZone(r, ZONE_BOTTOM_RIGHT, 129, 99, 150, 150, 4, 3);
    EXPECT_EQ(corner.right - corner.left, 120);
    EXPECT_EQ(corner.bottom - corner.top, 90);
}

TEST(CropSelection, WhatCropNowCuts) {
    PointMapping screen;
    screen.pictureWidth = 300;
    screen.pictureHeight = 200;
    screen.clientWidth = 250;
    screen.clientHeight = 150;
    const struct {
        char mode;
        int scrollX, scrollY;
        SelectionRect r;
        CropPurpose purpose;
        int a, b;
        CropRect want;
    } cases[] = {
        {MODE_NORMAL, 0, 0, {100, 80, 10, 10}, CROP_PLAIN, 0, 0, {10, 10, 90, 70}},     // any corner order
        {MODE_NORMAL, 100, 0, {150, 100, 400, 400}, CROP_PLAIN, 0, 0, {250, 100, 50, 50}},  // window, then picture
        {MODE_NORMAL, 0, 0, {10, 10, 110, 110}, CROP_PLAIN, 4, 3, {10, 10, 100, 75}},
        {MODE_NORMAL, 0, 0, {10, 10, 110, 110}, CROP_LOSSLESS, 4, 3, {10, 10, 100, 100}},
        {MODE_NORMAL, 0, 0, {10, 10, 110, 60}, CROP_ICON, 0, 0, {10, 10, 50, 50}},
        {MODE_HALF, 0, 0, {10, 10, 110, 60}, CROP_PLAIN, 0, 0, {20, 20, 200, 100}},
        {MODE_HALF, 0, 0, {100, 10, 200, 60}, CROP_PLAIN, 0, 0, {200, 20, 100, 100}},  // past the right edge
        {MODE_NORMAL, 0, 0, {260, 10, 300, 60}, CROP_PLAIN, 0, 0, {0, 0, 0, 0}},        // beside the window
    };
    for (const auto& c : cases) {
        PointMapping p = screen;
        p.mode = c.mode;
        p.scrollX = c.scrollX;
        p.scrollY = c.scrollY;
        const CropRect got = SelectionToPicture(SelectionMappingFor(p, 1, 1), p, c.r, c.purpose, c.a, c.b);
        EXPECT_EQ(got.left, c.want.left) << c.mode << " " << c.r.left;
        EXPECT_EQ(got.top, c.want.top) << c.mode << " " << c.r.left;
        EXPECT_EQ(got.width, c.want.width) << c.mode << " " << c.r.left;
        EXPECT_EQ(got.height, c.want.height) << c.mode << " " << c.r.left;
    }
    // In BestFitNoBorder only the drawn picture counts: it lies at (40, 30), 150 x 100, scaled 2.
    PointMapping fitted = screen;
    fitted.mode = MODE_BEST_FIT_NO_BORDER;
    fitted.drawnX = 44;  // the frame (4) and the caption (20) lie off the screen
    fitted.drawnY = 10;
    fitted.displayWidth = 150;
    fitted.displayHeight = 100;
    const SelectionMapping m = SelectionMappingFor(fitted, 1, 1);
    const CropRect got = SelectionToPicture(m, fitted, {0, 0, 90, 80}, CROP_PLAIN, 0, 0);
    EXPECT_EQ(got.left, 0);
    EXPECT_EQ(got.width, 100);
    EXPECT_EQ(got.height, 100);
    // The crosshair's spans are the inverse of the mapping: picture column 150 of 300 in Half
    // is window column 75, rows 0..200 are window rows 0..100 there.
    int from = 0, to = 0;
    SelectionClientSpan(m, 150, 152, true, &from, &to);
    EXPECT_EQ(from, 40 + 75);
    EXPECT_EQ(to, 40 + 76);
    SelectionMapping half;
    half.mode = MODE_HALF;
    SelectionClientSpan(half, 0, 200, false, &from, &to);
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, 100);
}

// A lossless crop of a picture shown upright cuts the file where the shown rectangle's
// pixels are stored: for every orientation, the stored rectangle turned as the picture
// was turned is the shown one.
TEST(CropSelection, StoredRectangleOfEveryOrientation) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        CDib stored, shown;
        opstest::MakePattern(stored, 10, 6);  // no two pixels alike
        shown.Assign(stored);
        ApplyOrientation(shown, orientation);
        const CropRect r{2, 1, 3, 4};
        const CropRect s = StoredRect(r, shown.width, shown.height, orientation);
        CDib cut;
        cut.Assign(stored);
        ASSERT_EQ(CropImage(cut, s, nullptr), 0);
        ApplyOrientation(cut, orientation);
        ASSERT_EQ(cut.width, r.width);
        ASSERT_EQ(cut.height, r.height);
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x)
                ASSERT_EQ(opstest::At(cut, x, y), opstest::At(shown, r.left + x, r.top + y)) << x << "," << y;
    }
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
