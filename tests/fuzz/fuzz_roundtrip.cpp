// libFuzzer entry: a small picture made from the input bytes is reduced with the chosen
// method and depth, written as BMP and read back; the result must have the picture's size.
// Or it is written as GIF (always reduced to 8 bits by merging colours) and read back; the
// result must be the reduced picture exactly. With a fifth control bit the GIF holds an
// animation of two to four such pictures, and every frame read back must be its reduced
// picture.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/frames.h"
#include "edit/animation.h"
#include "open/open.h"
#include "core/quantise.h"
#include "core/save.h"
#include "platform/native/host_native.h"

namespace {

// The picture reduced as the GIF writer reduces it, in 24 bits.
void Reduced(const CDib& picture, CDib* out) {
    CDib copy(picture);
    ditherMethod = '3';
    if (QuantiseImage(8, copy) == nullptr) std::abort();
    out->Assign(quantisedImage);
    ReleaseQuantisedImage();
    out->MakeTrueColour();
}

bool SameRows(const CDib& a, const CDib& b) {
    if (a.width != b.width || a.height != b.height) return false;
    for (int y = 0; y < a.height; ++y)
        if (std::memcmp(a.Row(y), b.Row(y), static_cast<size_t>(3 * a.width)) != 0) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    // In memory where the system has a memory file system: every save syncs its file to
    // disk before it replaces the old one, which on a disk takes longer than the rest.
    static const std::string stem = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    "/lumora-fuzz-roundtrip-" + std::to_string(::getpid());
    static const std::string bmpPath = stem + ".bmp";
    static const std::string gifPath = stem + ".gif";
    const bool gif = (data[2] & 4) != 0;
    const int frames = gif && (data[2] & 8) ? 2 + data[3] % 3 : 0;
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
        CDib expected[4];
        if (gif) Reduced(CurrentImage.dib, &expected[0]);
        // An animation as the GIF reader leaves one: each frame the picture with its bytes
        // turned by the frame's number.
        for (int i = 0; i < frames; ++i) {
            CreateAnimFrameImage(i, w, h);
            CDib& frame = animFrames[i].image;
            frame.Assign(CurrentImage.dib);
            for (uint32_t k = 0; k < frame.imageSize; ++k) frame.bits[k] = static_cast<uint8_t>(frame.bits[k] + 37 * i);
            AnimFrame& record = animFrames[i];
            record.left = record.top = 0;
            record.width = static_cast<uint16_t>(w);
            record.height = static_cast<uint16_t>(h);
            record.flags = 0;
            record.transparentIndex = 0;
            record.delay = 100;
            if (i > 0) Reduced(frame, &expected[i]);
        }
        if (frames > 0) {
            animFrameCount = frames;
            animFramesLoaded = true;
            animScreenWidth = static_cast<uint16_t>(w);
            animScreenHeight = static_cast<uint16_t>(h);
            CurrentImage.fileType = FT_GIF;
        }
        if (WriteImageFile(path) == 0) {
            std::string p = path;
            if (LoadImageFile(p) != 0 || CurrentImage.dib.width != w || CurrentImage.dib.height != h) std::abort();
            if (gif && !SameRows(CurrentImage.dib, expected[0])) std::abort();
            if (frames > 0 && animFrameCount != frames) std::abort();
            for (int i = 0; i < frames; ++i)
                if (!SameRows(animFrames[i].image, expected[i])) std::abort();
        }
    } catch (const char*) {
    }
    std::remove(path.c_str());
    StopAnimation();
    ReleaseAnimFrames();
    CurrentImage.fileType = FT_BMP;
    CurrentImage.dib.Free();
    // The native host keeps every title and message shown; forgotten per input they
    // neither pile up nor make libFuzzer scan the heap for leaks after each input.
    NativeHostReset();
    return 0;
}
