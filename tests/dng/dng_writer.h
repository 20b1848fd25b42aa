// Writes small camera DNG files with libtiff for the RAW tests: one CFA image, RGGB or
// X-Trans, 16-bit samples of a deterministic pattern, with the tags a DNG reader needs to
// process it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tiffio.h>

struct TestDng {
    int width = 96;
    int height = 64;
    int orientation = 1;  // the TIFF orientation tag: 1 as stored, 6 turned a quarter right
    std::string make = "Lumora";
    std::string model = "Test Camera";
    std::string dateTime = "2024:05:17 10:20:30";
    std::string artist;  // empty: no Artist tag
    bool xtrans = false;  // a 6 by 6 X-Trans colour filter instead of the 2 by 2 one
};

// The sensor value at (x, y): a colour gradient across the picture with a little texture,
// between the black level 256 and the white level 4095.
inline uint16_t TestDngSample(int x, int y, int width, int height) {
    const int colour = (y & 1) * 2 + (x & 1);  // 0 red, 1 and 2 green, 3 blue
    int v;
    switch (colour) {
        case 0: v = 300 + 3500 * x / width; break;
        case 3: v = 300 + 3500 * y / height; break;
        default: v = 300 + 1800 * (x + y) / (width + height); break;
    }
    v += static_cast<int>((static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) >> 26);
    return static_cast<uint16_t>(v > 4095 ? 4095 : v);
}

inline bool WriteTestDng(const std::string& path, const TestDng& dng) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) return false;
    const uint8_t version[4] = {1, 4, 0, 0};
    const uint16_t bayerRepeat[2] = {2, 2}, xtransRepeat[2] = {6, 6};
    const uint8_t bayer[4] = {0, 1, 1, 2};  // red, green / green, blue
    const uint8_t xtrans[36] = {1, 1, 0, 1, 1, 2, 1, 1, 2, 1, 1, 0, 2, 0, 1, 0, 2, 1,
                                1, 1, 2, 1, 1, 0, 1, 1, 0, 1, 1, 2, 0, 2, 1, 2, 0, 1};
    // sRGB-like camera: the XYZ (D65) to camera matrix of linear sRGB.
    const float colourMatrix[9] = {3.2406f, -1.5372f, -0.4986f, -0.9689f, 1.8758f, 0.0415f, 0.0557f, -0.2040f, 1.0570f};
    const float neutral[3] = {0.5f, 1.0f, 0.75f};
    const float black[1] = {256};
    const uint32_t white[1] = {4095};
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, 0);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(dng.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(dng.height));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, 32803);  // CFA
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, dng.orientation);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(dng.height));
    TIFFSetField(tif, TIFFTAG_MAKE, dng.make.c_str());
    TIFFSetField(tif, TIFFTAG_MODEL, dng.model.c_str());
    TIFFSetField(tif, TIFFTAG_DATETIME, dng.dateTime.c_str());
    if (!dng.artist.empty()) TIFFSetField(tif, TIFFTAG_ARTIST, dng.artist.c_str());
    TIFFSetField(tif, TIFFTAG_CFAREPEATPATTERNDIM, dng.xtrans ? xtransRepeat : bayerRepeat);
    if (dng.xtrans) TIFFSetField(tif, TIFFTAG_CFAPATTERN, 36, xtrans);
    else TIFFSetField(tif, TIFFTAG_CFAPATTERN, 4, bayer);
    TIFFSetField(tif, TIFFTAG_DNGVERSION, version);
    TIFFSetField(tif, TIFFTAG_UNIQUECAMERAMODEL, (dng.make + " " + dng.model).c_str());
    TIFFSetField(tif, TIFFTAG_COLORMATRIX1, 9, colourMatrix);
    TIFFSetField(tif, TIFFTAG_CALIBRATIONILLUMINANT1, 21);  // D65
    TIFFSetField(tif, TIFFTAG_ASSHOTNEUTRAL, 3, neutral);
    TIFFSetField(tif, TIFFTAG_BLACKLEVEL, 1, black);
    TIFFSetField(tif, TIFFTAG_WHITELEVEL, 1, white);
    std::vector<uint16_t> row(static_cast<size_t>(dng.width));
    bool ok = true;
    for (int y = 0; y < dng.height && ok; ++y) {
        for (int x = 0; x < dng.width; ++x) row[static_cast<size_t>(x)] = TestDngSample(x, y, dng.width, dng.height);
        ok = TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) == 1;
    }
    TIFFClose(tif);
    return ok;
}
