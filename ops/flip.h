// Exact geometric transforms of a picture: mirrors, transposition and the quarter turns
// built from them, and the menu commands that run them on the current picture.
//
// Coordinates are those of the buffer: x the column, y the storage row (row 0 is the
// bottom row of the picture).
#pragma once

#include "core/dib.h"
#include "ops/op_support.h"

// Mirrors every row in place (pixel x takes the old pixel width - 1 - x). Pictures of 8,
// 16, 24, 32 or 64 bits are mirrored pixel by pixel at their depth; 1- and 4-bit pictures
// are converted to 24 bits first. Returns 0, or -1 after the warning "No memory to flip
// picture" (caption "Transform") when that conversion cannot be held.
int FlipHorizontal(CDib& image);
// Exchanges storage rows i and height - 1 - i; works for every depth. Returns 0.
int FlipVertical(CDib& image);

// The transposition and the quarter turns as single passes over a 24-bit copy. Each
// replaces `image` (converted to 24 bits) and throws kDibAllocFailure, leaving the picture
// as it was, when the new picture cannot be held.
//   TransposeDib:  new (x = j, y = i) = old (x = i, y = j); on the screen the picture is
//                  mirrored about its bottom-left to top-right diagonal
//   Rotate90Dib:   TransposeDib, then FlipVertical   (90 degrees clockwise)
//   Rotate270Dib:  TransposeDib, then FlipHorizontal (90 degrees anticlockwise)
// `progress` (may be null) gets "Rotating Image:" in tenths.
void TransposeDib(CDib& image, OpProgress progress);
void Rotate90Dib(CDib& image, OpProgress progress);
void Rotate270Dib(CDib& image, OpProgress progress);
// FlipHorizontal, then FlipVertical, in one pass (180 degrees); 24-bit result.
void Rotate180Dib(CDib& image);

// Transposes the picture with progress in the title, then restores the title, lays the
// window out for the new size and retitles. Returns 0, or -1 after showing "Can't
// allocate DIB memory." (caption "Transform").
int Transpose(CDib& image);

// The menu's transform commands; the rotations carry the codes RotateByAngle answers with.
enum TransformCommand {
    TRANSFORM_ROTATE_270 = 7,
    TRANSFORM_ROTATE_180 = 8,
    TRANSFORM_ROTATE_90 = 9,
    TRANSFORM_FLIP_HORIZONTAL = 20,
    TRANSFORM_FLIP_VERTICAL = 21,
};
// Runs one of them on the current picture: an undo step, the wait cursor, the transform,
// then layout, redraw and title. Returns 0, or -1 after the transform reported its failure
// (and for a number that names no transform).
int RunTransformCommand(int command);
