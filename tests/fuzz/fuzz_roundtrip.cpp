// libFuzzer entry: a small picture made from the input bytes is reduced with the chosen
// method and depth, written as BMP and read back; the result must have the picture's size.
// Or it is written as GIF (always reduced to 8 bits by merging colours) and read back; the
// result must be the reduced picture exactly.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/appstate.h"
#include "core/current_image.h"
#include "view/open.h"
#include "core/quantise.h"
#include "core/save.h"
#include "platform/native/host_native.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    static const std::string bmpPath = "/tmp/lumora-fuzz-roundtrip-" + std::to_string(::getpid()) + ".bmp";
    static const std::string gifPath = "/tmp/lumora-fuzz-roundtrip-" + std::to_string(::getpid()) + ".gif";
    const bool gif = (data[2] & 4) != 0;
    const std::string& path = gif ? gifPath : bmpPath;
    const int w = 1 + data[0] % 24;
    const int h = 1 + data[1] % 24;
    static const int depths[] = {1, 4, 8, 24};
    saveDepth = depths[data[2] % 4];
    ditherMethod = static_cast<char>('1' + data[3] % 3);
    data += 4;
    size -= 4;
    try {
        CurrentImage.dib.Create(w, h, 24);
        for (uint32_t i = 0; i < CurrentImage.dib.imageSize; ++i)
            CurrentImage.dib.bits[i] = size ? data[i % size] : static_cast<uint8_t>(i);
        CurrentImage.saveType = gif ? FT_GIF : FT_BMP;
        CDib expected;
        if (gif) {
            CDib copy(CurrentImage.dib);
            ditherMethod = '3';
            if (QuantiseImage(8, copy) == nullptr) std::abort();
            expected.Assign(quantisedImage);
            ReleaseQuantisedImage();
            expected.MakeTrueColour();
        }
        if (WriteImageFile(path) == 0) {
            std::string p = path;
            if (LoadImageFile(p, 0) != 0 || CurrentImage.dib.width != w || CurrentImage.dib.height != h) std::abort();
            for (int y = 0; gif && y < h; ++y)
                if (std::memcmp(CurrentImage.dib.Row(y), expected.Row(y), static_cast<size_t>(3 * w)) != 0) std::abort();
        }
    } catch (const char*) {
    }
    CurrentImage.dib.Free();
    // The native host keeps every title and message shown; forgotten per input they
    // neither pile up nor make libFuzzer scan the heap for leaks after each input.
    NativeHostReset();
    return 0;
}
