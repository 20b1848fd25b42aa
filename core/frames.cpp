#include "core/frames.h"

#include <algorithm>

AnimFrame animFrames[kMaxAnimFrames];
uint16_t animScreenWidth = 0;
uint16_t animScreenHeight = 0;
bool animFramesLoaded = false;
uint64_t animFrameMemoryLimit = kDefaultFrameMemoryLimit;

namespace {

uint64_t frameBytes = 0;
// Records from here on have held nothing since the last release: a release clears only
// the records before it instead of walking the whole table (megabytes) every time.
int recordsTouched = 0;

uint64_t BlockBytes(const CDib& dib) { return dib.Empty() ? 0 : sizeof(DibHeader) + uint64_t{dib.imageSize}; }

}  // namespace

uint64_t AnimFrameBytes() { return frameBytes; }

void CreateAnimFrameImage(int index, int w, int h) {
    if (index + 1 > recordsTouched) recordsTouched = index + 1;
    CDib& image = animFrames[index].image;
    frameBytes -= BlockBytes(image);
    image.Free();
    const uint64_t wanted = sizeof(DibHeader) + DibRowBytes(static_cast<uint64_t>(w), 24) * static_cast<uint64_t>(h);
    if (frameBytes + wanted > animFrameMemoryLimit) throw kDibAllocFailure;
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
}
