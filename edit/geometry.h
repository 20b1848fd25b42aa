// The geometric edits of the current picture: the menu's flips and quarter turns, the
// turn by any angle, and the resize, each one call of RunEdit over its kernel in ops/.
#pragma once

#include "core/dib.h"
#include "ops/resize.h"

// The menu's transform commands; the rotations carry the codes RotateByAngle answers with.
enum TransformCommand {
    TRANSFORM_ROTATE_270 = 7,
    TRANSFORM_ROTATE_180 = 8,
    TRANSFORM_ROTATE_90 = 9,
    TRANSFORM_FLIP_HORIZONTAL = 20,
    TRANSFORM_FLIP_VERTICAL = 21,
};
// Runs one of them on the current picture: an undo step, the wait cursor, the transform,
// then layout, redraw and title. Returns 0, or -1 after the failure was shown ("Can't
// allocate DIB memory." or, for the mirror, the warning "No memory to flip picture",
// caption "Transform"), and for a number that names no transform.
int RunTransformCommand(int command);

// Transposes `image` with progress in the title, then restores the title, lays the window
// out for the new size and retitles. Returns 0, or -1 after showing "Can't allocate DIB
// memory." (caption "Transform").
int Transpose(CDib& image);

// The rotation dialog's settings, remembered for the run.
extern double rotateAngle;    // degrees, positive = clockwise; initially 0
extern int rotateFineSteps;   // "Fine": the scroll position counts tenths of a degree
extern int rotateGuideLines;  // "Guide line": guide lines over the preview

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

// The resize dialog's request and check boxes, remembered for the run (not in LUM.INI).
extern ResizeRequest resizeRequest;
extern int resizeInterpolate;  // "Interpolate Pixels?", initially on
extern int resizeKeepAspect;   // "Maintain Aspect Ratio?", initially on

// The "Resize" command once its dialog was confirmed: records an undo step (not for
// Windows thumbnail-cache files), resizes the current picture with resizeRequest and
// resizeInterpolate, shows progress in the title, then lays out, redraws and retitles.
// On failure (a side outside 1..65535, no memory) shows "Resize failed!" (caption
// "Viewer"), beeps, takes the undo step back and returns -1 with the picture unchanged.
int ResizeCurrentImage();
// The resize of an animation file: `picture` (the frame shown) and every frame of the
// table to nw x nh with resizeRequest, frame positions scaled, the screen size with them;
// `previous` receives the table as it was, for the undo step. All or nothing: a frame
// that cannot be resized, or frames that would pass the frames' memory limit (the frames
// kept for undo count too), give "Resize GIF failed in file " and -1 with the picture and
// the frames as they were.
class SavedFrameTable;
int ResizeAnimationFrames(CDib& picture, int nw, int nh, SavedFrameTable* previous);
