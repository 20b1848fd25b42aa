// Cutting a rectangle out of a picture.
#pragma once

#include "core/dib.h"
#include "ops/op_support.h"

// A rectangle in picture pixels: left and top from the picture's top-left corner.
struct CropRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The rectangle from two corners in picture pixels, normalised and clamped as a batch
// crop takes it: left to 0..W-1, right to 0..W, top to 0..H-1, bottom to 0..H.
CropRect ClampCropRect(int left, int top, int right, int bottom, int pictureWidth, int pictureHeight);

// Replaces `image` (converted to 24 bits) by the rectangle `r`, which must lie inside it
// with a width and height of at least 1: -1 otherwise, the picture as it was. `progress`
// (may be null) gets "Cropping Image:" in tenths. Throws kDibAllocFailure when the new
// picture cannot be held, the picture left as it was.
int CropImage(CDib& image, const CropRect& r, OpProgress progress);
