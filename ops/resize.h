// Resize: scales a picture to a new width and height by nearest-neighbour sampling or by
// bilinear interpolation with weights in whole percent. Used by the "Resize" command and
// by batch runs, thumbnails, collages, icons, animation frames, printing and red eye.
#pragma once

#include <cstdint>

#include "core/dib.h"
#include "ops/op_support.h"

// What to resize to: the two factors, or an explicit size when useSize is non-zero.
struct ResizeRequest {
    double yScale = 1.0;  // new height / old height
    double xScale = 1.0;  // new width / old width
    int32_t width = 1;
    int32_t height = 1;
    int32_t useSize = 0;
};

// Progress label of the resize.
extern const char* const kResizeProgressLabel;  // "Resizing Image:"

// The size a request asks for: 1 with the size in *w, *h; 0 when there is nothing to do
// (a factor not above 0, both factors 1.0, or an explicit width or height of 0); -1 when
// a side would lie outside 1..65535.
int ResizeTargetSize(int pictureWidth, int pictureHeight, const ResizeRequest& request, int* w, int* h);

// Replaces `image` by its resized copy (24 bits; a picture of another depth is converted
// first). Returns 0 when done or when there is nothing to do; -1, leaving the picture as
// it was, when the new size is outside 1..65535 or the work rows cannot be allocated.
// The new picture itself failing to be allocated throws kDibAllocFailure, the picture
// again left as it was. `progress` (may be null) gets "Resizing Image:" about once a second.
//
// Destination row i (storage order) comes from source row r = trunc(i / yScale). With
// interpolation and 1 < r < H - 1 each pixel blends the four neighbours (c, r), (c+1, r),
// (c, r+1), (c+1, r+1) with c = trunc(3j x sx / 300), fx = trunc(j x sx) mod 100,
// fy = trunc(i x sy) mod 100, sx = 100 / xScale, sy = 100 / yScale; c is clamped to the
// last column (an explicit size may disagree with the factors), and c + 1 beyond it means
// c. Every other row is sampled: source row i x H / nh, column j x W / nw.
int ResizeImage(CDib& image, const ResizeRequest& request, bool interpolate, OpProgress progress);
