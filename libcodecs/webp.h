// WebP files through libwebp: still pictures (lossy, lossless, with alpha) decoded
// incrementally, animations decoded into the frame table, the EXIF chunk kept as the
// picture's EXIF block, a header probe, and the lossy or lossless writer.
#pragma once

#include <cstdint>

#include "core/dib.h"
#include "core/formats.h"

class OutStream;

// Phase 1 over FileCursor: checks the file and records the format note and the stored
// size (depth 32) and the EXIF block. Gives the canvas size; the depth is 32 for a
// still picture and 24 for an animation. 0, or -1 after reporting "WebP Format error ".
int ReadWebpHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
// Phase 2: a still picture into `picture` (32 bits, blue, green, red, alpha); fully
// transparent pixels take the WebP background colour. An animation fills the frame table
// (24-bit frames, delays in milliseconds) and `picture` becomes frame 0. 0, or -1 after
// reporting.
int ReadWebpPixels(CDib& picture, ImageFacts& facts);
// The header alone; no state kept, nothing reported.
int ProbeWebpHeader(uint16_t* height, uint16_t* width, uint16_t* depth);
// Writes `picture` lossless when options.webpLossless, else lossy at options.webpQuality.
// 0, or -1 after reporting.
int WriteWebp(OutStream& out, CDib& picture, const WriteOptions& options);
