#include "core/frames.h"

AnimFrame animFrames[kMaxAnimFrames];
uint16_t animScreenWidth = 0;
uint16_t animScreenHeight = 0;
bool animFramesLoaded = false;
uint64_t animFrameMemoryLimit = kDefaultFrameMemoryLimit;

namespace {

uint64_t frameBytes = 0;

uint64_t BlockBytes(const CDib& dib) { return dib.Empty() ? 0 : sizeof(DibHeader) + uint64_t{dib.imageSize}; }

}  // namespace

uint64_t AnimFrameBytes() { return frameBytes; }

void CreateAnimFrameImage(int index, int w, int h) {
    CDib& image = animFrames[index].image;
    frameBytes -= BlockBytes(image);
    image.Free();
    const uint64_t wanted = sizeof(DibHeader) + DibRowBytes(static_cast<uint64_t>(w), 24) * static_cast<uint64_t>(h);
    if (frameBytes + wanted > animFrameMemoryLimit) throw kDibAllocFailure;
    image.Create(w, h, 24);
    frameBytes += BlockBytes(image);
}

void ReleaseAnimFrames() {
    for (AnimFrame& frame : animFrames) {
        frame.image.Free();
        frame.delay = 0;
        frame.flags = 0;
        frame.transparentIndex = 0;
    }
    frameBytes = 0;
    animFrameCount = 0;
    animFramesLoaded = false;
}
