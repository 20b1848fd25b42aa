#include "core/frames.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/settings.h"
#include "core/current_image.h"
#include "core/formats.h"

AnimFrame animFrames[kMaxAnimFrames];
uint16_t animScreenWidth = 0;
uint16_t animScreenHeight = 0;
bool animFramesLoaded = false;
uint64_t animFrameMemoryLimit = kDefaultFrameMemoryLimit;

namespace {

uint64_t frameBytes = 0;
// Bytes held by frame collections not yet installed.
uint64_t collectedBytes = 0;
// Records from here on have held nothing since the last release: a release clears only
// the records before it instead of walking the whole table (megabytes) every time.
int recordsTouched = 0;
// Bytes held by saved frame tables.
uint64_t savedBytes = 0;
// Which table is loaded: counts up every time the table is emptied or filled whole.
uint64_t tableSerial = 1;
bool framesBehind = false;

uint64_t BlockBytes(const CDib& dib) { return dib.Empty() ? 0 : sizeof(DibHeader) + uint64_t{dib.imageSize}; }

}  // namespace

uint64_t AnimFrameBytes() { return frameBytes + collectedBytes + savedBytes; }

bool CurrentFileIsAnimation() {
    return animFramesLoaded && animFrameCount > 1 && FormatHasFlag(CurrentImage.fileType, FORMAT_ANIMATED);
}

bool CurrentFileAnimates() { return GIFAnimation && CurrentFileIsAnimation(); }

void MarkFramesBehindPicture() { framesBehind = true; }

bool FramesBehindPicture() { return framesBehind; }

void CreateAnimFrameImage(int index, int w, int h) {
    if (index + 1 > recordsTouched) recordsTouched = index + 1;
    CDib& image = animFrames[index].image;
    frameBytes -= BlockBytes(image);
    image.Free();
    const uint64_t wanted = sizeof(DibHeader) + DibRowBytes(static_cast<uint64_t>(w), 24) * static_cast<uint64_t>(h);
    if (frameBytes + collectedBytes + wanted > animFrameMemoryLimit) throw kDibAllocFailure;
    image.Create(w, h, 24);
    frameBytes += BlockBytes(image);
}

void ReleaseAnimFrames() {
    // A reader fills the record after the last counted one before it counts it.
    const int used = std::min(kMaxAnimFrames, std::max(recordsTouched, animFrameCount + 1));
    for (int i = 0; i < used; ++i) {
        AnimFrame& frame = animFrames[i];
        frame.image.Free();
        frame.delay = 0;
        frame.flags = 0;
        frame.transparentIndex = 0;
    }
    frameBytes = 0;
    recordsTouched = 0;
    animFrameCount = 0;
    animFramesLoaded = false;
    ++tableSerial;
    framesBehind = false;
}

FrameCollection::~FrameCollection() { collectedBytes -= bytes_; }

void FrameCollection::Append(const CDib& picture, uint16_t delay) {
    if (Count() >= kMaxAnimFrames || picture.Empty()) throw kDibAllocFailure;
    const uint64_t wanted = BlockBytes(picture);
    if (frameBytes + collectedBytes + wanted > animFrameMemoryLimit) throw kDibAllocFailure;
    auto copy = std::make_unique<CDib>();
    copy->Assign(picture);
    pictures_.reserve(kMaxAnimFrames);
    delays_.reserve(kMaxAnimFrames);
    pictures_.push_back(std::move(copy));
    delays_.push_back(delay);
    bytes_ += wanted;
    collectedBytes += wanted;
}

