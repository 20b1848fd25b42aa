// The key table: each letter with no modifier, Shift, Ctrl, and both.
#include <gtest/gtest.h>

#include "view/display.h"
#include "view/keys.h"

namespace {

TEST(LetterKeys, EveryLetterReachesItsCommands) {
    // letter, plain, Shift, Ctrl, Ctrl+Shift
    const int table[26][5] = {
        {'A', 5, 5508, 4000, 5508},  {'B', 10, 151, 1050, 1050},   {'C', 41, 169, 90, 169},
        {'D', 15, 5505, 516, 516},   {'E', 76, 196, 70, 196},      {'F', 17, 40004, 5513, 5513},
        {'G', 43, 5504, 1300, 5504}, {'H', 14, 176, 5515, 5515},   {'I', 42, 40005, 140, 140},
        {'J', 62, 62, 62, 62},       {'K', 66, 66, 66, 66},        {'L', 22, 23, 24, 25},
        {'M', 44, 44, 5514, 5514},   {'N', 16, 16, 5518, 5518},    {'O', 2, 2, 40003, 40003},
        {'P', 7, 5517, 300, 300},    {'Q', 18, 18, 18, 18},        {'R', 3, 170, 137, 170},
        {'S', 120, 4, 13, 13},       {'T', 19, 135, 134, 135},     {'U', 83, 83, 83, 83},
        {'V', 20, 20, 91, 91},       {'W', 21, 21, 9, 9},          {'X', 26, 5502, 5503, 5503},
        {'Y', 27, 5506, 51, 51},     {'Z', 11, 177, 50, 50},
    };
    for (const auto& row : table) {
        EXPECT_EQ(LetterKeyCommand(row[0], false, false), row[1]) << char(row[0]);
        EXPECT_EQ(LetterKeyCommand(row[0], true, false), row[2]) << char(row[0]);
        EXPECT_EQ(LetterKeyCommand(row[0], false, true), row[3]) << char(row[0]);
        EXPECT_EQ(LetterKeyCommand(row[0], true, true), row[4]) << char(row[0]);
    }
    EXPECT_EQ(LetterKeyCommand('@', false, false), 0);
    EXPECT_EQ(LetterKeyCommand('[', true, true), 0);
}

TEST(FixedKeys, DigitsAndPunctuation) {
    EXPECT_EQ(FixedKeyCommand('1'), 120);
    EXPECT_EQ(FixedKeyCommand('9'), 28);
    EXPECT_EQ(FixedKeyCommand('.'), 52);
    EXPECT_EQ(FixedKeyCommand(','), 150);
    EXPECT_EQ(FixedKeyCommand('3'), 0);  // animation speed: not a command
    EXPECT_EQ(FixedKeyCommand('0'), 0);
    // '3' slows the animation down (never below 1 %), '4' speeds it up without a floor.
    EXPECT_DOUBLE_EQ(AnimSpeedAfterKey(100.0, '3'), 120.0);
    EXPECT_DOUBLE_EQ(AnimSpeedAfterKey(0.5, '3'), 1.0);
    EXPECT_DOUBLE_EQ(AnimSpeedAfterKey(100.0, '4'), 83.33);
    EXPECT_DOUBLE_EQ(AnimSpeedAfterKey(0.5, '4'), 0.5 * 0.8333);
    EXPECT_DOUBLE_EQ(AnimSpeedAfterKey(100.0, '5'), 100.0);
}

// Work area 768 with a border of 68 leaves 700 rows: the fixed-scale modes scroll once the
// scaled picture passes it, the fitted modes always change the file.
TEST(ScrollOrChangeFile, TallerThanWorkAreaByMode) {
    EXPECT_FALSE(PictureTallerThanWorkArea(MODE_NORMAL, 700, 768, 68));
    EXPECT_TRUE(PictureTallerThanWorkArea(MODE_NORMAL, 701, 768, 68));
    EXPECT_FALSE(PictureTallerThanWorkArea(MODE_DOUBLE, 350, 768, 68));
    EXPECT_TRUE(PictureTallerThanWorkArea(MODE_DOUBLE, 351, 768, 68));
    EXPECT_TRUE(PictureTallerThanWorkArea(MODE_QUADRUPLE, 176, 768, 68));
    EXPECT_FALSE(PictureTallerThanWorkArea(MODE_HALF, 1400, 768, 68));
    EXPECT_TRUE(PictureTallerThanWorkArea(MODE_HALF, 1401, 768, 68));
    EXPECT_FALSE(PictureTallerThanWorkArea(MODE_QUARTER, 2800, 768, 68));
    EXPECT_TRUE(PictureTallerThanWorkArea(MODE_QUARTER, 2801, 768, 68));
    for (char fitted : {MODE_BEST_FIT, MODE_BEST_FIT_NO_BORDER, MODE_ZOOM, MODE_WHEEL_ZOOM, MODE_FIXED_WINDOW})
        EXPECT_FALSE(PictureTallerThanWorkArea(fitted, 65535, 768, 68)) << fitted;
}

}  // namespace
