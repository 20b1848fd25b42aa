// PNG files through libpng: the reader's two phases over the file in memory, a header
// probe and the writer. Library errors never leave these functions: each one arms its
// own jump buffer, destroys libpng's structures on every way out and reports
// "Error: <library text> in PNG file ".
#pragma once

#include <cstdint>
#include <string>

#include "core/dib.h"
#include "core/formats.h"

class OutStream;

// Phase 1 over FileCursor: reads the chunks up to the image data, records the format
// note ("Portable Network Graphics, RGB Colour", ...) and the stored depth and sets up
// the conversion to blue, green, red rows: alpha is composed onto black (or onto
// PNGBackgroundColour when PNGUserPackground is on), a transparency chunk becomes a
// fourth byte. The depth is 24, or 32 for a file with a transparency chunk. 0, or -1
// after reporting.
int ReadPngHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
// Phase 2: the rows into `picture` (created at the size and depth phase 1 gave), then the
// first text chunk: its keyword and text become the comment's. 0, or -1 after reporting.
// The reader is released either way.
int ReadPngPixels(CDib& picture, ImageFacts& facts);
// Phase 2 of a thumbnail database file: the first text chunk is the database's
// description, handed back in `description` instead of becoming the comment; a file
// without one fails with "Can't read TNS database info from file ".
int ReadPngPixelsTns(CDib& picture, ImageFacts& facts, std::string& description);
// Ends a read phase 1 began when phase 2 never ran; nothing when none is open.
void ReleasePngReader();
// The header alone: size and output depth; no state kept, nothing reported.
int ProbePngHeader(uint16_t* height, uint16_t* width, uint16_t* depth);
// Writes `picture`: 24 and 32 bits as 8-bit RGB, 1, 2, 4 and 8 bits as a palette file
// with the whole colour table; then a tEXt chunk with options' comment under its keyword
// ("Comment" when it has none). 0, or -1 after reporting.
int WritePng(OutStream& out, CDib& picture, const WriteOptions& options);
// The same for a thumbnail database file: a "TNS Data" chunk with `description` comes
// before the comment's.
int WritePngTns(OutStream& out, CDib& picture, const WriteOptions& options, const std::string& description);
