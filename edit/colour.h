// The colour edits of the current picture, each one call of RunEdit over its point
// operation in ops/colour.h: the direct ones (negative, greyscale, the channel swaps and
// rotation, also run by batch) and the dialogs' OK (offsets, brightness and contrast,
// automatic contrast, monochrome, HSL, gamma).
#pragma once

#include "core/dib.h"

// The direct colour operations, by the codes the menu and batch runs name them with.
enum ColourCommand {
    COLOUR_NEGATIVE = 42,
    COLOUR_GREYSCALE = 43,
    COLOUR_SWAP_RED_BLUE = 45,
    COLOUR_SWAP_RED_GREEN = 46,
    COLOUR_SWAP_GREEN_BLUE = 47,
    COLOUR_ROTATE = 48,
};
// Runs one on the current picture as one edit. Returns 0, or -1 after the failure was
// shown and for a code that names none.
int RunColourCommand(int command);

// The dialogs' OK, each one edit; a choice that changes nothing takes no undo step (the
// picture would count as changed). Returns 0, or -1 after the failure was shown.
int AdjustColoursOk(int dr, int dg, int db);           // "Adjust Colours": AdjustRgb
int BrightnessContrastOk(int brightness, int contrast);  // AdjustRgb(d, d, d), then contrast
int BrightnessAutoContrastOk(int brightness);            // AdjustRgb(d, d, d), then AutoContrast
int MonochromeOk(int level);
int HslOk(int hue, int saturation, int value);
// The gamma curve of `function` and `powerPercent` (the user curve: `controls`) on the
// channels of `mask` (1 blue, 2 green, 4 red).
int GammaOk(char function, int powerPercent, const int* controls, unsigned mask);

// The same operations on a preview copy, as the dialogs show them while they are open.
void PreviewBrightnessContrast(CDib& preview, int brightness, int contrast);
