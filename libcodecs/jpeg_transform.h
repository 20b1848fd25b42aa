// Lossless JPEG transforms through TurboJPEG's transform API: the compressed blocks are
// rearranged (turned, mirrored, transposed, cropped) without decoding, every marker copied.
// Works on whole files held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum LosslessOperation {
    LOSSLESS_NONE,  // rewritten as it is: "Optimise and Clean"
    LOSSLESS_ROTATE_90,
    LOSSLESS_ROTATE_180,
    LOSSLESS_ROTATE_270,
    LOSSLESS_FLIP_HORIZONTAL,
    LOSSLESS_FLIP_VERTICAL,
    LOSSLESS_TRANSPOSE,   // across the top-left to bottom-right axis
    LOSSLESS_TRANSVERSE,  // across the top-right to bottom-left axis
};

// The operation of a lossless menu command (156-160, 166-168); false for another number.
bool LosslessOperationOfCommand(int command, LosslessOperation* operation);
// The command "Automatically Fix Orientation" runs for an EXIF orientation: 0 for 0 and 1
// (nothing to do), 159, 157, 160, 166, 156, 167, 158 for 2..8, 168 for any other value.
int AutoFixCommand(int orientation);

// The operation on the stored picture that does `shown` to the picture as the user sees it
// after turning it upright by EXIF `orientation` (2..8): the stored picture is turned
// upright, transformed, and turned back, so the file keeps its orientation. Any other
// orientation shows the picture as stored: `shown` itself.
LosslessOperation StoredOperation(LosslessOperation shown, int orientation);

// A crop in picture pixels from the top-left.
struct LosslessRegion {
    int x = 0, y = 0, width = 0, height = 0;
};

// Transforms a JPEG file in memory. With `crop`, the region is moved to the block grid
// first (its left and top down to the nearest block edge, its width and height grown by as
// much) and cut out. `stopOnWarning`: a file that makes the library warn fails. Returns
// true with the new file in `out`, or false with the library's reason in `error`.
bool TransformJpeg(const uint8_t* data, size_t size, LosslessOperation operation, const LosslessRegion* crop,
                   bool stopOnWarning, std::vector<uint8_t>* out, std::string* error);

// Sets the EXIF orientation of a JPEG file in memory to 1 (normal), in the block's byte
// order. False when the file has no EXIF block or the block no orientation.
bool SetFileOrientationNormal(std::vector<uint8_t>& file);
