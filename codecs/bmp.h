// Windows and OS/2 bitmaps (.BMP, .RLE): the reader's two phases over the file in memory.
#pragma once

#include <cstdint>

#include "core/filemem.h"
#include "core/formats.h"

enum { BMP_RGB = 0, BMP_RLE8 = 1, BMP_RLE4 = 2, BMP_BITFIELDS = 3 };

// The fields of a DIB header: a BITMAPCOREHEADER (OS/2) or a BITMAPINFOHEADER and its
// later, longer forms. Icon and cursor entries are DIBs without the file header.
struct DibHeaderFields {
    uint32_t headerLength = 0;
    bool os2 = false;
    bool topDown = false;  // a negative height: rows stored from the top
    uint32_t compression = BMP_RGB;
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue bit fields
    int64_t width = 0;  // 64 bits: negating the most negative 32-bit size must not overflow
    int64_t height = 0;
    int planes = 0;
    int bits = 0;
    int32_t coloursUsed = 0;
    int entrySize = 0;  // bytes of one colour-table entry: 3 (OS/2), 4, or 0 for none
};

// Reads the DIB header at `r` (its length first) and checks it: the facts get the format
// note, the stored size and depth. 0, or -1 after reporting.
int ReadDibHeader(ByteReader& r, ImageFacts& facts, DibHeaderFields* dib);
// Reads the colour table that starts at `at` into filePalette (entries cut off by `end`
// are left out: their indices show black); 24 and 32 bits have none (ReadDibHeader left
// their entrySize 0). 0, or -1 after reporting.
int ReadDibColourTable(const uint8_t* at, const uint8_t* end, DibHeaderFields& d);
// Phase 1: checks the file header and the DIB header, reads the colour map into
// filePalette, places the cursor on the pixel data. 0, or -1 after reporting.
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
