// GIF87a and GIF89a pictures and animations (.GIF), read from the file in memory. The
// header phase reads and composes every image into the frame table; the pixel phase
// gives frame 0.
#pragma once

#include <cstdint>

#include "core/formats.h"

// Phase 1: reads every image of the file into animFrames (only the first when
// GIFAnimation is off) and gives the picture's size. 0, or -1 after reporting. The
// caller has released the frames of the previous file.
int ReadGifHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
// Phase 2: `picture` becomes frame 0. 0, or -1 when there is none.
int ReadGifPixels(CDib& picture, ImageFacts& facts);
// The logical screen's size and the global table's depth only, leaving the frame table
// alone: for reading the headers of many files (sorting a folder by width).
int ProbeGifHeader(uint16_t* height, uint16_t* width, uint16_t* depth);

// Background colour of the file being read: blue, green, red.
extern uint8_t gifBackground[3];
