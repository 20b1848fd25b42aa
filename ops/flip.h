// Exact geometric transforms of a picture: mirrors, transposition and the quarter turns
// built from them.
//
// Coordinates are those of the buffer: x the column, y the storage row (row 0 is the
// bottom row of the picture).
#pragma once

#include "core/dib.h"
#include "ops/op_support.h"

// Mirrors every row in place (pixel x takes the old pixel width - 1 - x). Pictures of 8,
// 16, 24, 32 or 64 bits are mirrored pixel by pixel at their depth; 1- and 4-bit pictures
// are converted to 24 bits first. Returns 0, or -1 (the picture as it was) when that
// conversion cannot be held.
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
