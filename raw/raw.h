// Camera RAW files through LibRaw. The whole decoding (identification, unpacking,
// demosaicing, white balance, colour conversion) runs in the header phase, in run mode 8,
// with its progress in the title; Escape ends it. The pixel phase only turns the
// processed picture into 24-bit rows.
//
// Processing is fixed: the camera's white balance, AHD interpolation, sRGB output, 8 bits
// a sample, LibRaw's automatic brightening and the file's own orientation; that is
// `dcraw_emu -w -o 1 -q 3`.
#pragma once

#include <cstdint>
#include <string>

#include "core/dib.h"
#include "core/formats.h"

// Phase 1 over FileCursor: decodes the whole file, records the format note "RAW\n", the
// stored size (the sensor's) and the camera lines. Gives the output size, depth 24. 0, or
// -1 after reporting "The format of this RAW file is unsupported", "Terminated at user's
// request" or "Processing fail in RAW file: <path>". Run mode is what it was on return.
int ReadRawHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
// Phase 2: the processed picture into `picture` (24 bits, created at the size phase 1
// gave), then LibRaw's buffers are released. 0, or -1 after reporting.
int DecodeRaw(CDib& picture, ImageFacts& facts);
// Releases what phase 1 kept when phase 2 never ran; nothing when nothing is kept.
void ReleaseRawDecoder();
// The output size from identification alone: nothing processed, kept or reported.
int ProbeRawHeader(uint16_t* height, uint16_t* width, uint16_t* depth);

// The camera lines of the last RAW file phase 1 identified; empty when its make is empty.
std::string RawCameraText();

// The largest sensor (raw width x raw height) phase 1 unpacks; larger files are declined
// before any pixel memory is taken. The fuzz target makes it small.
extern uint64_t RawPixelLimit;
