// The picture on the screen, the facts about where it came from, and its undo history.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/dib.h"
#include "core/filetype.h"
#include "core/formats.h"
#include "core/frames.h"

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
    // The frame table on the other side of the edit after slot i when that edit changed
    // every frame of an animation (empty for an edit of the picture alone): the table
    // before it while it is done, the table after it while it is undone.
    SavedFrameTable undoFrames[kUndoSlots];
    int undoTop = -1;
    CDib secondaryImage;
    // True while the picture on the screen is the black stand-in of a failed load.
    bool failedLoad = false;
};
extern CurrentImageState CurrentImage;

// A picture counts as changed when it was made without a file or has undo steps.
inline bool ImageIsChanged() { return CurrentImage.modified || CurrentImage.undoTop >= 0; }

// Saves a copy of the current picture before an edit: 0, or -1 when the history is full.
// An edit that goes on without its step leaves the frame table behind the picture.
int PushUndo();
// An edit of every frame that has just taken its undo step keeps the frame table it
// replaced with that step (`previous` is empty afterwards).
void KeepFramesWithNewestUndo(SavedFrameTable& previous);
// Whether the frame table still shows the current picture: every step of the history is
// an edit of all frames, and no edit outside it changed the picture since the table was
// filled. A save then writes the frames; otherwise it writes the picture as a still.
bool FrameTableIsCurrent();
void Undo();
void Redo();
// Empties the history; an edit of the picture alone in it still keeps the frame table
// from being written (FrameTableIsCurrent stays false until the table is filled again).
void ClearUndo();
// Takes back the newest undo step, for an edit that failed after PushUndo and left the
// picture as it was.
void DropNewestUndo();
void RestoreSnapshot(int index);
