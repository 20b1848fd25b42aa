// Windows and OS/2 bitmaps (.BMP, .RLE): the reader's two phases over the file in memory.
#pragma once

#include <cstdint>

#include "core/formats.h"

// Phase 1: checks the headers, reads the colour map into filePalette, places the cursor
// on the pixel data. 0, or -1 after reporting.
int ReadBmpHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
// Phase 2: fills `picture`. 0, or -1 after reporting.
int ReadBmpPixels(CDib& picture, ImageFacts& facts);

// One run-length row into `buffer`: 0, or -1 when the data ends early or the row is bad.
int DecodeRle8Row(uint8_t* buffer, int width);
// RLE4 rows hold n pixels (the width rounded up to 4); `width` is the picture's own.
int DecodeRle4Row(uint8_t* buffer, int n, int width);

// Writes `picture` as an uncompressed Windows bitmap of options.depth bits (1, 4, 8 or
// 24; below 24 through colour reduction). 0, or -1 after reporting.
int WriteBmp(OutStream& out, CDib& picture, const WriteOptions& options);
// Writes `count` colour-table entries (blue, green, red, 0) from red, green, blue triples.
bool WriteBmpPalette(OutStream& out, int count, const uint8_t* rgbTriples);
