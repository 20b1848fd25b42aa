// Rotation and flips: the exact transforms against ImageMagick, the any-angle rotation
// against results worked out from its formulas, the canvas limits and the commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/appstate.h"
#include "core/current_image.h"
#include "platform/native/host_native.h"
#include "core/title.h"
#include "ops/flip.h"
#include "ops/preview.h"
#include "ops/rotate.h"
#include "ops_test_support.h"
#include "base/settings.h"
#include "test_support.h"
#include "edit/geometry.h"
#include "view/rotate_dialog.h"

namespace {

using opstest::At;
using opstest::GreyRows;
using opstest::MakeGrey;
using opstest::MakePattern;
using opstest::Rows;

class RotateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngineState();
        rotateAngle = 0;
    }
    void TearDown() override {
        rotateAngle = 0;
        ResetEngineState();
    }
};

// Each exact transform, run through the command that the menu uses, gives what
// ImageMagick gives. The buffer transpose mirrors the picture on the screen about its
// bottom-left to top-right diagonal: ImageMagick's -transverse.
TEST_F(RotateTest, ExactTransformsMatchImageMagick) {
    if (!opstest::ToolAvailable("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
    const std::string dir = ScratchDir("rotate-reference");
    struct Case {
        const char* operation;
        int command;  // a TransformCommand, or 0 for Transpose
    } cases[] = {
        {"-rotate 90", TRANSFORM_ROTATE_90},  {"-rotate 180", TRANSFORM_ROTATE_180},
        {"-rotate 270", TRANSFORM_ROTATE_270}, {"-flop", TRANSFORM_FLIP_HORIZONTAL},
        {"-flip", TRANSFORM_FLIP_VERTICAL},    {"-transverse", 0},
    };
    // Odd widths give padded rows; 70 x 45 crosses the tiles of the transposition.
    for (auto size : {std::pair<int, int>{7, 5}, {70, 45}, {1, 3}, {4, 4}}) {
        for (const Case& c : cases) {
            MakePattern(CurrentImage.dib, size.first, size.second);
            RgbImage expected = opstest::ConvertReference(dir, CurrentImage.dib, c.operation);
            ASSERT_TRUE(expected.Valid()) << c.operation;
            if (c.command != 0) {
                ASSERT_EQ(RunTransformCommand(c.command), 0);
            } else {
                ASSERT_EQ(Transpose(CurrentImage.dib), 0);
            }
            RgbImage ours = DibToRgb(CurrentImage.dib);
            EXPECT_EQ(ours.width, expected.width) << c.operation << " " << size.first << "x" << size.second;
            EXPECT_EQ(ours.height, expected.height) << c.operation;
            EXPECT_TRUE(ours.rgb == expected.rgb) << c.operation << " " << size.first << "x" << size.second;
        }
    }
}

TEST_F(RotateTest, QuarterTurnsMoveTheCorners) {
    // Also without a reference tool: Rotate 90 takes the top-left pixel to the top-right
    // corner, Rotate 270 to the bottom-left; the buffer transpose to the bottom-right.
    const std::pair<int, std::pair<int, int>> cases[] = {
        {TRANSFORM_ROTATE_90, {2, 0}}, {TRANSFORM_ROTATE_270, {0, 3}}, {0, {2, 3}}};
    for (const auto& c : cases) {
        MakePattern(CurrentImage.dib, 4, 3);
        const uint32_t topLeft = At(CurrentImage.dib, 0, 0);
        ASSERT_EQ(c.first ? RunTransformCommand(c.first) : Transpose(CurrentImage.dib), 0);
        EXPECT_EQ(CurrentImage.dib.width, 3);
        EXPECT_EQ(At(CurrentImage.dib, c.second.first, c.second.second), topLeft) << c.first;
        EXPECT_EQ(titleSizeText, "3x4");
    }
}

TEST_F(RotateTest, CommandsRecordUndo) {
    MakePattern(CurrentImage.dib, 5, 2);
    RgbImage before = DibToRgb(CurrentImage.dib);
    ASSERT_EQ(RunTransformCommand(TRANSFORM_ROTATE_90), 0);
    EXPECT_EQ(CurrentImage.undoTop, 0);
    EXPECT_EQ(titleSizeText, "2x5");
    Undo();
    EXPECT_TRUE(DibToRgb(CurrentImage.dib).rgb == before.rgb);
}

TEST_F(RotateTest, FlipsAtOtherDepths) {
    // FlipVertical moves whole rows at any depth; an odd middle row stays.
    CDib four;
    four.Create(3, 3, 4);
    four.Row(0)[0] = 0x12;
    four.Row(1)[0] = 0x34;
    four.Row(2)[0] = 0x56;
    ASSERT_EQ(FlipVertical(four), 0);
    EXPECT_EQ(four.bitsPerPixel, 4);
    EXPECT_EQ(four.Row(0)[0], 0x56);
    EXPECT_EQ(four.Row(1)[0], 0x34);
    EXPECT_EQ(four.Row(2)[0], 0x12);

    // FlipHorizontal mirrors 8- and 32-bit pixels whole, and a 4-bit picture in 24 bits.
    CDib eight;
    eight.Create(3, 1, 8);
    eight.Row(0)[0] = 1;
    eight.Row(0)[1] = 2;
    eight.Row(0)[2] = 3;
    ASSERT_EQ(FlipHorizontal(eight), 0);
    EXPECT_EQ(eight.bitsPerPixel, 8);
    EXPECT_EQ(eight.Row(0)[0], 3);
    EXPECT_EQ(eight.Row(0)[2], 1);

    CDib wide;
    wide.Create(2, 1, 32);
    for (int k = 0; k < 8; ++k) wide.Row(0)[k] = static_cast<uint8_t>(k);
    ASSERT_EQ(FlipHorizontal(wide), 0);
    EXPECT_EQ(std::vector<uint8_t>(wide.Row(0), wide.Row(0) + 8), (std::vector<uint8_t>{4, 5, 6, 7, 0, 1, 2, 3}));

    std::vector<uint8_t> palette(16 * 3, 0);
    palette[3 * 1 + 0] = 200;  // entry 1: red 200
    CDib nibbles;
    nibbles.CreateFromPalette(3, 1, palette.data(), 4);
    nibbles.Row(0)[0] = 0x10;  // pixel 0 entry 1, pixel 1 entry 0
    nibbles.Row(0)[1] = 0x00;
    ASSERT_EQ(FlipHorizontal(nibbles), 0);
    EXPECT_EQ(nibbles.bitsPerPixel, 24);
    EXPECT_EQ(At(nibbles, 2, 0), 0xC80000u);
    EXPECT_EQ(At(nibbles, 0, 0), 0u);
}

TEST_F(RotateTest, AnglesThatNeedNoInterpolation) {
    MakePattern(CurrentImage.dib, 4, 3);
    const uint8_t* block = CurrentImage.dib.info;
    // 0 and 360 change nothing and record no undo step; the quarter turns are answered
    // with the codes of their commands, the picture still untouched.
    const std::pair<double, int> cases[] = {{0, 0}, {360, 0}, {90, 9}, {180, 8}, {270, 7}};
    for (auto c : cases) {
        rotateAngle = c.first;
        EXPECT_EQ(RotateByAngle(), c.second) << c.first;
        EXPECT_EQ(CurrentImage.dib.info, block);
        EXPECT_EQ(CurrentImage.undoTop, -1);
    }
    // The dialog's OK runs the quarter turn itself.
    const uint32_t topLeft = At(CurrentImage.dib, 0, 0);
    rotateAngle = 90;
    EXPECT_EQ(RotateVariableAngleOk(), 0);
    EXPECT_EQ(CurrentImage.dib.width, 3);
    EXPECT_EQ(At(CurrentImage.dib, 2, 0), topLeft);
    EXPECT_EQ(CurrentImage.undoTop, 0);
}

TEST_F(RotateTest, ThirtyDegreesFollowsTheFormulas) {
    BackgroundColour = RgbColour{200, 200, 200};
    // Storage rows of a 4 x 3 picture; the canvas is trunc(4 cos 30 + 3 sin 30) = 4 by
    // trunc(4 sin 30 + 3 cos 30) = 4. With dx = x - 2, dy = y - 2:
    //   (2, 2): source (2, 1.5): fx = 0, fy = 50: (70 + 110) / 2 = 90
    //   (1, 2): source (2 - 0.866, 1): fx = 13, fy = 0: (60 x 87 + 70 x 13) / 100 = 61
    // and so on; pixels whose neighbours fall outside blend with the background.
    MakeGrey(CurrentImage.dib, {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}});
    rotateAngle = 30;
    ASSERT_EQ(RotateByAngle(), 0);
    EXPECT_EQ(GreyRows(CurrentImage.dib), (Rows{{63, 60, 49, 179}, {32, 31, 60, 126}, {32, 61, 90, 118}, {66, 90, 139, 187}}));
    EXPECT_EQ(CurrentImage.undoTop, 0);
    EXPECT_EQ(titleSizeText, "4x4");
}

TEST_F(RotateTest, MinusNinetyInterpolatesAboutTheCentre) {
    // Not a quarter-turn command: the canvas stays 2 x 2, the picture turns about (1, 1)
    // and the pixels whose source lies above the top row take the background.
    BackgroundColour = RgbColour{1, 2, 3};
    MakeGrey(CurrentImage.dib, {{10, 20}, {30, 40}});
    rotateAngle = -90;
    ASSERT_EQ(RotateByAngle(), 0);
    ASSERT_EQ(CurrentImage.dib.width, 2);
    ASSERT_EQ(CurrentImage.dib.height, 2);
    EXPECT_EQ(At(CurrentImage.dib, 0, 0), 0x010203u);  // storage (0, 1)
    EXPECT_EQ(At(CurrentImage.dib, 1, 0), 0x282828u);  // storage (1, 1) <- source (1, 1)
    EXPECT_EQ(At(CurrentImage.dib, 0, 1), 0x010203u);
    EXPECT_EQ(At(CurrentImage.dib, 1, 1), 0x1E1E1Eu);  // storage (1, 0) <- source (0, 1)
}

TEST_F(RotateTest, FortyFiveDegreeCanvasAndCorners) {
    BackgroundColour = RgbColour{0x11, 0x22, 0x33};
    MakeGrey(CurrentImage.dib, Rows(6, std::vector<int>(10, 128)));
    rotateAngle = 45;
    ASSERT_EQ(RotateByAngle(), 0);
    const int side = static_cast<int>((10 + 6) * 0.70710678);
    EXPECT_EQ(CurrentImage.dib.width, side);
    EXPECT_EQ(CurrentImage.dib.height, side);
    for (auto corner : {std::pair<int, int>{0, 0}, {side - 1, 0}, {0, side - 1}, {side - 1, side - 1}})
        EXPECT_EQ(At(CurrentImage.dib, corner.first, corner.second), 0x112233u);
    EXPECT_EQ(At(CurrentImage.dib, side / 2, side / 2), 0x808080u);
}

TEST_F(RotateTest, CanvasBeyond65535IsRefused) {
    int w = 0, h = 0;
    EXPECT_TRUE(RotatedCanvasSize(46339, 1, 45, &w, &h));
    EXPECT_EQ(w, 32767);  // trunc(46339 x 0.7071... + 0.7071...)
    EXPECT_EQ(h, 32767);
    EXPECT_FALSE(RotatedCanvasSize(65535, 65535, 45, &w, &h));
    EXPECT_FALSE(RotatedCanvasSize(65535, 400, 0.35, &w, &h));  // 65536 wide

    // The command says so with the allocation text and keeps the picture.
    CurrentImage.dib.Create(65535, 400, 24);
    rotateAngle = 0.35;
    EXPECT_EQ(RotateByAngle(), -1);
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0], "Can't allocate DIB memory.");
    EXPECT_EQ(NativeHost.captions[0], "Transform");
    EXPECT_EQ(CurrentImage.dib.width, 65535);
    EXPECT_EQ(CurrentImage.undoTop, -1);
}

