// The body every reader's fuzz target shares: the header probe, then both phases and the
// conversion to 24 bits through the decode entry, exactly as the loader runs them, on
// the bytes libFuzzer gives. A target is one line naming its file type.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/decode.h"
#include "core/frames.h"

namespace fuzz {

// Pictures above this many pixels are not decoded: the real loader allows larger ones,
// but the fuzzer's memory must stay in bounds.
constexpr uint64_t kMaxPixels = uint64_t{1} << 22;

inline int RefuseLargePictures(int width, int height, int, void*) {
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPixels ? 0 : -1;
}

inline int DecodeInput(FileType type, const uint8_t* data, size_t size) {
    // The real loader allows far more frame memory.
    animFrameMemoryLimit = uint64_t{64} << 20;
    uint16_t w = 0, h = 0, d = 0;
    ProbeImage(type, data, size, &w, &h, &d);
    CDib picture;
    ImageFacts facts;
    bool headerPassed = false;
    try {
        if (DecodeImage(type, data, size, picture, facts, &headerPassed, RefuseLargePictures) == 0)
            picture.MakeTrueColour();
    } catch (const char*) {
    }
    ReleaseAnimFrames();
    return 0;
}

}  // namespace fuzz
