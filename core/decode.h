// The one decode entry: a whole file held in memory becomes a picture plus its facts.
// The loader, the header probe, the fuzz targets and the benchmarks all go through it.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>

#include "core/dib.h"
#include "core/filetype.h"
#include "core/formats.h"

// Called between the two phases with the size and depth phase 1 gave (the picture is
// already created at that size): the loader titles the picture and chooses its display
// mode here. A negative answer ends the decode before the pixels (the fuzz targets keep
// their memory in bounds this way).
using AfterHeader = int (*)(int width, int height, int depth, void* context);

enum DecodeResult {
    DECODE_OK = 0,
    DECODE_FAILED = -1,         // a reader phase failed and reported
    DECODE_NO_READER = -2,      // this build cannot read the type (nothing reported)
    DECODE_NO_MEMORY = -3,      // the picture could not be created (reported)
    DECODE_JUMPED = -1000,      // a reader or library left by the long jump (not reported)
};

// Decodes `size` bytes at `data` as a file of `type` into `picture`; FileCursor is set
// over the bytes. Null `data`: the reader reads the stream FileCursor holds (a type with
// FORMAT_READS_STREAM, opened by OpenFileStream). `headerPassed` tells whether phase 1 succeeded. Allocation failures
// inside a phase are thrown as kDibAllocFailure text for the caller to report.
int DecodeImage(FileType type, const uint8_t* data, size_t size, CDib& picture, ImageFacts& facts,
                bool* headerPassed, AfterHeader afterHeader = nullptr, void* context = nullptr);
// Another page of the file the last decode of `type` kept open: the row's selectPage,
// the picture created at that page's size, then phase 2. DECODE_NO_READER when the type
// has no pages or no such page is kept (nothing changed, nothing reported), DECODE_FAILED
// when the page could not be decoded (reported).
int DecodePage(FileType type, int page, CDib& picture, ImageFacts& facts);
// The header alone: width, height and depth, nothing else touched. 0 or -1. Null `data`
// as for DecodeImage.
int ProbeImage(FileType type, const uint8_t* data, size_t size, uint16_t* width, uint16_t* height,
               uint16_t* depth);

// Recovery point for readers and libraries that leave by a long jump. No object with a
// destructor may be alive between the reader's entry and the jump.
extern jmp_buf LoadRecovery;
[[noreturn]] void JumpToLoadRecovery();