void FrameCollection::Install() {
    ReleaseAnimFrames();
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        AnimFrame& frame = animFrames[i];
        frame.image.Swap(*pictures_[i]);
        frame.left = 0;
        frame.top = 0;
        frame.width = frame.image.width;
        frame.height = frame.image.height;
        frame.delay = delays_[i];
        frame.flags = 0;
        frame.transparentIndex = 0;
        std::memset(frame.palette, 0, sizeof frame.palette);
    }
    // The bytes move from the collection to the table.
    collectedBytes -= bytes_;
    frameBytes += bytes_;
    bytes_ = 0;
    pictures_.clear();
    delays_.clear();
    recordsTouched = count;
    animFrameCount = count;
    animFramesLoaded = count > 0;
    animScreenWidth = count > 0 ? animFrames[0].image.width : 0;
    animScreenHeight = count > 0 ? animFrames[0].image.height : 0;
}

namespace {

void SwapRecords(AnimFrame& a, AnimFrame& b) {
    std::swap(a.height, b.height);
    std::swap(a.width, b.width);
    std::swap(a.left, b.left);
    std::swap(a.top, b.top);
    std::swap(a.delay, b.delay);
    std::swap_ranges(a.palette, a.palette + sizeof a.palette, b.palette);
    std::swap(a.flags, b.flags);
    std::swap(a.transparentIndex, b.transparentIndex);
    a.image.Swap(b.image);
}

}  // namespace

SavedFrameTable& SavedFrameTable::operator=(SavedFrameTable&& other) noexcept {
    if (this != &other) {
        Free();
        Swap(other);
    }
    return *this;
}

bool SavedFrameTable::BelongsToTable() const { return table_ == 0 || table_ == tableSerial; }

void SavedFrameTable::Swap(SavedFrameTable& other) {
    frames.swap(other.frames);
    std::swap(screenWidth, other.screenWidth);
    std::swap(screenHeight, other.screenHeight);
    std::swap(table_, other.table_);
    std::swap(bytes_, other.bytes_);
}

void SavedFrameTable::Free() {
    savedBytes -= bytes_;
    bytes_ = 0;
    table_ = 0;
    frames.clear();
    frames.shrink_to_fit();
}

bool ExchangeFrameTable(SavedFrameTable& saved) {
    if (!saved.Holds() || !saved.BelongsToTable() || saved.frames.size() > static_cast<size_t>(kMaxAnimFrames))
        return false;
    const int incoming = static_cast<int>(saved.frames.size());
    std::vector<AnimFrame> outgoing(static_cast<size_t>(animFrameCount));
    for (int i = 0; i < animFrameCount; ++i) SwapRecords(outgoing[static_cast<size_t>(i)], animFrames[i]);
    uint64_t incomingBytes = 0;
    for (int i = 0; i < incoming; ++i) {
        SwapRecords(animFrames[i], saved.frames[static_cast<size_t>(i)]);
        incomingBytes += BlockBytes(animFrames[i].image);
    }
    saved.frames.swap(outgoing);
    std::swap(animScreenWidth, saved.screenWidth);
    std::swap(animScreenHeight, saved.screenHeight);
    // The bytes of the pictures that left the table are now the saved table's.
    savedBytes = savedBytes - saved.bytes_ + frameBytes;
    saved.bytes_ = frameBytes;
    saved.table_ = tableSerial;
    frameBytes = incomingBytes;
    recordsTouched = std::max(recordsTouched, incoming);
    animFrameCount = incoming;
    animFramesLoaded = true;
    return true;
}

MovieFrameSet AnimationForMovie() {
    MovieFrameSet set;
    if (!animFramesLoaded || animFrameCount < 1 || animFrames[0].image.Empty()) return set;
    set.count = animFrameCount;
    set.width = animFrames[0].image.width;
    set.height = animFrames[0].image.height;
    return set;
}

const uint8_t* MovieFrameRows(int index, uint32_t* rowBytes) {
    if (!animFramesLoaded || index < 0 || index >= animFrameCount) return nullptr;
    const CDib& image = animFrames[index].image;
    if (image.Empty() || image.bitsPerPixel != 24) return nullptr;
    *rowBytes = image.rowBytes;
    return image.bits;
}
