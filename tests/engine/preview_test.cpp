// The dialogs' preview: its box and size, nearest-neighbour sampling, guide lines and
// placement; and the colour-picking title.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ops/preview.h"
#include "ops_test_support.h"
#include "base/settings.h"
#include "test_support.h"

namespace {

using opstest::At;
using opstest::GreyRows;
using opstest::MakeGrey;
using opstest::Rows;

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override { ResetEngineState(); }
};

TEST_F(PreviewTest, BoxAndCopySizes) {
    struct BoxCase {
        int scaling, width, height;
    } boxes[] = {{100, 220, 177}, {150, 330, 265}, {4, 8, 7}, {0, 1, 1}, {65535, 65535, 65535}};
    for (auto c : boxes) {
        PreviewSize box = PreviewBoxSize(c.scaling);
        EXPECT_EQ(box.width, c.width) << c.scaling;
        EXPECT_EQ(box.height, c.height) << c.scaling;
    }
    struct SizeCase {
        int w, h, pw, ph;
    } sizes[] = {
        {440, 354, 220, 177},  // exactly half
        {1000, 100, 220, 22},  // the width decides
        {10, 10, 177, 177},    // small pictures are enlarged; the height decides
        {65535, 1, 220, 1},    // never thinner than one pixel
        {3, 1000, 1, 177},
    };
    for (auto c : sizes) {
        PreviewSize size = PreviewImageSize(c.w, c.h, PreviewSize{220, 177});
        EXPECT_EQ(size.width, c.pw) << c.w << "x" << c.h;
        EXPECT_EQ(size.height, c.ph) << c.w << "x" << c.h;
    }
}

TEST_F(PreviewTest, SamplesByIntegerDivision) {
    WindowsScaling = 4;  // an 8 x 7 box keeps the picture small
    CDib picture;
    Rows rows(9, std::vector<int>(20));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 20; ++x) rows[y][x] = x * 10 + y;
    MakeGrey(picture, rows);
    CPreview preview;
    ASSERT_EQ(preview.Build(picture), 0);
    // k = min(8 / 20, 7 / 9) = 0.4: 8 x 3. Columns x x 20 / 8, storage rows y x 9 / 3.
    EXPECT_EQ(GreyRows(preview.image), (Rows{{0, 20, 50, 70, 100, 120, 150, 170},
                                             {3, 23, 53, 73, 103, 123, 153, 173},
                                             {6, 26, 56, 76, 106, 126, 156, 176}}));
    CDib empty;
    EXPECT_EQ(preview.Build(empty), -1);
}

TEST_F(PreviewTest, GuideLinesInvertAtTheQuarters) {
    WindowsScaling = 4;
    CDib picture;
    MakeGrey(picture, Rows(14, std::vector<int>(16, 10)));
    CPreview preview;
    ASSERT_EQ(preview.Build(picture), 0);
    ASSERT_EQ(preview.image.width, 8);
    ASSERT_EQ(preview.image.height, 7);
    preview.DrawGuideLines();
    // Storage rows 1, 3, 5 and columns 2, 4, 6; a crossing is inverted twice.
    Rows expected(7, std::vector<int>(8, 10));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool onRow = y == 1 || y == 3 || y == 5;
            const bool onColumn = x == 2 || x == 4 || x == 6;
            if (onRow != onColumn) expected[y][x] = 245;
        }
    EXPECT_EQ(GreyRows(preview.image), expected);
}

TEST_F(PreviewTest, DrawnCentredInTheScaledBox) {
    CDib picture;
    MakeGrey(picture, Rows(100, std::vector<int>(1000, 1)));
    CPreview preview;
    ASSERT_EQ(preview.Build(picture), 0);
    int x = 0, y = 0;
    preview.DrawOrigin(10, 20, &x, &y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20 + (177 - 22) / 2);

    WindowsScaling = 150;  // box 330 x 265, copy 330 x 33
    ASSERT_EQ(preview.Build(picture), 0);
    preview.DrawOrigin(10, 20, &x, &y);
    EXPECT_EQ(x, 15);
    EXPECT_EQ(y, 30 + (265 - 33) / 2);
}

TEST_F(PreviewTest, ColourPickingTitle) {
    CDib picture;
    MakeGrey(picture, Rows(3, std::vector<int>(4, 0)));
    uint8_t* p = picture.Row(1) + 3 * 3;  // x 3, y 1 from the top
    p[0] = 0x1E;
    p[1] = 0x14;
    p[2] = 0x0A;
    EXPECT_EQ(ColourPickTitle(picture, 3, 1), "Colour <0A,14,1E> at 3, 1");
    EXPECT_EQ(ColourPickTitle(picture, 0, 0), "Colour <00,00,00> at 0, 0");
    for (auto outside : {std::pair<int, int>{4, 0}, {0, 3}, {-1, 0}, {0, -1}})
        EXPECT_EQ(ColourPickTitle(picture, outside.first, outside.second), "") << outside.first << "," << outside.second;
    RgbColour c{};
    ASSERT_TRUE(PictureColourAt(picture, 3, 1, &c));
    EXPECT_EQ(c.red, 0x0A);
    EXPECT_EQ(c.blue, 0x1E);
}

}  // namespace
