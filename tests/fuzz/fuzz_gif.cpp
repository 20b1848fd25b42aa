// libFuzzer entry for the GIF reader: both phases and the conversion to 24 bits, as the
// loader runs them, on bytes held in memory.
#include <cstddef>
#include <cstdint>

#include "codecs/gif.h"
#include "core/current_image.h"
#include "core/filemem.h"
#include "core/frames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Keep the fuzzer's memory in bounds: the real loader allows far more frame memory.
    animFrameMemoryLimit = uint64_t{64} << 20;
    if (LoadBytesToMemory(data, size) == nullptr) return 0;
    ReleaseAnimFrames();
    uint16_t h = 0, w = 0, d = 0;
    try {
        if (ReadGifHeader(&h, &w, &d) == 0 && static_cast<uint64_t>(w) * h <= (1u << 22)) {
            CurrentImage.dib.Create(w, h, d);
            ReadGifPixels();
            CurrentImage.dib.MakeTrueColour();
        }
    } catch (const char*) {
    }
    ReleaseAnimFrames();
    FileMem.Release();
    CurrentImage.dib.Free();
    return 0;
}
