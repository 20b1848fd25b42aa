#include "core/dib.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <memory>
#include <new>
#include <utility>

#include "core/bigalloc.h"

const char* const kDibAllocFailure = "Can't allocate DIB memory.";

namespace {

std::atomic<uint64_t> nextSerial{1};

uint64_t NewSerial() { return nextSerial.fetch_add(1, std::memory_order_relaxed); }

uint32_t ReadLE32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int HighestBit(uint32_t v) {
    int b = -1;
    while (v) {
        ++b;
        v >>= 1;
    }
    return b;
}

// One colour channel read through a mask: (value AND mask) moved so that the mask's
// highest bit lands on bit 7. Lower bits are not replicated; an empty mask gives 0.
struct MaskChannel {
    uint32_t mask = 0;
    int shift = 0;  // > 0 right, < 0 left
    explicit MaskChannel(uint32_t m) : mask(m), shift(m ? HighestBit(m) - 7 : 0) {}
    uint8_t operator()(uint32_t v) const {
        uint32_t x = v & mask;
        return static_cast<uint8_t>(shift >= 0 ? x >> shift : x << -shift);
    }
};

}  // namespace

int RoundDibDepth(int depth) {
    if (depth == 1) return 1;
    if (depth <= 4) return 4;
    if (depth <= 8) return 8;
    if (depth <= 16) return 16;
    if (depth <= 24) return 24;
    if (depth <= 32) return 32;
    return 64;
}

CDib::CDib(const CDib& other) { Assign(other); }

CDib& CDib::operator=(const CDib& other) {
    Assign(other);
    return *this;
}

CDib::~CDib() { Free(); }

void CDib::Free() {
    std::free(info);
    info = nullptr;
    bits = nullptr;
    imageSize = 0;
    width = height = bitsPerPixel = 0;
    rowBytes = 0;
    colourCount = 0;
    blockSize = 0;
    serial = NewSerial();
}

void CDib::Touch() {
    colourCount = 0;
    serial = NewSerial();
}

void CDib::Swap(CDib& other) {
    std::swap(info, other.info);
    std::swap(bits, other.bits);
    std::swap(imageSize, other.imageSize);
    std::swap(width, other.width);
    std::swap(height, other.height);
    std::swap(bitsPerPixel, other.bitsPerPixel);
    std::swap(rowBytes, other.rowBytes);
    std::swap(colourCount, other.colourCount);
    std::swap(alphaMode, other.alphaMode);
    std::swap(blockSize, other.blockSize);
    std::swap(serial, other.serial);
}

void CDib::Assign(const CDib& other) {
    if (this == &other) return;
    Free();
    if (other.info == nullptr) {
        alphaMode = other.alphaMode;
        return;
    }
    auto* block = static_cast<uint8_t*>(AllocateBlock(other.blockSize));
    if (block == nullptr) throw kDibAllocFailure;
    std::memcpy(block, other.info, other.blockSize);
    info = block;
    imageSize = other.imageSize;
    width = other.width;
    height = other.height;
    bitsPerPixel = other.bitsPerPixel;
    rowBytes = other.rowBytes;
    blockSize = other.blockSize;
    alphaMode = other.alphaMode;
    colourCount = 0;
    bits = info + Header()->biSize + 4 * static_cast<size_t>(Header()->biClrUsed);
    serial = NewSerial();
}

uint8_t* CDib::Create(int w, int h, int depth) {
    int d = RoundDibDepth(depth);
    // The same layout keeps its block: a large block costs a fresh mapping each time.
    const bool reuse = info != nullptr && w == width && h == height && d == bitsPerPixel;
    if (!reuse) Free();
    if (w < 1 || h < 1 || w > kMaxDibSide || h > kMaxDibSide) throw kDibAllocFailure;
    uint64_t row = DibRowBytes(static_cast<uint64_t>(w), static_cast<uint64_t>(d));
    uint64_t pixelBytes = row * static_cast<uint64_t>(h);
    uint32_t entries = d <= 8 ? (1u << d) : 0;
    uint64_t total = sizeof(DibHeader) + 4ull * entries + pixelBytes;
    // The block is a DIB: GDI cannot take pixel data of 4 GiB or more.
    if (pixelBytes > 0xFFFFFFFFull || total > 0xFFFFFFFFull) throw kDibAllocFailure;
    if (!reuse) {
        auto* block = static_cast<uint8_t*>(AllocateBlock(static_cast<size_t>(total)));
        if (block == nullptr) throw kDibAllocFailure;
        info = block;
    }
    DibHeader* hdr = Header();
    std::memset(hdr, 0, sizeof *hdr);
    hdr->biSize = sizeof(DibHeader);
    hdr->biWidth = w;
    hdr->biHeight = h;
    hdr->biPlanes = 1;
    hdr->biBitCount = static_cast<uint16_t>(d);
    hdr->biSizeImage = static_cast<uint32_t>(pixelBytes);
    hdr->biClrUsed = entries;
    bits = info + sizeof(DibHeader) + 4 * entries;
    imageSize = static_cast<uint32_t>(pixelBytes);
    width = static_cast<uint16_t>(w);
    height = static_cast<uint16_t>(h);
    bitsPerPixel = static_cast<uint16_t>(d);
    rowBytes = static_cast<uint32_t>(row);
    blockSize = static_cast<uint32_t>(total);
    colourCount = 0;
    serial = NewSerial();
    return bits;
}

