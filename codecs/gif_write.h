// Writing GIF89a files (.GIF): an animation of the frame table, or the current picture as
// a one-image file, every image first reduced to 8 bits by merging colours (method '3'),
// and coded by our own LZW encoder.
#pragma once

#include <cstdint>

#include "core/formats.h"

// The row's writer. Sets ditherMethod to '3' and saveDepth to 8 (they stay so). Writes the
// frame table when the current file is an animation of two or more frames whose pictures
// are all there and the picture has not been changed since it was loaded; otherwise
// `picture` as a still (no loop extension, no local table, delay 0). Frame delays are kept
// in milliseconds and written in the file's hundredths (delay / 10).
// 1, or -1 after reporting (captioned "GIF write"); the stream is never closed here.
int WriteGif(OutStream& out, CDib& picture, const WriteOptions& options);

// The encoder's buffers: one row of pixel indices, and the string table of 5003 hash slots
// of prefix code, code (0 = empty) and suffix byte, in one block.
struct GifCodeTable {
    static constexpr int kSlots = 5003;
    uint8_t* row = nullptr;
    int rowLength = 0;
    int32_t* prefix = nullptr;
    int32_t* code = nullptr;
    uint8_t* suffix = nullptr;
    uint8_t* block = nullptr;
    GifCodeTable() = default;
    GifCodeTable(const GifCodeTable&) = delete;
    GifCodeTable& operator=(const GifCodeTable&) = delete;
    ~GifCodeTable() {
        delete[] row;
        delete[] block;
    }
    // False when the row of `width` indices cannot be had.
    bool AllocateRow(int width);
    // False when the table's block cannot be had.
    bool AllocateTable();
};

// The graphic-control extension (delay in milliseconds, written / 10) and the image
// descriptor of a palette picture of 1, 4 or 8 bits, with its colour table as a local table
// when `localTable`. False when a write failed.
bool WriteGifImageBlock(OutStream& out, const CDib& reduced, uint16_t delayMs, bool localTable);
// The image data: code size byte, LZW codes in sub-blocks of at most 255 bytes, and the
// zero-length sub-block. False when a write failed or the depth is not 1 to 8.
bool CompressGif(OutStream& out, const CDib& reduced, GifCodeTable& table);
