// Colour reduction: dispatch between the methods, the fixed-palette method '1', the
// serpentine Floyd-Steinberg mapping shared by the adaptive methods, and the command
// "Reduce Colour Depth". The octree quantiser lives in quantise_octree.cpp, the merging
// quantiser in quantise_merge.cpp.
#include "core/quantise.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "platform/host.h"
#include "core/quantise_internal.h"
#include "core/report.h"
#include "base/text.h"
#include "core/title.h"

char ditherMethod = '2';
CDib quantisedImage;

namespace quant {

SharedTables::SharedTables() {
    for (int v = 0; v < 256; ++v) {
        uint16_t c0 = 0, c1 = 0, c2 = 0;
        for (int k = 0; k < 5; ++k) {
            const int bit = (v >> (7 - k)) & 1;
            c0 = static_cast<uint16_t>(c0 | bit << (14 - 3 * k));
            c1 = static_cast<uint16_t>(c1 | bit << (13 - 3 * k));
            c2 = static_cast<uint16_t>(c2 | bit << (12 - 3 * k));
        }
        code0[v] = c0;
        code1[v] = c1;
        code2[v] = c2;
    }
    for (int d = -kSquareRange; d <= kSquareRange; ++d) squareStore[d + kSquareRange] = d * d;
    square = squareStore + kSquareRange;
}

const SharedTables& Tables() {
    static const SharedTables tables;
    return tables;
}

void ShowQuantiseTitle(const std::string& text) { HostSetTitle(text); }

int NearestEntry(const Palette& palette, int b, int g, int r) {
    const int32_t* sq = Tables().square;
    const int cb = (b & 0xF8) + 4, cg = (g & 0xF8) + 4, cr = (r & 0xF8) + 4;
    int32_t best = 200000;
    int index = 0;
    for (int i = 0; i < palette.count; ++i) {
        const int32_t d = sq[palette.blue[i] - cb] + sq[palette.green[i] - cg] + sq[palette.red[i] - cr];
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return index;
}

int MapSerpentine(const PixelRows& pixels, const Palette& palette, uint8_t* indices) {
    // clamp() covers -256..511 and limit() -256..255: the widest sums the diffusion can make.
    uint8_t clampTable[768];
    int8_t limitTable[512];
    for (int v = -256; v < 512; ++v) clampTable[v + 256] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    for (int e = -256; e < 256; ++e) limitTable[e + 256] = static_cast<int8_t>(e < -20 ? -20 : e > 20 ? 20 : e);
    const uint8_t* clampOf = clampTable + 256;
    const int8_t* limitOf = limitTable + 256;

    const int w = pixels.width;
    const size_t rowSlots = 3 * (static_cast<size_t>(w) + 2);
    // The palette index found for each 5-5-5 colour, -1 until looked up. Kept for the
    // process (nothing in the mapping pumps messages, so no second mapping can start
    // inside it): allocating it afresh for every picture cost small pictures more than
    // their mapping.
    static int16_t cache[32768];
    std::fill(cache, cache + 32768, int16_t{-1});
    std::unique_ptr<int16_t[]> rowA(new (std::nothrow) int16_t[rowSlots]());
    std::unique_ptr<int16_t[]> rowB(new (std::nothrow) int16_t[rowSlots]());
    if (!rowA || !rowB) return QUANT_MAP_FAILED;

    // Errors in sixteenths. Slot x + 1 belongs to pixel x; the two outer slots catch the
    // shares that fall off either end of a row and are never read.
    int16_t* current = rowA.get();
    int16_t* next = rowB.get();
    for (int y = 0; y < pixels.height; ++y) {
        std::memset(next, 0, rowSlots * sizeof(int16_t));
        const uint8_t* src = pixels.Row(y);
        uint8_t* out = indices + static_cast<uint64_t>(y) * static_cast<uint64_t>(w);
        const bool forward = (y & 1) == 0;
        const int step = forward ? 1 : -1;
        int x = forward ? 0 : w - 1;
        for (int n = 0; n < w; ++n, x += step) {
            const size_t here = 3 * (static_cast<size_t>(x) + 1);
            const size_t ahead = here + 3 * step;
            const size_t behind = here - 3 * step;
            const uint8_t* p = src + 3 * static_cast<size_t>(x);
            const int b = clampOf[p[0] + ((current[here + 0] + 8) >> 4)];
            const int g = clampOf[p[1] + ((current[here + 1] + 8) >> 4)];
            const int r = clampOf[p[2] + ((current[here + 2] + 8) >> 4)];
            const int key = (b >> 3) << 10 | (g >> 3) << 5 | (r >> 3);
            int index = cache[key];
            if (index < 0) {
                index = NearestEntry(palette, b, g, r);
                cache[key] = static_cast<int16_t>(index);
            }
            out[x] = static_cast<uint8_t>(index);
            const int err[3] = {limitOf[b - palette.blue[index]], limitOf[g - palette.green[index]],
                                limitOf[r - palette.red[index]]};
            for (int k = 0; k < 3; ++k) {
                const int e = err[k];
                current[ahead + k] = static_cast<int16_t>(current[ahead + k] + 7 * e);
                next[ahead + k] = static_cast<int16_t>(next[ahead + k] + e);
                next[here + k] = static_cast<int16_t>(next[here + k] + 5 * e);
                next[behind + k] = static_cast<int16_t>(next[behind + k] + 3 * e);
            }
        }
        std::swap(current, next);
    }
    return 0;
}

}  // namespace quant

namespace {

using quant::Palette;
using quant::PixelRows;

// 8 x 8 ordered-dither matrix, values 0..63.
const uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},   {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21},
};
const uint8_t kBitMask[8] = {128, 64, 32, 16, 8, 4, 2, 1};

