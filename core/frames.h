// The frame table of animations: every frame composed to a full 24-bit picture of the
// animation's screen. Filled by the animation readers (GIF, and later ANI and animated
// WebP) and the animation builder; played, written, decomposed and resized from here.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/appstate.h"  // animFrameCount: the frames loaded
#include "core/dib.h"

struct AnimFrame {
    uint16_t height = 0;  // the frame's own rectangle on the screen
    uint16_t width = 0;
    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t delay = 0;  // display time in milliseconds
    uint8_t palette[256 * 3] = {};  // red, green, blue triples of the table the frame used
    uint8_t flags = 0;              // graphic-control packed byte: bit 0 transparency, bits 2-4 disposal
    uint8_t transparentIndex = 0;
    CDib image;  // the composed frame: 24 bits, screen size
};

constexpr int kMaxAnimFrames = 4096;
extern AnimFrame animFrames[kMaxAnimFrames];

// Size of the animation's screen.
extern uint16_t animScreenWidth;
extern uint16_t animScreenHeight;
// Set while the table holds the frames of a loaded or built animation.
extern bool animFramesLoaded;

// All frame pictures together stay below this many bytes: a small file can otherwise ask
// for thousands of screen-size frames, and the system ends a process that overcommits
// rather than failing the allocation. Tests and fuzzing lower it.
constexpr uint64_t kDefaultFrameMemoryLimit = (uint64_t{2} << 30) - 1;
extern uint64_t animFrameMemoryLimit;
// Bytes held by the frame pictures now, with those of saved tables and collections.
uint64_t AnimFrameBytes();

// Creates record `index`'s picture at w x h, 24 bits. Throws kDibAllocFailure when the
// picture cannot be had or would take the frames past animFrameMemoryLimit.
void CreateAnimFrameImage(int index, int w, int h);
// Frees every frame picture, clears delay, flags and transparent index of every record,
// and empties the table (animFrameCount 0, not loaded). Records past animFrameCount are
// written only through CreateAnimFrameImage or as the next record to be counted.
void ReleaseAnimFrames();

// Whether the current file is an animation of two or more frames: the table holds its
// frames and its type is one that animates.
bool CurrentFileIsAnimation();
// Whether its frames play in turn: the same, with animation on (GIFAnimation).
bool CurrentFileAnimates();

// A whole frame table kept aside: an edit of every frame builds its new table in one and
// exchanges it with the table, and the undo step keeps the old one for Undo and Redo to
// exchange back. It belongs to the table it was exchanged with; once another table is
// loaded it can no longer be exchanged.
class SavedFrameTable {
public:
    SavedFrameTable() = default;
    SavedFrameTable(const SavedFrameTable&) = delete;
    SavedFrameTable& operator=(const SavedFrameTable&) = delete;
    SavedFrameTable(SavedFrameTable&& other) noexcept { Swap(other); }
    SavedFrameTable& operator=(SavedFrameTable&& other) noexcept;
    ~SavedFrameTable() { Free(); }
    bool Holds() const { return !frames.empty(); }
    // Whether it was taken from the table loaded now (a new one, never exchanged, counts).
    bool BelongsToTable() const;
    void Swap(SavedFrameTable& other);
    void Free();

    std::vector<AnimFrame> frames;  // filled whole before the first exchange
    uint16_t screenWidth = 0;
    uint16_t screenHeight = 0;

private:
    friend bool ExchangeFrameTable(SavedFrameTable& saved);
    uint64_t table_ = 0;  // the table it came from, 0: none yet
    uint64_t bytes_ = 0;  // counted against animFrameMemoryLimit
};
// Exchanges the frame table (records, count, screen size) with `saved`, moving pictures
// only. False, with nothing changed, when `saved` holds nothing or came from another table.
bool ExchangeFrameTable(SavedFrameTable& saved);

// An edit the undo history does not hold (the history was full, or its oldest step went)
// changed the picture since the table was filled: the frames no longer show it. Cleared
// when the table is emptied or filled again.
void MarkFramesBehindPicture();
bool FramesBehindPicture();

// Frames gathered outside the table and put into it as a whole: the animation builder
// loads one picture after another, and a GIF load among them empties the table. Their
// pictures count against animFrameMemoryLimit together with the table's.
class FrameCollection {
public:
    FrameCollection() = default;
    FrameCollection(const FrameCollection&) = delete;
    FrameCollection& operator=(const FrameCollection&) = delete;
    ~FrameCollection();
    int Count() const { return static_cast<int>(pictures_.size()); }
    // Appends a copy of `picture` (24 bits) shown for `delay` milliseconds. Throws
    // kDibAllocFailure when the copy cannot be had, would pass the memory limit, or the
    // collection holds kMaxAnimFrames already; the collection is then unchanged.
    void Append(const CDib& picture, uint16_t delay);
    // Empties the table and moves the frames into it, each at 0,0 with its own size; the
    // screen takes the first frame's size. The collection is empty afterwards.
    void Install();

private:
    std::vector<std::unique_ptr<CDib>> pictures_;
    std::vector<uint16_t> delays_;
    uint64_t bytes_ = 0;
};

// What a movie writer is handed of the animation in the table: the number of frames and
// the size of frame 0 (count 0 when no animation is loaded).
struct MovieFrameSet {
    int count = 0;
    int width = 0;
    int height = 0;
};
MovieFrameSet AnimationForMovie();
// Frame `index`'s pixels as 24-bit rows, bottom row first, `*rowBytes` apart (padded to
// four bytes); null when there is no such frame or it is not a 24-bit picture.
const uint8_t* MovieFrameRows(int index, uint32_t* rowBytes);
