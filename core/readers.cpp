#include "core/readers.h"

#include "codecs/bmp.h"

namespace {

int BmpHeader(const std::string&, uint16_t* height, uint16_t* width, uint16_t* depth) {
    return ReadBmpHeader(height, width, depth);
}

const ImageReader kReaders[] = {
    {FT_BMP, true, BmpHeader, ReadBmpPixels},
};

}  // namespace

const ImageReader* FindImageReader(FileType type) {
    for (const ImageReader& reader : kReaders)
        if (reader.type == type) return &reader;
    return nullptr;
}
