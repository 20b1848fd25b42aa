// JPEG files through libjpeg: the reader's two phases over the file in memory, a header
// probe, the writer, and decoding of a JPEG stream held in memory (EXIF thumbnails).
// Library errors never leave these functions: each one catches its own, releases the
// library's objects and reports "Error: <library text> in JPEG file".
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/dib.h"
#include "core/formats.h"

class OutStream;

// Phase 1 over FileCursor: starts decompressing, records the format note ("JPEG, RGB
// Colour", ...), the stored depth, the comment, the EXIF and XMP blocks and the process
// code; the picture is 24 bits. 0, or -1 after reporting.
int ReadJpegHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
// Phase 2: the rows into `picture` (24 bits, created at the size phase 1 gave), with load
// progress in tenths. 0, or -1 after reporting. The decompressor is released either way.
int ReadJpegPixels(CDib& picture, ImageFacts& facts);
// Ends a decompression phase 1 began when phase 2 never ran (the picture could not be
// made); nothing when none is open.
void ReleaseJpegReader();
// The header alone; no state kept, nothing reported.
int ProbeJpegHeader(uint16_t* height, uint16_t* width, uint16_t* depth);
// Writes `picture` as a baseline JPEG at options.jpegQuality with options' comment and
// EXIF block. 0, or -1 after reporting.
int WriteJpeg(OutStream& out, CDib& picture, const WriteOptions& options);
// Decodes a whole JPEG stream held in memory (an EXIF thumbnail, at most 4096 x 4096
// pixels) into a 24-bit picture; reports nothing.
// 0, or -1 when it is no JPEG stream or fails to decode.
int DecodeJpegBytes(const uint8_t* data, size_t size, CDib& picture);
