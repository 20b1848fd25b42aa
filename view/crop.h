// The crop selection's arithmetic, apart from the mouse and the dialogs: how a selection
// in window pixels maps to picture pixels in each display mode, the fixed aspect ratio's
// rule, the lossless crop's grid, and the ratio "Crop Aspect Ratio" proposes.
#pragma once

// What the mapping needs to know about the screen.
struct SelectionMapping {
    char mode = 'N';             // the display mode (view/display.h)
    int scrollX = 0, scrollY = 0;
    double scaleX = 1, scaleY = 1;  // picture pixels per screen pixel in the fitted modes
    int originX = 0, originY = 0;   // the drawn picture's offset in BestFitNoBorder, FixedWindow
    int leftMargin = 0;             // taken off window x first
};
// Picture x (from the left) of window x, and picture y (from the top) of window y:
//   Normal        sx + x                  Quadruple  sx / 4 + x / 4
//   Double        sx / 2 + x / 2          Half       2 (sx + x)        Quarter  4 (sx + x)
//   BestFitNoBorder, FixedWindow  trunc((x - Ox) fx)
//   BestFit, FullScreenStretch    trunc(sx fx) + trunc(x fx)
// The zoom modes, where no selection is made, map as Normal.
int SelectionImageX(const SelectionMapping& m, int x);
int SelectionImageY(const SelectionMapping& m, int y);
// A selection's width (`horizontal`) or height in picture pixels: the same, / 4, / 2,
// x 2, x 4, or trunc(length x f).
int SelectionImageLength(const SelectionMapping& m, int length, bool horizontal);

// The fixed ratio A:B on a selection of signed size dw x dh from its fixed corner:
// qw = dw / A, qh = dh / B; the smaller quotient sets both sides, the sign of each side
// kept. Nothing changes unless both parts are above 0.
void ApplyCropAspect(int a, int b, int* dw, int* dh);

// The lossless crop's grid in window pixels for a display mode (8 picture pixels): 8 in
// Normal and the fitted modes, 32 in Quadruple, 16 in Double, 4 in Half, 2 in Quarter;
// a coordinate v snaps to v + 4 rounded down to a multiple of it.
int LosslessGrid(char mode);
int SnapToGrid(int v, int grid);

// "Initialise to whole visible area": the picture's own ratio in its smallest terms.
void PictureRatio(int width, int height, int* a, int* b);
