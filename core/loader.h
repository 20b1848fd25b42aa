// The one road of every picture to the screen: type from the name, the whole file in
// memory, the decode entry (header phase, the current image created at that size, pixel
// phase), conversion to 24 bits, facts, title. What a load means to the user around
// this (playback, display mode, histories) is open/open.h.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "core/decode.h"

// How the folder and file histories follow a load (the load as the user sees it,
// open/open.h, acts on it; the loader only carries it).
enum HistoryMode { HISTORY_NONE = 0, HISTORY_FOLDER_AND_FILE = 1, HISTORY_FOLDER = 2 };

// What a load is asked to do.
struct LoadRequest {
    LoadRequest(std::string path_, HistoryMode history_ = HISTORY_NONE, std::string listPosition_ = std::string())
        : path(std::move(path_)), history(history_), listPosition(std::move(listPosition_)) {}
    std::string path;  // the file; quotes and trailing blanks are cleaned off by the load
    HistoryMode history;
    // The file's place in the folder's list, "(n of m)", put before the name in the title;
    // empty: none.
    std::string listPosition;
};

// What the caller does at four points of a load; any may be null.
struct LoadSteps {
    // The file is read and of a type this build reads: the picture is about to be replaced.
    void (*replacing)() = nullptr;
    // Phase 1 gave the picture's size.
    void (*sizeKnown)(int width, int height) = nullptr;
    // Both phases succeeded (an animation starts playing here): negative = failed, 1 =
    // the step has titled the picture itself, 0 = the loader titles it.
    int (*decoded)(const LoadRequest& request) = nullptr;
    // The load ran to its end (not for a file refused before reading, one that could not
    // be read, or a header that failed), with its result.
    void (*finished)(const LoadRequest& request, int result) = nullptr;
};

// Loads the requested file into the current image: 0, or negative after reporting. A file
// that is refused or cannot be read leaves the current picture and everything about it
// (facts, undo history, a file kept open for its pages) as it was.
int LoadPicture(const LoadRequest& request, const LoadSteps& steps);
// Shows page `index` (0-based) of the file the current picture came from, which its
// reader kept open: the undo history is cleared, the page replaces the picture (black when
// it cannot be decoded), the caller's sizeKnown lays it out, the title names the page.
// -1 with the picture unchanged when the file has no such page or is no longer open; -1
// after reporting when the page could not be decoded; else 0.
int LoadPage(int index, const LoadSteps& steps);
// Reads only the header of a picture file: its width, height and depth. Leaves the
// current picture and everything about it untouched and reports nothing. 0 or -1.
int ProbeImageHeader(const std::string& path, uint16_t* width, uint16_t* height, uint16_t* depth);
// A name from the command line or another instance: 1 = load it, 0 = ignore.
int PrepareNameFromOutside(std::string& name);
// The name with the current directory before it when it has no folder part.
std::string WithCurrentDir(const std::string& name);

// Message of a reader that does not exist yet.
extern const char* const kReaderNotBuilt;
