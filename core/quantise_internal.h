// Pieces shared by the adaptive quantisers (octree and pairwise merging) and the
// serpentine Floyd-Steinberg mapping they both end with. Not for use outside core/quantise*.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "base/numeric.h"

namespace quant {

// An adaptive palette: `count` entries in use, the rest of the colour table stays black.
struct Palette {
    int count = 0;
    uint8_t blue[256] = {};
    uint8_t green[256] = {};
    uint8_t red[256] = {};
};

// The 24-bit pixels being reduced, read in place: bytes blue, green, red; row y is storage
// row y (the bottom row of the picture is row 0).
struct PixelRows {
    const uint8_t* bits = nullptr;
    uint64_t stride = 0;
    int width = 0;
    int height = 0;
    const uint8_t* Row(int y) const { return bits + static_cast<uint64_t>(y) * stride; }
};

// Tables built once per process: the octree code parts and the squares of differences.
// The squares cover -637..637 because the merging quantiser works on blue scaled by 2.5.
constexpr int kSquareRange = 637;
struct SharedTables {
    uint16_t code0[256];  // blue bits 7..3 -> code bits 14, 11, 8, 5, 2
    uint16_t code1[256];  // green bits 7..3 -> 13, 10, 7, 4, 1
    uint16_t code2[256];  // red bits 7..3 -> 12, 9, 6, 3, 0
    int32_t squareStore[2 * kSquareRange + 1];
    const int32_t* square;  // square[d] = d * d for |d| <= 637
    SharedTables();
};
const SharedTables& Tables();

// Index of the palette entry nearest to the 5-bit cell of (b, g, r): distances are measured
// from the cell centre, the lowest index wins ties.
int NearestEntry(const Palette& palette, int b, int g, int r);

// Maps every pixel to a palette index with serpentine Floyd-Steinberg diffusion. `indices`
// holds width x height bytes, row by row in storage order. Returns 0, or QUANT_MAP_FAILED
// when its buffers cannot be had.
int MapSerpentine(const PixelRows& pixels, const Palette& palette, uint8_t* indices);

// The octree quantiser: builds a palette of at most `wanted` colours and maps the pixels.
int OctreeQuantise(const PixelRows& pixels, int wanted, Palette* palette, uint8_t* indices);
// The merging quantiser: the same, pumping window messages; stops with QUANT_USER_ABORT
// as soon as RunMode is no longer RUN_LONG_OPERATION.
int MergeQuantise(const PixelRows& pixels, int wanted, Palette* palette, uint8_t* indices);
// The merging quantiser skips the exact cost of pairs that a quick bound shows cannot win.
// Tests switch this off to check that the bound never changes a result.
extern bool mergeSkipsFarPairs;
// Small pictures are counted into cells by sorting their pixels; tests switch this off to
// check that the full table of cells gives the same cells.
extern bool mergeSortsSmallPictures;

// The merging quantiser's cost and its quick bounds on cells given by their sums (blue as
// sums of trunc(2.5 x blue)), for tests.
struct CellSums {
    uint64_t blue, green, red;
    uint32_t count;
};
uint64_t MergePairCost(const CellSums& a, const CellSums& b);
// True when the quick bound shows that merging a with b, or with every cell of `run`,
// cannot cost less than `bound`.
bool MergePairRuledOut(const CellSums& a, const CellSums& b, uint64_t bound);
bool MergeRunRuledOut(const CellSums& a, const CellSums* run, int count, uint64_t bound);

// A progress title of the quantisers.
void ShowQuantiseTitle(const std::string& text);

}  // namespace quant