// Fixed palettes of method '1', as red, green, blue triples.
const uint8_t kMonoPalette[2 * 3] = {0, 0, 0, 255, 255, 255};
// Index bit 0 = red on, bit 1 = green on, bit 2 = blue on; entries 8-15 repeat 0-7.
const uint8_t kPrimaryPalette[16 * 3] = {
    0, 0, 0,   255, 0, 0,   0, 255, 0,   255, 255, 0,   0, 0, 255,   255, 0, 255,   0, 255, 255,   255, 255, 255,
    0, 0, 0,   255, 0, 0,   0, 255, 0,   255, 255, 0,   0, 0, 255,   255, 0, 255,   0, 255, 255,   255, 255, 255,
};
// Levels of the 3-3-2 palette: its darkest entry is (32, 32, 64), not black.
const uint8_t kLevel8[8] = {32, 64, 96, 128, 160, 192, 224, 255};
const uint8_t kLevel4[4] = {64, 128, 192, 255};

std::string FailureText(int code, int bits) {
    switch (code) {
        case QUANT_INIT_FAILED: return "Error Initialising Quantisation Table";
        case QUANT_USER_ABORT: return "User Abort";
        case QUANT_MAP_FAILED: return "Error Quantising Image";
        case QUANT_DCQ_START: return "Error Starting DCQ";
        case QUANT_DCQ_TABLE: return "Error Building Quantisation Table";
        case QUANT_BAD_BITS: return FormatText("Illegal Quantisation bits per pixel <%d>", bits);
        default: return "Illegal Dithering Requested";
    }
}

bool SupportedBits(int bits) { return bits == 1 || bits == 4 || bits == 8; }

// Method '1' at 1 bit: grey through a stretch table, then the ordered matrix by storage row.
void OrderedGrey(const CDib& image) {
    quantisedImage.CreateFromPalette(image.width, image.height, kMonoPalette, 1);
    std::memset(quantisedImage.bits, 0, quantisedImage.imageSize);
    // The stretch steps by 32/27 per grey level, summed as it goes; 32/27 * 27 is 32 on
    // paper, so sums within a hair of an integer count as that integer.
    uint8_t stretch[256];
    double v = 0.0;
    for (int g = 0; g < 256; ++g, v += 32.0 / 27.0) {
        const long long t = TruncNear(v);
        stretch[g] = static_cast<uint8_t>(v > 254 ? 254 : v < 1 ? 1 : t);
    }
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* p = image.Row(y);
        uint8_t* out = quantisedImage.Row(y);
        const uint8_t* matrixRow = kBayer[y & 7];
        for (int x = 0; x < image.width; ++x, p += 3) {
            const int grey = p[2] * 30 / 100 + p[1] * 59 / 100 + p[0] * 11 / 100;
            const int c = stretch[grey] >> 2;
            if (c > matrixRow[x & 7]) out[x >> 3] = static_cast<uint8_t>(out[x >> 3] | kBitMask[x & 7]);
        }
    }
}

