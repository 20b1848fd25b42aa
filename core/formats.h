// The format registry: one row per file type says everything the program knows about it:
// the extensions that name it, its entries in the Open and Save-As dialogs, the
// extension it is written with, its reader's two phases and header probe, its writer,
// and how the rest of the program treats it. The rows are defined beside the codecs
// (libcodecs/formats.cpp); lists whose order differs from the rows' are order arrays of
// FileType below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/dib.h"
#include "core/filetype.h"

class OutStream;

// What a reader records about the file besides its pixels; the loader copies it into
// the current picture.
struct ImageFacts {
    uint32_t storedWidth = 0;
    uint32_t storedHeight = 0;
    uint32_t storedBitsPerPixel = 0;
    std::string formatNote;  // up to 100 bytes
    std::string comment;
    // A PNG file's first text chunk's keyword, written back with the comment (empty: none).
    std::string commentKeyword;
    std::string applicationId;  // a GIF application extension's identifier, up to 11 characters
    // A JPEG or WebP file's EXIF block: the APP1 payload from "Exif", 0, 0 on (empty: none).
    std::vector<uint8_t> exif;
    // A JPEG file's XMP packet: its whole APP1 marker (empty: none).
    std::vector<uint8_t> xmp;
    // A JPEG file's start-of-frame code (192 baseline, 194 progressive, ...), 0 for others.
    int jpegProcess = 0;
    // A camera RAW file's camera lines, as the EXIF dialog shows them (empty: none).
    std::string rawCameraText;
    // A file of several pages (TIFF): how many, and which one is shown (0-based). A count
    // below 2 puts nothing about pages in the title.
    int pageCount = 0;
    int page = 0;
};

// What a writer is told besides the picture.
struct WriteOptions {
    int depth = 24;        // 1, 4, 8 or 24 for the palette writers
    int jpegQuality = 75;  // 0..100
    float webpQuality = 75;    // 1..100, for a lossy WebP file
    bool webpLossless = false;  // the WebP writer's choice of lossless over lossy
    // Written into a JPEG file: its comment (always a COM marker, empty or not) and, when
    // not null, an EXIF block as the APP1 marker.
    std::string comment;
    // The keyword the PNG writer puts the comment under ("Comment" when empty).
    std::string commentKeyword;
    const std::vector<uint8_t>* exif = nullptr;
    // The picture has been turned upright by its EXIF orientation: the block is written
    // with its orientation set to 1, so that no viewer turns it again.
    bool exifUpright = false;
    // Shows a long write's progress in the title (the save dispatch sets it; null shows
    // nothing), and the written file's name for the texts that name it. The dispatch also
    // holds the wait cursor and puts the title back when the writer returns.
    void (*showProgress)(const std::string& text) = nullptr;
    std::string fileName;
};

struct FilterEntry {
    const char* description;  // "Bitmap Files (*.BMP)"
    const char* patterns;     // "*.bmp"
};

enum FormatFlags : unsigned {
    FORMAT_ANIMATED = 1,            // may hold an animation that plays from the frame table
    FORMAT_TITLE_DEPTH_8 = 2,       // the title always gives 8 bits for it
    FORMAT_BUSY_WHILE_WRITING = 4,  // its writer takes long: the program counts as busy
    // Its reader reads the file as a stream (FileCursor.stream) when the loader opens it,
    // so that a large file is not held whole beside its picture; from memory otherwise.
    FORMAT_READS_STREAM = 8,
};

struct FormatRow {
    FileType type;
    // Extensions with their dot, in capitals; a file's last extension is matched against
    // their beginnings (".TIFF" is a ".TIF").
    const char* const* extensions;
    // The Open dialog's entries for the type (up to two; a null description ends them).
    // The RAW row has none of its own: its entry is made from its extensions.
    FilterEntry open[2];
    // The Save-As entry, and the extension (without the dot) the type is written with;
    // null when the type cannot be chosen there.
    FilterEntry save;
    const char* saveExtension;
    unsigned flags;

    // Phase 1 over the file in memory (FileCursor): checks the format, records the facts,
    // gives the picture's height, width and depth. 0, or -1 after reporting.
    int (*readHeader)(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth);
    // Phase 2: fills `picture`, created at the size phase 1 gave. 0 or negative.
    int (*decodePixels)(CDib& picture, ImageFacts& facts);
    // Optional: the size and depth alone, leaving every reader and frame state as it was,
    // for a reader whose phase 1 does more than read a header. Null: phase 1 serves.
    int (*probeHeader)(uint16_t* height, uint16_t* width, uint16_t* depth);
    // Writes `picture` to the stream: 0 or more on success, negative after reporting. A
    // palette writer may turn the picture into 24 bits in place first.
    int (*write)(OutStream& out, CDib& picture, const WriteOptions& options);
    // Optional: releases what phase 1 holds for phase 2 (a library's decompressor); run
    // after every decode, also when phase 2 never ran.
    void (*release)() = nullptr;
    // Optional: closes what a reader keeps open after a load for later pages (a TIFF
    // handle over its own copy of the file). Every load calls it first, for every row
    // that has one, and so does the program at its end.
    void (*closeKept)() = nullptr;
    // Optional, for a file of several pages: makes `page` (0-based) of the kept file the
    // current one and records its facts and size as phase 1 does; phase 2 then decodes
    // it. -2 (nothing reported) when no file is kept or it has no such page, -1 after
    // reporting a page that cannot be read.
    int (*selectPage)(int page, ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) = nullptr;
};

extern const FormatRow kFormats[];
extern const int kFormatCount;

// The row of a type, or null for a type without one.
const FormatRow* FindFormat(FileType type);
// The row's reader and writer, or null when this build has none.
bool HasReader(FileType type);
bool FormatHasFlag(FileType type, FormatFlags flag);
// Runs every row's closeKept.
void CloseKeptFiles();

// The Open dialog's entries in their order (each row gives its `open` entries).
extern const FileType kOpenFilterOrder[];
extern const int kOpenFilterOrderSize;
// The Save-As dialog's lists: normally, and while browsing thumbnail sheets.
constexpr int kSaveFilterCount = 7;
extern const FileType kSaveOrderNormal[kSaveFilterCount];
extern const FileType kSaveOrderTns[kSaveFilterCount];

// The Open dialog's filter list: description and patterns of every entry, each ended by
// a null character, then "All Supported Files (*.*)" joining every entry's patterns,
// "All Files (*.*)", and a final null.
std::string OpenFilterList();
