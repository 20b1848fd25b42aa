#include "core/readers.h"

#include "codecs/bmp.h"
#include "codecs/gif.h"
#include "core/frames.h"

namespace {

int BmpHeader(const std::string&, uint16_t* height, uint16_t* width, uint16_t* depth) {
    return ReadBmpHeader(height, width, depth);
}

// The frames of the previous file go before a new one is read.
int GifHeader(const std::string&, uint16_t* height, uint16_t* width, uint16_t* depth) {
    ReleaseAnimFrames();
    return ReadGifHeader(height, width, depth);
}

int GifProbe(const std::string&, uint16_t* height, uint16_t* width, uint16_t* depth) {
    return ProbeGifHeader(height, width, depth);
}

const ImageReader kReaders[] = {
    {FT_BMP, true, BmpHeader, ReadBmpPixels, nullptr},
    {FT_GIF, true, GifHeader, ReadGifPixels, GifProbe},
};

}  // namespace

const ImageReader* FindImageReader(FileType type) {
    for (const ImageReader& reader : kReaders)
        if (reader.type == type) return &reader;
    return nullptr;
}
