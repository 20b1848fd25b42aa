// The body every reader's fuzz target shares: the header probe, then both phases and the
// conversion to 24 bits through the decode entry, exactly as the loader runs them, on
// the bytes libFuzzer gives. A target is one line naming its file type.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/decode.h"
#include "core/frames.h"
#include "platform/native/host_native.h"

namespace fuzz {

// Pictures above this many pixels (512 x 512) are not decoded: the real loader allows far
// larger ones, but one input must take milliseconds, not seconds, and the fuzzer's
// memory must stay in bounds.
constexpr uint64_t kMaxPixels = uint64_t{1} << 18;
// All composed animation frames of one input together: a few dozen frames of a small
// screen. Frames past it end the animation, as on a machine out of memory.
constexpr uint64_t kFrameMemory = uint64_t{1} << 20;

inline bool TooLarge(uint64_t width, uint64_t height) { return width * height > kMaxPixels; }

inline int RefuseLargePictures(int width, int height, int, void*) {
    return TooLarge(static_cast<uint64_t>(width), static_cast<uint64_t>(height)) ? -1 : 0;
}

// The native host keeps every message the reader shows. Forgotten after each input, they
// neither pile up over a run nor leave memory allocated at the end of an input, after
// which libFuzzer scans the whole heap for leaks (milliseconds each time).
inline void ForgetMessages() { NativeHostReset(); }

inline int DecodeInput(FileType type, const uint8_t* data, size_t size) {
    animFrameMemoryLimit = kFrameMemory;
    uint16_t w = 0, h = 0, d = 0;
    // The decode entry creates the picture at the header's size before asking
    // RefuseLargePictures; a header the probe already finds too large is not decoded, so
    // the fuzzer never allocates it.
    if (ProbeImage(type, data, size, &w, &h, &d) == 0 && TooLarge(w, h)) {
        ForgetMessages();
        return 0;
    }
    CDib picture;
    ImageFacts facts;
    bool headerPassed = false;
    try {
        if (DecodeImage(type, data, size, picture, facts, &headerPassed, RefuseLargePictures) == 0)
            picture.MakeTrueColour();
    } catch (const char*) {
    }
    // Emptying the table passes over all its records: only worth it when an animation
    // reader filled some.
    if (animFramesLoaded || AnimFrameBytes() != 0) ReleaseAnimFrames();
    ForgetMessages();
    return 0;
}

}  // namespace fuzz
