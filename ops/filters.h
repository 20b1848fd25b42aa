// Neighbourhood filters: convolution with 3x3, 5x5 and 7x7 kernels and the median
// ("despeckle") filter, plain or weighted, over 24-bit pictures whose borders wrap
// around (a neighbour beyond the right edge comes from the left edge, beyond the top from
// the bottom). The kernels take everything they apply as arguments; the table of the 40
// named filters and the entry last chosen are the filter edits' (edit/filters.h).
#pragma once

#include <cstdint>

#include "core/dib.h"
#include "ops/op_support.h"

constexpr int kMaxKernelSide = 7;
constexpr int kMaxKernelValues = kMaxKernelSide * kMaxKernelSide;

// One entry of the filter table. Linear entries: `side` x `side` kernel values, row 0
// first; a 3x3 divisor of 0 stands for the sum of the kernel. Median entries: the weights
// used when weighting is on.
struct FilterTableEntry {
    const char* name;       // the dialog's text
    const char* batchName;  // the batch filter list's text (3x3 entries only, else null)
    int side;
    int16_t values[kMaxKernelValues];
    int16_t divisor;
    int16_t offset;
};

// Which channels a convolution changes (the median always filters all three).
struct ChannelMask {
    bool red = true, green = true, blue = true;
};

// A filter as it is applied: a linear kernel with its divisor, offset and channels, or a
// median of `side` x `side` neighbours, counted by the kernel's weights when `weighted`.
struct FilterKernel {
    int side = 3;
    int16_t kernel[kMaxKernelValues] = {};
    int divisor = 1;
    int offset = 0;
    ChannelMask channels;
    bool median = false;
    bool weighted = false;
};

// Loads a table entry into `kernel`: size, values, divisor and offset (a 3x3 divisor of 0
// becomes the kernel's sum; a median's values are its weights, divisor 0, offset 0). The
// channels and the weighting are left as they are. 0, or -1 when a linear entry's divisor
// is still 0 (the caller reports kFilterInitFailed).
int KernelFromEntry(const FilterTableEntry& entry, bool median, FilterKernel* kernel);
extern const char kFilterInitFailed[];  // "Linear filter initialisation failed!"

// The sum of an entry's first `count` kernel values.
int KernelSum(const int16_t* values, int count);

// Convolves `image` (24 bits) in place with a `side` x `side` kernel: for each pixel and
// enabled channel S = sum of kernel[l * side + (side - 1 - k)] x P(x, y) with
// x = (j + k - side / 2) mod W, y = (i + l - side / 2) mod H (storage rows, true
// non-negative modulo, so a picture narrower than the kernel wraps as often as needed);
// the result is (S + offset) / divisor truncated toward zero and clamped to 0..255.
// `progress` (may be null) gets "Processing Filter:" in tenths. Returns 0; -1 when the
// divisor is 0, the side is not 3, 5 or 7, or the picture is not 24 bits (the picture as
// it was). Throws kDibAllocFailure when its copy of the picture cannot be held.
int ConvolveImage(CDib& image, int side, const int16_t* kernel, int divisor, int offset, ChannelMask channels,
                  OpProgress progress);

// The median of each pixel's `side` x `side` neighbourhood (same wrap-around), channel by
// channel: the samples sorted by the channel, the value of sample count / 2 taken. With
// `weights` (side x side counts) each neighbour is counted that many times. Returns 0; -1
// when the side is not 3 or 5 or the picture is not 24 bits. Throws kDibAllocFailure when
// its copy of the picture cannot be held.
int MedianImage(CDib& image, int side, const int16_t* weights);

// `kernel` on `image`: the convolution, or the median (with its weights when weighting is
// on). ConvolveImage's and MedianImage's results.
int ApplyFilterKernel(CDib& image, const FilterKernel& kernel, OpProgress progress);
