#include "view/keys.h"

#include <cstdint>

#include "base/ids.h"
#include "view/display.h"

const LetterKey kLetterKeys[26] = {
    {'A', IDM_SAVE_AS, IDM_BATCH, IDM_QUICK_JPEG, RULE_SHIFT_FIRST},
    {'B', IDM_BEST_FIT, IDM_NO_BORDER, IDM_BRIGHTNESS, RULE_CTRL_FIRST},
    {'C', IDM_COLOURS_RGB, IDM_LOSSLESS_CROP, IDM_COPY, RULE_SHIFT_FIRST},
    {'D', IDM_DOUBLE, IDM_DECOMPOSE, IDM_COLOUR_DEPTH, RULE_CTRL_FIRST},
    {'E', IDM_EMBOSS_COLOUR, IDM_EMAIL, IDM_EMBOSS_MEDIUM, RULE_SHIFT_FIRST},
    {'F', IDM_QUADRUPLE, IDM_ADD_TEXT, IDM_OTHER_FILTERS, RULE_CTRL_FIRST},
    {'G', IDM_GREYSCALE, IDM_BUILD_ANIMATION, IDM_GAMMA, RULE_SHIFT_FIRST},
    {'H', IDM_HALF, IDM_HISTOGRAM, IDM_CTRL_H_UNASSIGNED, RULE_CTRL_FIRST},
    {'I', IDM_NEGATIVE, IDM_INSERT_IMAGE, IDM_BUILD_ICON, RULE_CTRL_FIRST},
    {'J', IDM_BLUR, IDM_BLUR, IDM_BLUR, RULE_NONE},
    {'K', IDM_SHARPEN, IDM_SHARPEN, IDM_SHARPEN, RULE_NONE},
    {'L', IDM_LOAD_NEXT, IDM_LOAD_PREVIOUS, IDM_LOAD_FIFTH, RULE_SHIFT_FIRST},
    {'M', IDM_MONOCHROME, IDM_MONOCHROME, IDM_MAPPING, RULE_NONE},
    {'N', IDM_NORMAL, IDM_NORMAL, IDM_SPHERICAL, RULE_NONE},
    {'O', IDM_OPEN, IDM_OPEN, IDM_BORDERS, RULE_NONE},
    {'P', IDM_PRINT, IDM_PARALLELOGRAM, IDM_PRINT_SETUP, RULE_CTRL_FIRST},
    {'Q', IDM_QUARTER, IDM_QUARTER, IDM_QUARTER, RULE_NONE},
    {'R', IDM_REOPEN, IDM_ROTATE_ANGLE, IDM_PIXEL_COLOUR, RULE_SHIFT_FIRST},
    {'S', IDM_RESIZE, IDM_SAVE, IDM_FULL_SCREEN, RULE_CTRL_FIRST},
    {'T', IDM_FLIP_HORIZONTAL, IDM_THUMBNAIL_SETUP, IDM_BUILD_THUMBNAILS, RULE_SHIFT_FIRST},
    {'U', IDM_USER_FILTER, IDM_USER_FILTER, IDM_USER_FILTER, RULE_NONE},
    {'V', IDM_FLIP_VERTICAL, IDM_FLIP_VERTICAL, IDM_PASTE, RULE_NONE},
    {'W', IDM_SLIDE_SHOW, IDM_SLIDE_SHOW, IDM_WALLPAPER, RULE_NONE},
    {'X', IDM_VIEW_SETUP, IDM_FIXED_SIZE, IDM_FIXED_WINDOW, RULE_CTRL_FIRST},
    {'Y', IDM_GIF_SETUP, IDM_TRAPEZOID, IDM_IMAGE_REDO, RULE_CTRL_FIRST},
    {'Z', IDM_ZOOM, IDM_WHEEL_ZOOM, IDM_IMAGE_UNDO, RULE_CTRL_FIRST},
};

int LetterKeyCommand(int virtualKey, bool shift, bool ctrl) {
    if (virtualKey < 'A' || virtualKey > 'Z') return 0;
    const LetterKey& k = kLetterKeys[virtualKey - 'A'];
    if (shift && ctrl) {
        // "Load Back 5" has a key of its own: Ctrl+Shift+L.
        if (k.letter == 'L') return IDM_LOAD_BACK_FIVE;
        // Rows whose Shift command is the plain one have only Ctrl to tell apart.
        if (k.rule == RULE_SHIFT_FIRST) return k.shift;
        return k.ctrl;
    }
    if (ctrl) return k.ctrl;
    if (shift) return k.shift;
    return k.plain;
}

int FixedKeyCommand(int character) {
    switch (character) {
        case '1': return IDM_RESIZE;
        case '2': return IDM_CAPTURE;
        case '5': return IDM_MOSAIC;
        case '6': return IDM_COLOURS_HSV;
        case '7': return IDM_ROTATE_270;
        case '8': return IDM_ROTATE_180;
        case '9': return IDM_ROTATE_90;
        case ',': return IDM_SHOW_CURSOR;
        case '=':
        case '.': return IDM_START_DEVE;
        default: return 0;
    }
}

double AnimSpeedAfterKey(double speed, int character) {
    if (character == '3') return speed * 1.2 < 1.0 ? 1.0 : speed * 1.2;
    if (character == '4') return speed * 0.8333;
    return speed;
}

bool PictureTallerThanWorkArea(char displayMode, int pictureHeight, int workAreaHeight, int borderHeight) {
    // Compared in quarters of a pixel so that Half and Quarter stay exact.
    int64_t quarters;
    switch (displayMode) {
        case MODE_NORMAL: quarters = 4; break;
        case MODE_DOUBLE: quarters = 8; break;
        case MODE_QUADRUPLE: quarters = 16; break;
        case MODE_HALF: quarters = 2; break;
        case MODE_QUARTER: quarters = 1; break;
        default: return false;
    }
    return 4 * (static_cast<int64_t>(workAreaHeight) - borderHeight) < quarters * pictureHeight;
}