TEST_F(RotateTest, PreviewTurnsWithinItsOwnSize) {
    BackgroundColour = RgbColour{0, 0, 255};
    CDib picture;
    MakeGrey(picture, Rows(177, std::vector<int>(220, 90)));
    CPreview preview;
    RotatePreview(preview, picture, 45, false);
    EXPECT_EQ(preview.image.width, 220);
    EXPECT_EQ(preview.image.height, 177);
    EXPECT_EQ(At(preview.image, 0, 0), 0x0000FFu);
    EXPECT_EQ(At(preview.image, 110, 88), 0x5A5A5Au);
}

}  // namespace

namespace {

// The dialog's scroll bar stays within -180..180 whatever is asked of it, and the typed
// angle is read as OK reads it: a leading number, clamped; text that is no number is
// refused rather than taken for 0.
TEST(RotateDialog, ScrollStepsAndTypedAngles) {
    EXPECT_EQ(RotateScrollPosition(0, ROTATE_SCROLL_LINE_UP, 0), -1);
    EXPECT_EQ(RotateScrollPosition(0, ROTATE_SCROLL_PAGE_DOWN, 0), 6);
    EXPECT_EQ(RotateScrollPosition(178, ROTATE_SCROLL_PAGE_DOWN, 0), 180);
    EXPECT_EQ(RotateScrollPosition(-179, ROTATE_SCROLL_PAGE_UP, 0), -180);
    EXPECT_EQ(RotateScrollPosition(5, ROTATE_SCROLL_THUMB_TRACK, -45), -45);
    EXPECT_EQ(RotateScrollPosition(5, ROTATE_SCROLL_THUMB_POSITION, 900), 180);
    EXPECT_EQ(RotateScrollPosition(5, ROTATE_SCROLL_TOP, 0), -180);
    EXPECT_EQ(RotateScrollPosition(5, ROTATE_SCROLL_BOTTOM, 0), 180);
    EXPECT_EQ(RotateScrollPosition(5, 8 /* end of scrolling */, 0), 5);
    EXPECT_DOUBLE_EQ(AngleFromScroll(-45, true), -4.5);
    EXPECT_DOUBLE_EQ(AngleFromScroll(-45, false), -45);

    struct Case {
        const char* text;
        bool ok;
        double degrees;
    } cases[] = {{"30", true, 30},     {"  -45.5", true, -45.5}, {"12.5 deg", true, 12.5}, {"720", true, 360},
                 {"-1e9", true, -360}, {"abc", false, 0},        {"", false, 0},           {"-", false, 0}};
    for (const Case& c : cases) {
        double degrees = 99;
        EXPECT_EQ(ParseRotateAngle(c.text, &degrees), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(degrees, c.degrees) << c.text;
        }
    }
}

}  // namespace
