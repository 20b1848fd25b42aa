// TIFF files through libtiff: every page of a file can be shown. The header phase opens
// the file over a copy of its bytes that this glue owns, counts the pages and reads the
// first page's header; the handle then stays open, so that later pages can be decoded
// after the file in memory is gone, until the next load or the program's end closes it.
// libtiff's errors become our reports; its warnings are not shown.
#pragma once

#include <cstdint>

#include "core/dib.h"
#include "core/formats.h"

// Phase 1 over FileCursor: closes a handle an earlier load kept, opens the file, counts
// its pages (facts.pageCount, facts.page 0) and reads page 0's header: the stored size and
// depth (1 for a fax file, else samples x bits), the byte order as the comment ("File
// stored in Intel format\n"), the format note ("TIFF, RGB Colour", ...). Gives the page's
// size and depth 24. 0, or -1 after reporting (then no handle is kept).
int OpenTiff(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
// Phase 2: the current page of the kept handle as 24-bit blue, green, red (alpha is
// dropped; unassociated alpha is taken as associated). `picture` is made again when the
// page's decoded size differs from its size. 0, or -1 after reporting.
int ReadTiffPage(CDib& picture, ImageFacts& facts);
// Makes `page` (0-based) the kept handle's current page and reads its header as phase 1
// does: 0; -2, reporting nothing, when no file is kept or it has no such page; -1 after
// reporting a directory or header that cannot be used.
int SelectTiffPage(int page, ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
// The header of page 0 alone, over FileCursor: the kept handle stays as it was, the
// probe's own handle is closed, nothing is reported. 0 or -1.
int ProbeTiffHeader(uint16_t* height, uint16_t* width, uint16_t* depth);
// Closes the kept handle and frees its copy of the file; nothing when none is open.
void CloseTiff();