uint8_t* CDib::CreateFromPalette(int w, int h, const uint8_t* rgbTriples, int depth) {
    Create(w, h, depth);
    SetPalette(rgbTriples);
    return bits;
}

void CDib::SetPalette(const uint8_t* rgb) {
    if (rgb == nullptr || info == nullptr) return;
    uint8_t* table = ColourTable();
    for (uint32_t i = 0; i < Header()->biClrUsed; ++i) {
        table[4 * i + 0] = rgb[3 * i + 2];
        table[4 * i + 1] = rgb[3 * i + 1];
        table[4 * i + 2] = rgb[3 * i + 0];
        table[4 * i + 3] = 0;
    }
}

void CDib::Fill(uint8_t red, uint8_t green, uint8_t blue) {
    if (info == nullptr) return;
    colourCount = 0;
    if (bitsPerPixel != 24) {
        std::memset(bits, 0, imageSize);
        return;
    }
    for (int r = 0; r < height; ++r) {
        uint8_t* p = Row(r);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

void CDib::FillRGB(uint32_t rgb) {
    Fill(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}

void CDib::FillBGR(const uint8_t* bgr) { Fill(bgr[2], bgr[1], bgr[0]); }

uint32_t CDib::CountColours() {
    if (colourCount != 0) return static_cast<uint32_t>(colourCount);
    if (info == nullptr || bitsPerPixel != 24) return 0;
    uint64_t pixels = static_cast<uint64_t>(width) * height;
    std::unique_ptr<uint32_t[]> values(new (std::nothrow) uint32_t[pixels]);
    if (!values) return 0;
    uint64_t k = 0;
    for (int r = 0; r < height; ++r) {
        const uint8_t* p = Row(r);
        for (int x = 0; x < width; ++x, p += 3)
            values[k++] = static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
    std::sort(values.get(), values.get() + pixels);
    uint32_t count = 1;
    for (uint64_t i = 1; i < pixels; ++i)
        if (values[i] != values[i - 1]) ++count;
    colourCount = static_cast<int32_t>(count);
    return count;
}

const uint8_t* UnpackIndices(const uint8_t* row, int depth, int width, uint8_t* into) {
    switch (depth) {
        case 8: return row;
        case 4:
            for (int x = 0; x < width; ++x) into[x] = static_cast<uint8_t>(x & 1 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
            return into;
        case 2:
            for (int x = 0; x < width; ++x) into[x] = static_cast<uint8_t>((row[x >> 2] >> (6 - 2 * (x & 3))) & 3);
            return into;
        default:
            for (int x = 0; x < width; ++x) into[x] = static_cast<uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
            return into;
    }
}

namespace {

// What the row converters of ConvertTo24 read besides the rows: the colour table, the
// channel masks and how alpha is taken.
struct RowSource {
    const uint8_t* table;  // 256 entries of 4 bytes
    uint32_t entries;      // entries the file holds; an index beyond them shows black
    MaskChannel red, green, blue;
    uint8_t alpha;
    uint8_t* indices;  // room for one row of indices
    int depth;
};
using RowConverter = void (*)(const uint8_t* s, uint8_t* d, int w, const RowSource& src);

void PaletteRow(const uint8_t* s, uint8_t* d, int w, const RowSource& src) {
    const uint8_t* index = UnpackIndices(s, src.depth, w, src.indices);
    for (int x = 0; x < w; ++x, d += 3) {
        if (index[x] < src.entries) {
            const uint8_t* entry = src.table + 4 * index[x];
            d[0] = entry[0];
            d[1] = entry[1];
            d[2] = entry[2];
        } else {
            d[0] = d[1] = d[2] = 0;
        }
    }
}

void Row16(const uint8_t* s, uint8_t* d, int w, const RowSource& src) {
    for (int x = 0; x < w; ++x, s += 2, d += 3) {
        if (src.alpha == 2) {  // grey and alpha, one byte each
            d[0] = d[1] = d[2] = static_cast<uint8_t>(s[0] * s[1] / 256);
        } else {
            const uint32_t v = static_cast<uint32_t>(s[0]) | static_cast<uint32_t>(s[1]) << 8;
            d[0] = src.blue(v);
            d[1] = src.green(v);
            d[2] = src.red(v);
        }
    }
}

void Row24(const uint8_t* s, uint8_t* d, int w, const RowSource&) { std::memcpy(d, s, static_cast<size_t>(w) * 3); }

void Row32(const uint8_t* s, uint8_t* d, int w, const RowSource& src) {
    for (int x = 0; x < w; ++x, s += 4, d += 3) {
        if (src.alpha == 1) {  // colour premultiplied by alpha
            d[0] = static_cast<uint8_t>(s[0] * s[3] / 256);
            d[1] = static_cast<uint8_t>(s[1] * s[3] / 256);
            d[2] = static_cast<uint8_t>(s[2] * s[3] / 256);
        } else if (src.alpha == 2) {  // 16-bit grey and 16-bit alpha
            const uint64_t grey = static_cast<uint64_t>(s[0]) | static_cast<uint64_t>(s[1]) << 8;
            const uint64_t a = static_cast<uint64_t>(s[2]) | static_cast<uint64_t>(s[3]) << 8;
            d[0] = d[1] = d[2] = static_cast<uint8_t>(grey * a >> 24);
        } else {
            const uint32_t v = ReadLE32(s);
            d[0] = src.blue(v);
            d[1] = src.green(v);
            d[2] = src.red(v);
        }
    }
}

void Row48(const uint8_t* s, uint8_t* d, int w, const RowSource&) {  // the high byte of each 16-bit sample
    for (int x = 0; x < w; ++x, s += 6, d += 3) {
        d[0] = s[1];
        d[1] = s[3];
        d[2] = s[5];
    }
}

void Row64(const uint8_t* s, uint8_t* d, int w, const RowSource&) {  // bytes 0, 2 and 4 of each 8-byte pixel
    for (int x = 0; x < w; ++x, s += 8, d += 3) {
        d[0] = s[0];
        d[1] = s[2];
        d[2] = s[4];
    }
}

// The converter of a source depth; null for a depth that cannot be converted.
RowConverter ConverterFor(int depth) {
    switch (depth) {
        case 1:
        case 2:
        case 4:
        case 8: return PaletteRow;
        case 16: return Row16;
        case 24: return Row24;
        case 32: return Row32;
        case 48: return Row48;
        case 64: return Row64;
        default: return nullptr;
    }
}

// The channel masks of a source: its bit fields, or the fixed layout of its depth.
void ChannelMasks(const DibHeader& src, const uint8_t* header, uint32_t masks[3]) {
    if (src.biCompression == 3 && src.biSize >= 40) {
        for (int i = 0; i < 3; ++i) masks[i] = ReadLE32(header + 40 + 4 * i);
    } else if (src.biBitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
}

}  // namespace

int CDib::ConvertTo24(const uint8_t* header, const uint8_t* pixels, uint64_t pixelBytes, void (*progress)(int tenths)) {
    // Work on a copy of the header fields: `header` may lie inside this picture's own block.
    DibHeader src;
    std::memcpy(&src, header, sizeof src);
    const int depth = src.biBitCount;
    if (depth <= 8 && src.biClrUsed == 0) src.biClrUsed = 1u << depth;
    uint32_t masks[3];
    ChannelMasks(src, header, masks);
    // The colour table may lie in this picture's own block, which Create frees: keep it.
    const uint32_t entries = depth <= 8 ? std::min<uint32_t>(src.biClrUsed, 256) : 0;
    uint8_t table[256 * 4] = {};
    std::memcpy(table, header + src.biSize, 4 * static_cast<size_t>(entries));
    if (pixels == nullptr) {
        pixels = header + src.biSize + 4 * static_cast<size_t>(src.biClrUsed);
        if (src.biCompression == 3 && src.biSize == 40) pixels += 12;
    }
    const int w = src.biWidth < 0 ? -src.biWidth : src.biWidth;
    const int h = src.biHeight < 0 ? -src.biHeight : src.biHeight;
    const uint64_t srcRow = DibRowBytes(static_cast<uint64_t>(w), static_cast<uint64_t>(depth));
    const uint8_t alpha = alphaMode;

    Create(w, h, 24);
    const RowConverter convert = ConverterFor(depth);
    const uint64_t rows = srcRow ? std::min<uint64_t>(static_cast<uint64_t>(h), pixelBytes / srcRow) : 0;
    // Rows the source does not hold are black; so is every row's padding.
    if (convert == nullptr || rows < static_cast<uint64_t>(h)) {
        std::memset(bits, 0, imageSize);
        if (convert == nullptr) return -1;
    } else if (depth != 24 && rowBytes > static_cast<uint32_t>(w) * 3) {
        for (int r = 0; r < h; ++r) std::memset(Row(r) + w * 3, 0, rowBytes - w * 3);
    }
    int shown = 0;
    const auto tell = [&](uint64_t done) {
        const int tenths = static_cast<int>(done * 10 / static_cast<uint64_t>(h));
        if (progress != nullptr && tenths > shown) progress(shown = tenths);
    };
    if (depth == 24 && srcRow == rowBytes) {
        // One copy in tenths, so that a long load still shows its progress.
        for (uint64_t r = 0; r < rows;) {
            const uint64_t next = std::min<uint64_t>(rows, r + std::max<uint64_t>(1, static_cast<uint64_t>(h) / 10));
            std::memcpy(bits + r * srcRow, pixels + r * srcRow, static_cast<size_t>((next - r) * srcRow));
            tell(r = next);
        }
        return 0;
    }
    std::vector<uint8_t> indices(depth <= 8 ? static_cast<size_t>(w) : 0);
    const RowSource source{table, entries, MaskChannel(masks[0]), MaskChannel(masks[1]), MaskChannel(masks[2]),
                           alpha, indices.data(), depth};
    for (uint64_t r = 0; r < rows; ++r) {
        tell(r);
        convert(pixels + r * srcRow, Row(static_cast<int>(r)), w, source);
    }
    return 0;
}

int CDib::MakeTrueColour() {
    if (info == nullptr) return 0;
    // A 24-bit picture converts to itself: skip the copy.
    if (bitsPerPixel == 24) return 0;
    CDib copy(*this);
    alphaMode = copy.alphaMode;
    return ConvertTo24(copy.info, copy.bits, copy.imageSize);
}

void CDib::PasteRows(int x, int y, const uint8_t* pixels, int srcWidth, int srcHeight) {
    if (info == nullptr || pixels == nullptr || srcWidth <= 0 || srcHeight <= 0) return;
    if (x >= width || y >= height || x <= -srcWidth || y <= -srcHeight) return;
    const int x0 = std::max(x, 0);
    const int x1 = std::min(x + srcWidth, static_cast<int>(width));
    const size_t bytes = static_cast<size_t>(x1 - x0) * 3;
    const size_t srcStart = static_cast<size_t>(x0 - x) * 3;
    const uint64_t srcRow = DibRowBytes(static_cast<uint64_t>(srcWidth), 24);
    for (int s = std::max(0, -y); s < srcHeight && y + s < height; ++s) {
        const uint8_t* from = pixels + static_cast<size_t>(srcHeight - 1 - s) * srcRow + srcStart;
        uint8_t* to = Row(height - 1 - (y + s)) + static_cast<size_t>(x0) * 3;
        std::memcpy(to, from, bytes);
    }
}

void CDib::PlotPixel(int x, int y, const uint8_t* bgr) {
    if (info == nullptr) return;
    int r = height - y;
    if (r < 0 || r >= height || x < 0 || x >= width) return;
    uint8_t* p = Row(r) + static_cast<size_t>(x) * bitsPerPixel / 8;
    p[0] = bgr[0];
    p[1] = bgr[1];
    p[2] = bgr[2];
}

void CDib::DrawCircle(int cx, int cy, int radius, const uint8_t* bgr) {
    int r = radius;
    int decision = 3 - 2 * r;
    for (int i = 0; i <= r; ++i) {
        PlotPixel(cx + i, cy + r, bgr);
        PlotPixel(cx - i, cy + r, bgr);
        PlotPixel(cx + i, cy - r, bgr);
        PlotPixel(cx - i, cy - r, bgr);
        PlotPixel(cx + r, cy + i, bgr);
        PlotPixel(cx - r, cy + i, bgr);
        PlotPixel(cx + r, cy - i, bgr);
        PlotPixel(cx - r, cy - i, bgr);
        if (decision < 0) {
            decision += 4 * i + 6;
        } else {
            decision += 4 * i + 10 - 4 * r;
            --r;
        }
    }
}

void CDib::FlipRows() {
    if (Empty()) return;
    for (int i = 0, j = height - 1; i < j; ++i, --j) std::swap_ranges(Row(i), Row(i) + rowBytes, Row(j));
    Touch();
}