// Method '1' at 4 bits: each primary on or off against the matrix, indexed column first.
void OrderedColour(const CDib& image) {
    quantisedImage.CreateFromPalette(image.width, image.height, kPrimaryPalette, 4);
    std::memset(quantisedImage.bits, 0, quantisedImage.imageSize);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* p = image.Row(y);
        uint8_t* out = quantisedImage.Row(y);
        for (int x = 0; x < image.width; ++x, p += 3) {
            const int t = 4 * kBayer[x & 7][y & 7];
            const int index = (p[2] > t ? 1 : 0) | (p[1] > t ? 2 : 0) | (p[0] > t ? 4 : 0);
            if (x & 1) out[x >> 1] = static_cast<uint8_t>(out[x >> 1] | index);
            else out[x >> 1] = static_cast<uint8_t>(index << 4);
        }
    }
}

// Method '1' at 8 bits: the 3-3-2 palette with one-pass diffusion on a copy of the picture,
// every share clamped as it is stored.
void Diffuse332(const CDib& image) {
    uint8_t palette[256 * 3];
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j)
            for (int k = 0; k < 4; ++k) {
                uint8_t* e = palette + 3 * (i * 32 + j * 4 + k);
                e[0] = kLevel8[i];
                e[1] = kLevel8[j];
                e[2] = kLevel4[k];
            }
    CDib work(image);  // throws kDibAllocFailure like any picture buffer
    quantisedImage.CreateFromPalette(image.width, image.height, palette, 8);
    std::memset(quantisedImage.bits, 0, quantisedImage.imageSize);
    const int w = image.width, h = image.height;
    const auto add = [](uint8_t* p, int amount) {
        const int v = *p + amount;
        *p = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    };
    for (int y = 0; y < h; ++y) {
        uint8_t* row = work.Row(y);
        uint8_t* nextRow = y + 1 < h ? work.Row(y + 1) : nullptr;  // storage row y + 1
        uint8_t* out = quantisedImage.Row(y);
        for (int x = 0; x < w; ++x) {
            uint8_t* p = row + 3 * x;
            const int blue = p[0], green = p[1], red = p[2];
            out[x] = static_cast<uint8_t>((red & 0xE0) | ((green >> 3) & 0x1C) | (blue >> 6));
            const int err[3] = {(blue - kLevel4[blue >> 6]) >> 4, (green - kLevel8[green >> 5]) >> 4,
                                (red - kLevel8[red >> 5]) >> 4};
            for (int k = 0; k < 3; ++k) {
                const int e = err[k];
                if (x + 1 < w) add(p + 3 + k, 7 * e);
                if (nextRow == nullptr) continue;
                if (x + 1 < w) add(nextRow + 3 * (x + 1) + k, e);
                add(nextRow + 3 * x + k, 5 * e);
                if (x >= 1) add(nextRow + 3 * (x - 1) + k, 3 * e);
            }
        }
    }
}

