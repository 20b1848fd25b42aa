// libFuzzer entry for the BMP reader: both phases and the conversion to 24 bits, exactly
// as the loader runs them, on bytes held in memory.
#include <cstddef>
#include <cstdint>

#include "codecs/bmp.h"
#include "core/current_image.h"
#include "core/filemem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (LoadBytesToMemory(data, size) == nullptr) return 0;
    uint16_t h = 0, w = 0, d = 0;
    if (ReadBmpHeader(&h, &w, &d) == 0) {
        try {
            // Keep the fuzzer's memory in bounds: the real loader allows larger pictures.
            if (static_cast<uint64_t>(w) * h <= (1u << 22)) {
                CurrentImage.dib.Create(w, h, d);
                ReadBmpPixels();
                CurrentImage.dib.MakeTrueColour();
            }
        } catch (const char*) {
        }
    }
    FileMem.Release();
    CurrentImage.dib.Free();
    return 0;
}
