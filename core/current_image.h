// The picture on the screen, the facts about where it came from, and its undo history.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/dib.h"
#include "core/filetype.h"
#include "core/formats.h"

constexpr int kUndoSlots = 24;

// The facts its reader recorded (stored size and depth, format note, comment, EXIF and
// XMP blocks, pages, ...) are the picture's own: a load replaces them as one record.
struct CurrentImageState : ImageFacts {
    CDib dib;
    FileType fileType = FT_UNSUPPORTED;
    FileType saveType = FT_JPEG;  // the Save-As dialog's first entry
    std::string fullPath;  // UTF-8; at most 259 UTF-16 units
    // The EXIF orientation (2..8) the picture was turned upright by on loading, else 0.
    int appliedOrientation = 0;
    bool modified = false;
    CDib undoSlots[kUndoSlots];
    int undoTop = -1;
    CDib secondaryImage;
    // True while the picture on the screen is the black stand-in of a failed load.
    bool failedLoad = false;
};
extern CurrentImageState CurrentImage;

// A picture counts as changed when it was made without a file or has undo steps.
inline bool ImageIsChanged() { return CurrentImage.modified || CurrentImage.undoTop >= 0; }

// Saves a copy of the current picture before an edit: 0, or -1 when the history is full.
// Whether the current picture's animation plays: animation is on and an animated type
// holds more than one frame.
bool AnimationPlaying();

int PushUndo();
void Undo();
void Redo();
void ClearUndo();
// Takes back the newest undo step, for an edit that failed after PushUndo and left the
// picture as it was.
void DropNewestUndo();
void RestoreSnapshot(int index);
