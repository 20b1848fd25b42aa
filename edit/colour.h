// The colour edits of the current picture, each one call of RunEdit over its point
// operation in ops/colour.h: the direct ones (negative, greyscale, the channel swaps and
// rotation, also run by batch) and the dialogs' OK (offsets, brightness and contrast,
// automatic contrast, monochrome, HSL, gamma).
#pragma once

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
