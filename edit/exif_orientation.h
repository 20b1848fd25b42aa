// A camera picture stored sideways or mirrored, turned upright as it loads by the
// orientation its EXIF block gives.
#pragma once

#include <cstdint>
#include <vector>

#include "core/dib.h"

// Applies the orientation of `exif` (an EXIF payload) to `picture`: 2 mirror, 3 half
// turn, 4 flip, 5 transposition, 6 quarter turn clockwise, 7 transverse reflection,
// 8 quarter turn anticlockwise. Returns the orientation applied (2..8), or 0 when the
// block gives none or 1, or the turned picture cannot be held (it then stays as stored).
int ApplyExifOrientation(CDib& picture, const std::vector<uint8_t>& exif);
// The same for orientation value `orientation` itself.
int ApplyOrientation(CDib& picture, int orientation);