// The adaptive methods: a palette of up to 2^bits colours, serpentine mapping, then the
// indices packed into quantisedImage.
int AdaptiveQuantise(int bits, const CDib& image, char method) {
    if (method != '2' && method != '3') return QUANT_BAD_METHOD;
    // Only 1, 4 and 8 bits have an index that fits a byte and a colour table of 2^bits.
    if (!SupportedBits(bits)) return QUANT_BAD_BITS;
    const int wanted = 1 << bits;
    const uint64_t w = image.width, h = image.height;
    const uint64_t pixelCount = w * h;
    if (pixelCount > SIZE_MAX) return QUANT_MAP_FAILED;
    std::unique_ptr<uint8_t[]> indices(new (std::nothrow) uint8_t[static_cast<size_t>(pixelCount)]);
    if (!indices) return QUANT_MAP_FAILED;

    PixelRows pixels;
    pixels.bits = image.bits;
    pixels.stride = image.rowBytes;
    pixels.width = image.width;
    pixels.height = image.height;
    auto palette = std::make_unique<Palette>();
    std::unique_ptr<uint8_t[]> copy;
    int code;
    if (method == '2') {
        code = quant::OctreeQuantise(pixels, wanted, palette.get(), indices.get());
    } else {
        // The merging quantiser pumps window messages, and a message handler may replace
        // or free the picture meanwhile: it works on a private copy of the pixels.
        const uint64_t rowBytes = 3 * w;
        if (rowBytes * h > SIZE_MAX) return QUANT_MAP_FAILED;
        copy.reset(new (std::nothrow) uint8_t[static_cast<size_t>(rowBytes * h)]);
        if (!copy) return QUANT_MAP_FAILED;
        for (uint64_t y = 0; y < h; ++y)
            std::memcpy(copy.get() + y * rowBytes, image.Row(static_cast<int>(y)), static_cast<size_t>(rowBytes));
        pixels.bits = copy.get();
        pixels.stride = rowBytes;
        LongWorkScope running(RUN_LONG_OPERATION);
        code = quant::MergeQuantise(pixels, wanted, palette.get(), indices.get());
        if (running.Cancelled()) code = QUANT_USER_ABORT;
    }
    if (code < 0) return code;

    uint8_t table[256 * 3] = {};  // entries no pixel uses stay black
    for (int i = 0; i < palette->count; ++i) {
        table[3 * i + 0] = palette->red[i];
        table[3 * i + 1] = palette->green[i];
        table[3 * i + 2] = palette->blue[i];
    }
    if (bits == 1) {
        // Two colours become black and white, the darker one black. A picture of a single
        // colour has no second entry to compare with: it turns black when it is nearer to
        // black than to white, white otherwise.
        const int sum0 = table[0] + table[1] + table[2];
        const int sum1 = table[3] + table[4] + table[5];
        const bool firstBlack = palette->count >= 2 ? sum0 < sum1 : 2 * sum0 < 3 * 255;
        const uint8_t first = firstBlack ? 0 : 255;
        std::memset(table, first, 3);
        std::memset(table + 3, 255 - first, 3);
    }

    quantisedImage.CreateFromPalette(pixels.width, pixels.height, table, bits);
    std::memset(quantisedImage.bits, 0, quantisedImage.imageSize);
    for (uint64_t y = 0; y < h; ++y) {
        const uint8_t* in = indices.get() + y * w;
        uint8_t* out = quantisedImage.Row(static_cast<int>(y));
        if (bits == 8) {
            std::memcpy(out, in, static_cast<size_t>(w));
        } else if (bits == 4) {
            for (uint64_t x = 0; x < w; ++x)
                out[x >> 1] = static_cast<uint8_t>(out[x >> 1] | (x & 1 ? in[x] & 0x0F : in[x] << 4));
        } else {
            for (uint64_t x = 0; x < w; ++x)
                if (in[x] & 1) out[x >> 3] = static_cast<uint8_t>(out[x >> 3] | kBitMask[x & 7]);
        }
    }
    return 0;
}

int Quantise(int bits, CDib& image) {
    if (image.Empty()) return QUANT_MAP_FAILED;
    if (ditherMethod == '1') {
        switch (bits) {
            case 1: OrderedGrey(image); return 0;
            case 4: OrderedColour(image); return 0;
            case 8: Diffuse332(image); return 0;
            default: return QUANT_BAD_BITS;
        }
    }
    return AdaptiveQuantise(bits, image, ditherMethod);
}

}  // namespace

uint8_t* QuantiseImage(int bits, CDib& image) {
    image.MakeTrueColour();
    int code;
    try {
        code = Quantise(bits, image);
    } catch (...) {
        quantisedImage.Free();
        throw;
    }
    if (code < 0) {
        quantisedImage.Free();
        ShowMessage(FailureText(code, bits), "Quantisation", kMbOk | kMbIconWarning);
        ShowTitle();
        return nullptr;
    }
    InputFile.SetTitleText(std::string(), "", quantisedImage.width, quantisedImage.height, bits);
    ShowTitle();
    return quantisedImage.info;
}

void ReleaseQuantisedImage() { quantisedImage.Free(); }

int SnapColourDepth(int entered) {
    const int v = static_cast<uint8_t>(entered);
    if (v >= 24) return 24;
    if (v >= 8) return 8;
    if (v >= 4) return 4;
    return 1;
}
