// The key table: each letter with no modifier, Shift, Ctrl, and both.
#include <gtest/gtest.h>

#include "base/ids.h"
#include "view/display.h"
#include "view/keys.h"

namespace {

TEST(LetterKeys, EveryLetterReachesItsCommands) {
    // letter, plain, Shift, Ctrl, Ctrl+Shift
    const int table[26][5] = {
        {'A', IDM_SAVE_AS, IDM_BATCH, IDM_QUICK_JPEG, IDM_BATCH},
        {'B', IDM_BEST_FIT, IDM_NO_BORDER, IDM_BRIGHTNESS, IDM_BRIGHTNESS},
        {'C', IDM_COLOURS_RGB, IDM_LOSSLESS_CROP, IDM_COPY, IDM_LOSSLESS_CROP},
        {'D', IDM_DOUBLE, IDM_DECOMPOSE, IDM_COLOUR_DEPTH, IDM_COLOUR_DEPTH},
        {'E', IDM_EMBOSS_COLOUR, IDM_EMAIL, IDM_EMBOSS_MEDIUM, IDM_EMAIL},
        {'F', IDM_QUADRUPLE, IDM_ADD_TEXT, IDM_OTHER_FILTERS, IDM_OTHER_FILTERS},
        {'G', IDM_GREYSCALE, IDM_BUILD_ANIMATION, IDM_GAMMA, IDM_BUILD_ANIMATION},
        {'H', IDM_HALF, IDM_HISTOGRAM, IDM_CTRL_H_UNASSIGNED, IDM_CTRL_H_UNASSIGNED},
        {'I', IDM_NEGATIVE, IDM_INSERT_IMAGE, IDM_BUILD_ICON, IDM_BUILD_ICON},
        {'J', IDM_BLUR, IDM_BLUR, IDM_BLUR, IDM_BLUR},
        {'K', IDM_SHARPEN, IDM_SHARPEN, IDM_SHARPEN, IDM_SHARPEN},
        {'L', IDM_LOAD_NEXT, IDM_LOAD_PREVIOUS, IDM_LOAD_FIFTH, IDM_LOAD_BACK_FIVE},
        {'M', IDM_MONOCHROME, IDM_MONOCHROME, IDM_MAPPING, IDM_MAPPING},
        {'N', IDM_NORMAL, IDM_NORMAL, IDM_SPHERICAL, IDM_SPHERICAL},
        {'O', IDM_OPEN, IDM_OPEN, IDM_BORDERS, IDM_BORDERS},
        {'P', IDM_PRINT, IDM_PARALLELOGRAM, IDM_PRINT_SETUP, IDM_PRINT_SETUP},
        {'Q', IDM_QUARTER, IDM_QUARTER, IDM_QUARTER, IDM_QUARTER},
        {'R', IDM_REOPEN, IDM_ROTATE_ANGLE, IDM_PIXEL_COLOUR, IDM_ROTATE_ANGLE},
        {'S', IDM_RESIZE, IDM_SAVE, IDM_FULL_SCREEN, IDM_FULL_SCREEN},
        {'T', IDM_FLIP_HORIZONTAL, IDM_THUMBNAIL_SETUP, IDM_BUILD_THUMBNAILS, IDM_THUMBNAIL_SETUP},
        {'U', IDM_USER_FILTER, IDM_USER_FILTER, IDM_USER_FILTER, IDM_USER_FILTER},
        {'V', IDM_FLIP_VERTICAL, IDM_FLIP_VERTICAL, IDM_PASTE, IDM_PASTE},
        {'W', IDM_SLIDE_SHOW, IDM_SLIDE_SHOW, IDM_WALLPAPER, IDM_WALLPAPER},
        {'X', IDM_VIEW_SETUP, IDM_FIXED_SIZE, IDM_FIXED_WINDOW, IDM_FIXED_WINDOW},
        {'Y', IDM_GIF_SETUP, IDM_TRAPEZOID, IDM_IMAGE_REDO, IDM_IMAGE_REDO},
        {'Z', IDM_ZOOM, IDM_WHEEL_ZOOM, IDM_IMAGE_UNDO, IDM_IMAGE_UNDO},
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
    EXPECT_EQ(FixedKeyCommand('1'), IDM_RESIZE);
    EXPECT_EQ(FixedKeyCommand('9'), IDM_ROTATE_90);
    EXPECT_EQ(FixedKeyCommand('.'), IDM_START_DEVE);
    EXPECT_EQ(FixedKeyCommand(','), IDM_SHOW_CURSOR);
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
