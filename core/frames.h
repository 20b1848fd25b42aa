// The frame table of animations: every frame composed to a full 24-bit picture of the
// animation's screen. Filled by the animation readers (GIF, and later ANI and animated
// WebP) and the animation builder; played, written, decomposed and resized from here.
#pragma once

#include <cstdint>

#include "base/appstate.h"  // animFrameCount: the frames loaded
#include "core/dib.h"

struct AnimFrame {
    uint16_t height = 0;  // the frame's own rectangle on the screen
    uint16_t width = 0;
    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t delay = 0;  // display time in milliseconds
    uint8_t palette[256 * 3] = {};  // red, green, blue triples of the table the frame used
    uint8_t flags = 0;              // graphic-control packed byte: bit 0 transparency, bits 2-4 disposal
    uint8_t transparentIndex = 0;
    CDib image;  // the composed frame: 24 bits, screen size
};

constexpr int kMaxAnimFrames = 4096;
extern AnimFrame animFrames[kMaxAnimFrames];

// Size of the animation's screen.
extern uint16_t animScreenWidth;
extern uint16_t animScreenHeight;
// Set while the table holds the frames of a loaded or built animation.
extern bool animFramesLoaded;

// All frame pictures together stay below this many bytes: a small file can otherwise ask
// for thousands of screen-size frames, and the system ends a process that overcommits
// rather than failing the allocation. Tests and fuzzing lower it.
constexpr uint64_t kDefaultFrameMemoryLimit = (uint64_t{2} << 30) - 1;
extern uint64_t animFrameMemoryLimit;
// Bytes held by the frame pictures now.
uint64_t AnimFrameBytes();

// Creates record `index`'s picture at w x h, 24 bits. Throws kDibAllocFailure when the
// picture cannot be had or would take the frames past animFrameMemoryLimit.
void CreateAnimFrameImage(int index, int w, int h);
// Frees every frame picture, clears delay, flags and transparent index of every record,
// and empties the table (animFrameCount 0, not loaded). Records past animFrameCount are
// written only through CreateAnimFrameImage or as the next record to be counted.
void ReleaseAnimFrames();
