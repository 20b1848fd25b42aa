// The picture on the screen, the facts about where it came from, and its undo history.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/dib.h"
#include "core/filetype.h"
#include "core/frames.h"

constexpr int kUndoSlots = 24;

struct CurrentImageState {
    CDib dib;
    FileType fileType = FT_UNSUPPORTED;
    FileType saveType = FT_JPEG;  // the Save-As dialog's first entry
    std::string fullPath;  // UTF-8; at most 259 UTF-16 units
    uint32_t storedWidth = 0;
    uint32_t storedHeight = 0;
    uint32_t storedBitsPerPixel = 0;
    std::string formatNote;  // up to 100 bytes
    std::string comment;
    std::string commentKeyword;  // the keyword of a PNG file's first text chunk, empty: none
    std::string applicationId;  // of a GIF file's application extension
    std::vector<uint8_t> exif;  // the file's EXIF block ("Exif", 0, 0, TIFF data), empty: none
    std::vector<uint8_t> xmp;   // the file's XMP APP1 marker, empty: none
    int jpegProcess = 0;        // start-of-frame code of a JPEG file, 0 for others
    std::string rawCameraText;  // a camera RAW file's camera lines, empty for other files
    int pageCount = 0;          // pages of a file that has several (TIFF), else 0 or 1
    int page = 0;               // the page shown, 0-based
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
void ClearUndo();
// Takes back the newest undo step, for an edit that failed after PushUndo and left the
// picture as it was.
void DropNewestUndo();
void RestoreSnapshot(int index);
