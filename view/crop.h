// The crop selection's arithmetic, apart from the mouse and the dialogs: how a selection
// in window pixels maps to picture pixels in each display mode, the fixed aspect ratio's
// rule, the lossless crop's grid, and the ratio "Crop Aspect Ratio" proposes.
#pragma once

#include <string>

#include "ops/crop.h"

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

// --- the interactive selection ---

// A rectangle in window pixels, left/top inclusive, right/bottom exclusive once
// normalised; while dragging, (left, top) is the fixed corner and (right, bottom) the
// moving one.
struct SelectionRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
SelectionRect NormalisedSelection(const SelectionRect& r);

// The selection's mapping for the screen as painted: `scaleX`/`scaleY` are the painted
// picture pixels per screen pixel of the fitted modes, `drawn` the picture's place in
// BestFitNoBorder and FixedWindow.
struct PointMapping;
SelectionMapping SelectionMappingFor(const PointMapping& p, double scaleX, double scaleY);

// The window pixels [*from, *to) that show picture columns (`horizontal`) or rows
// [first, end) under the mapping: the inverse of SelectionImageX/Y.
void SelectionClientSpan(const SelectionMapping& m, int first, int end, bool horizontal, int* from, int* to);

// How many picture pixels thick the crosshair of a press is drawn: 1 in Normal, Double
// and Quadruple, 4 in Quarter, 2 in the others.
int CrosshairThickness(char mode);

// Why the selection is made: a plain crop, a lossless JPEG crop (the corners keep to the
// block grid) or an icon's area (square).
enum CropPurpose { CROP_PLAIN, CROP_LOSSLESS, CROP_ICON };

// The moving corner of a selection dragged from `anchor` to the pointer at (x, y): x kept
// left of `rightEdge` (the displayed picture's right edge); an icon's area is square, a
// lossless one keeps to the grid, and otherwise a fixed ratio a:b (both above 0) holds.
void DragCorner(const SelectionMapping& m, CropPurpose purpose, int a, int b, int anchorX, int anchorY,
                int rightEdge, int* x, int* y);

// "Size: (%d * %d) AR: %.3f": the selection's size in picture pixels and its width over
// its height.
std::string SelectionSizeTitle(const SelectionMapping& m, const SelectionRect& r);

// The nine zones of a selection being moved or resized, by quarters of its width and
// height: the corners and edges resize, the middle moves it.
enum CropZone {
    ZONE_TOP_LEFT, ZONE_LEFT, ZONE_BOTTOM_LEFT,
    ZONE_TOP, ZONE_MOVE, ZONE_BOTTOM,
    ZONE_TOP_RIGHT, ZONE_RIGHT, ZONE_BOTTOM_RIGHT,
};
CropZone ZoneAt(const SelectionRect& r, int x, int y);
// With a fixed ratio the edges cannot be dragged on their own.
bool ZoneMoves(CropZone zone, bool ratioFixed);
// The normalised selection after the pointer went from (fromX, fromY) to (x, y) in
// `zone`: a corner follows the pointer (under a fixed ratio, measured from the opposite
// corner), an edge follows it across, the middle moves the whole rectangle.
SelectionRect DragZone(const SelectionRect& r, CropZone zone, int fromX, int fromY, int x, int y, int a, int b);

// What "Crop now" cuts: the normalised selection `r` inside the client area (and, in
// BestFitNoBorder and FixedWindow, inside the drawn picture), an icon's area square,
// mapped to picture pixels, a fixed ratio a:b applied unless lossless, and clipped to the
// picture. An empty result has width or height 0.
CropRect SelectionToPicture(const SelectionMapping& m, const PointMapping& p, const SelectionRect& r,
                            CropPurpose purpose, int a, int b);

// A rectangle of a picture shown turned upright by EXIF orientation `orientation` (2..8;
// any other value: not turned), `shownWidth` x `shownHeight` as shown, in the picture's
// stored coordinates, where a lossless crop cuts the file.
CropRect StoredRect(const CropRect& shown, int shownWidth, int shownHeight, int orientation);
