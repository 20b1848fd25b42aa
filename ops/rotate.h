// Rotation by any angle: bilinear sampling onto an enlarged canvas filled with the
// background colour, and the "Rotate Variable Angle" command and dialog arithmetic.
#pragma once

#include <string>

#include "core/dib.h"
#include "ops/op_support.h"
#include "base/settings.h"

class CPreview;

// The rotation dialog's settings, remembered for the run.
extern double rotateAngle;  // degrees, positive = clockwise; initially 0
extern int rotateFineSteps;  // "Fine": the scroll position counts tenths of a degree
extern int rotateGuideLines;  // "Guide line": guide lines over the preview

// Degrees to radians as the rotation computes it.
constexpr double kDegreesPerRadian = 57.29577951;

// Canvas of a W x H picture turned by `degrees`: W' = trunc(|W cos a| + |H sin a|),
// H' = trunc(|W sin a| + |H cos a|). False when a side lies outside 1..65535.
bool RotatedCanvasSize(int W, int H, double degrees, int* w, int* h);

// Fills `dest` (24 bits, already of the canvas size) with `src` (24 bits) turned by
// `degrees` about the centres of both. Destination (x, y) samples the source at
// sx = dx cos a - dy sin a + W/2, sy = dx sin a + dy cos a + H/2 (dx = x - W'/2,
// dy = y - H'/2), blending the four neighbours with weights in whole percent; neighbours
// outside the source take `background`. `progress` (may be null) gets "Rotating Image:"
// in tenths.
void RotateInto(const CDib& src, double degrees, const RgbColour& background, CDib& dest, OpProgress progress);

// Turns the current picture by rotateAngle onto a canvas of BackgroundColour. Returns 0
// when done or when the angle is 0 or 360; 9, 8 or 7 for exactly 90, 180 or 270 (the
// caller runs the matching quarter-turn command instead); -1 after showing "Can't
// allocate DIB memory." (caption "Transform") when the canvas is too large or cannot be
// held, the picture left as it was.
int RotateByAngle();

// The dialog's OK: RotateByAngle, or the quarter-turn command its code names; the click
// state goes back to normal and the window is laid out again. Returns RotateByAngle's 0 or
// -1 (a quarter turn's result for the codes).
int RotateVariableAngleOk();

// The dialog's scroll bar: the position a scroll request leads to (line +-1, page +-6,
// top and bottom to the ends, thumb to its position), kept within -180..180.
enum RotateScroll {
    ROTATE_SCROLL_LINE_UP = 0,
    ROTATE_SCROLL_LINE_DOWN = 1,
    ROTATE_SCROLL_PAGE_UP = 2,
    ROTATE_SCROLL_PAGE_DOWN = 3,
    ROTATE_SCROLL_THUMB_POSITION = 4,
    ROTATE_SCROLL_THUMB_TRACK = 5,
    ROTATE_SCROLL_TOP = 6,
    ROTATE_SCROLL_BOTTOM = 7,
};
int RotateScrollPosition(int position, int request, int thumb);
// The angle a scroll position stands for: tenths of a degree with "Fine", else degrees.
double AngleFromScroll(int position, bool fine);
// The angle typed into the dialog's edit, as OK takes it: clamped to -360..360.
double ClampRotateAngle(double degrees);
// The dialog's edit text read as OK reads it: the number it starts with (after blanks),
// clamped by ClampRotateAngle. False when it does not start with a number.
bool ParseRotateAngle(const std::string& text, double* degrees);

// Refreshes the dialog's preview from `picture` and turns it by `degrees` within the
// preview's own size, with guide lines when asked for. Throws kDibAllocFailure.
void RotatePreview(CPreview& preview, const CDib& picture, double degrees, bool guideLines);
