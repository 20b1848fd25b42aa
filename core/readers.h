// The loader knows every image reader by one row of one table: its type, whether it
// reads from the file held in memory, and its two phases.
#pragma once

#include <cstdint>
#include <string>

#include "core/filetype.h"

struct ImageReader {
    FileType type;
    bool fromMemory;  // the loader reads the whole file into FileMem first
    // Phase 1: checks the format, stores the stored size and format note, returns the
    // picture's height, width and depth. 0, or -1 after reporting.
    int (*readHeader)(const std::string& path, uint16_t* height, uint16_t* width, uint16_t* depth);
    // Phase 2: fills CurrentImage.dib, created at the size phase 1 gave. 0 or negative.
    int (*decodePixels)();
    // Optional: the size and depth alone, leaving every reader and frame state as it was,
    // for a reader whose phase 1 does more than read a header. Null: phase 1 serves.
    int (*probeHeader)(const std::string& path, uint16_t* height, uint16_t* width, uint16_t* depth);
};

// The reader of a type, or null when this build has none.
const ImageReader* FindImageReader(FileType type);
