#include "codecs/bmp.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "codecs/palette.h"
#include "core/outstream.h"
#include "core/quantise.h"
#include "core/filemem.h"
#include "core/report.h"
#include "base/text.h"
#include "core/title.h"

namespace {

// What phase 1 learnt for phase 2.
struct BmpState {
    bool os2 = false;
    bool topDown = false;
    uint32_t compression = 0;
    uint32_t masks[3] = {0, 0, 0};
    int width = 0;
    int height = 0;
    int depth = 0;
};
BmpState bmp;

const char* CompressionText(uint32_t c) {
    switch (c) {
        case BMP_RGB: return ", No Compression";
        case BMP_RLE8: return ", Compression = RLE8";
        case BMP_RLE4: return ", Compression = RLE4";
        default: return ", Compression = BitFields";
    }
}

// Byte source of the RLE decoders: the next byte, or 0xFFFF at the end of the data.
int NextByte() {
    if (FileCursor.cur >= FileCursor.end) return 0xFFFF;
    return *FileCursor.cur++;
}

constexpr int kEnd = 0xFFFF;

}  // namespace

int DecodeRle8Row(uint8_t* buffer, int width) {
    int i = 0;
    for (;;) {
        int count = NextByte();
        if (count != 0) {
            int value = NextByte();
            if (value == kEnd) return -1;
            for (int k = 0; k < count; ++k, ++i)
                if (i < width) buffer[i] = static_cast<uint8_t>(value);
            continue;
        }
        int escape = NextByte();
        if (escape == 0) return 0;
        if (escape == 1) return i == width ? 0 : -1;
        if (escape == 2) {
            NextByte();  // a delta moves nothing here
            NextByte();
            continue;
        }
        if (escape == kEnd) return -1;
        for (int k = 0; k < escape; ++k, ++i) {
            int value = NextByte();
            if (value == kEnd) return -1;
            if (i < width) buffer[i] = static_cast<uint8_t>(value);
        }
        if (escape & 1) NextByte();
    }
}

int DecodeRle4Row(uint8_t* buffer, int n, int width) {
    std::memset(buffer, 0, static_cast<size_t>(n));
    int i = 0;
    const auto put = [&](int nibble) {
        if (i < n) {
            if (i & 1) buffer[i / 2] = static_cast<uint8_t>(buffer[i / 2] | nibble);
            else buffer[i / 2] = static_cast<uint8_t>(nibble << 4);
        }
        ++i;
    };
    for (;;) {
        int count = NextByte();
        if (count != 0) {
            int value = NextByte();
            if (value == kEnd) return -1;
            for (int k = 0; k < count; ++k) put((k & 1) ? value & 0x0F : value >> 4);
            continue;
        }
        int escape = NextByte();
        if (escape == 0) return 0;
        if (escape == 1) {
            // The marker ends a complete row: all n pixels, or the picture's own width
            // when the encoder did not pad the last row to n (as most encoders do not).
            if (i == n || i >= width) return 0;
            continue;  // an early end-of-bitmap marker is passed over
        }
        if (escape == 2) {
            NextByte();
            NextByte();
            continue;
        }
        if (escape == kEnd) return -1;
        const int bytes = (escape + 1) / 2;
        int left = escape;
        for (int k = 0; k < bytes; ++k) {
            int value = NextByte();
            if (value == kEnd) return -1;
            if (left-- > 0) put(value >> 4);
            if (left-- > 0) put(value & 0x0F);
        }
        if (bytes & 1) NextByte();
    }
}

namespace {

// The depth, planes, size and compression of a DIB header, checked as the reader
// supports them; the facts get the stored size and depth and the compression's note.
int CheckDibHeader(ImageFacts& facts, DibHeaderFields& d) {
    const int bits = d.bits;
    const bool depthKnown = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    // OS/2 headers only describe palette pictures and 24 bits.
    if (!depthKnown || (d.os2 && (bits == 16 || bits == 32))) {
        ReportFileError(FormatText("%d bits per pixel are not supported in file ", bits));
        return -1;
    }
    if (bits == 24 || bits == 32) d.entrySize = 0;
    if (d.planes != 1) {
        ReportFileError(FormatText("Wrong number of planes %d in file ", d.planes));
        return -1;
    }
    facts.storedBitsPerPixel = static_cast<uint32_t>(bits);
    facts.storedHeight = static_cast<uint32_t>(d.height);
    facts.storedWidth = static_cast<uint32_t>(d.width);
    if (d.compression > BMP_BITFIELDS) {
        ReportFileError(FormatText("Compression type <%u> in BMP in file not yet supported", d.compression));
        return -1;
    }
    facts.formatNote += CompressionText(d.compression);
    // Run lengths are only defined for their own depth; anything else would decode rows
    // of one layout into a picture of another.
    if ((d.compression == BMP_RLE8 && bits != 8) || (d.compression == BMP_RLE4 && bits != 4)) {
        ReportFileError(FormatText("Compression type <%u> in BMP in file not yet supported", d.compression));
        return -1;
    }
    if (d.width < 1 || d.height < 1 || d.width > 65535 || d.height > 65535) {
        ReportFileError(FormatText("Image size %lld x %lld not supported in file ", static_cast<long long>(d.width),
                                   static_cast<long long>(d.height)));
        return -1;
    }
    return 0;
}

}  // namespace

int ReadDibHeader(ByteReader& r, ImageFacts& facts, DibHeaderFields* dib) {
    DibHeaderFields& d = *dib;
    d = DibHeaderFields();
    d.headerLength = r.U32();
    if (!r.ok) {
        ReportFileError("File is truncated ");
        return -1;
    }
    if (d.headerLength == 12) {
        d.os2 = true;
        d.width = r.U16();
        d.height = r.U16();
        d.planes = r.U16();
        d.bits = r.U16();
        facts.formatNote = "OS/2 Bitmap";
        d.entrySize = 3;
    } else if (d.headerLength == 40 || d.headerLength == 64 || d.headerLength == 108 || d.headerLength == 124) {
        d.width = r.I32();
        d.height = r.I32();
        d.planes = r.U16();
        d.bits = r.U16();
        d.compression = r.U32();
        r.Skip(12);
        d.coloursUsed = r.I32();
        r.Skip(4);
        // Bit-field masks sit at header offsets 40, 44, 48 for every Windows header.
        if (d.compression == BMP_BITFIELDS) {
            d.masks[0] = r.U32();
            d.masks[1] = r.U32();
            d.masks[2] = r.U32();
        }
        if (d.width < 0) d.width = -d.width;
        if (d.height < 0) {
            d.height = -d.height;
            d.topDown = true;
        }
        facts.formatNote = "Windows Bitmap";
        d.entrySize = 4;
    } else {
        ReportFileError("Invalid BMP file. Bad header length in file ");
        return -1;
    }
    if (!r.ok) {
        ReportFileError("File is truncated ");
        return -1;
    }
    return CheckDibHeader(facts, d);
}

int ReadDibColourTable(const uint8_t* at, const uint8_t* end, DibHeaderFields& d) {
    filePaletteCount = 0;
    std::memset(filePalette, 0, sizeof filePalette);
    if (d.entrySize != 0) {
        if (d.coloursUsed > 256) {
            ReportFileError(FormatText("Unsupported BMP colormap format in file. biClrUsed = %ld",
                                       static_cast<long>(d.coloursUsed)));
            return -1;
        }
        int64_t used = d.coloursUsed <= 0 ? (int64_t{1} << d.bits) : d.coloursUsed;
        filePaletteCount = static_cast<int>(used & 0xFFFF);
    }
    if (d.bits > 8 && d.compression != BMP_BITFIELDS) return 0;
    if (filePaletteCount > 256) {
        ReportFileError("Unsupported BMP colormap format in file ");
        return -1;
    }
    // A colour map cut short by the end of the file keeps only the entries present;
    // indices beyond them show black.
    ByteReader map(at, end);
    int present = 0;
    while (present < filePaletteCount && d.entrySize > 0 && map.Has(static_cast<size_t>(d.entrySize))) {
        uint8_t blue = map.U8(), green = map.U8(), red = map.U8();
        if (d.entrySize == 4) map.U8();
        filePalette[3 * present + 0] = red;
        filePalette[3 * present + 1] = green;
        filePalette[3 * present + 2] = blue;
        ++present;
    }
    if (d.bits <= 8) filePaletteCount = present;
    return 0;
}

int ReadBmpHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    ByteReader r(FileCursor.start, FileCursor.end);
    if (r.U8() != 'B' || r.U8() != 'M') {
        ReportFileError("Is this a genuine *.BMP file? ");
        return -1;
    }
    const uint32_t fileSize = r.U32();
    r.Skip(4);
    const uint32_t pixelOffset = r.U32();
    if (!r.ok || fileSize > FileCursor.size) {
        ReportFileError("File is truncated ");
        return -1;
    }
    bmp = BmpState();
    DibHeaderFields d;
    if (ReadDibHeader(r, facts, &d) < 0) return -1;
    const uint8_t* table = FileCursor.start + std::min<uint64_t>(FileCursor.size, 14ull + d.headerLength);
    if (ReadDibColourTable(table, FileCursor.end, d) < 0) return -1;
    if (pixelOffset > FileCursor.size) {
        ReportFileError("File is truncated ");
        return -1;
    }
    FileCursor.cur = FileCursor.start + pixelOffset;
    bmp.os2 = d.os2;
    bmp.topDown = d.topDown;
    bmp.compression = d.compression;
    std::memcpy(bmp.masks, d.masks, sizeof bmp.masks);
    bmp.width = static_cast<int>(d.width);
    bmp.height = static_cast<int>(d.height);
    bmp.depth = d.bits;
    *height = static_cast<uint16_t>(d.height);
    *width = static_cast<uint16_t>(d.width);
    *depth = static_cast<uint16_t>(d.bits);
    return 0;
}

namespace {

// Windows files without run lengths: one conversion of the whole pixel block.
int ConvertWindowsPixels(CDib& dib) {
    // A clean source header: the picture's size and depth, the masks, and only the
    // palette entries the file really holds.
    uint8_t source[sizeof(DibHeader) + 12 + 256 * 4] = {};
    DibHeader hdr{};
    hdr.biSize = sizeof(DibHeader);
    hdr.biWidth = bmp.width;
    hdr.biHeight = bmp.height;
    hdr.biPlanes = 1;
    hdr.biBitCount = static_cast<uint16_t>(bmp.depth);
    uint8_t* after = source + sizeof(DibHeader);
    if (bmp.depth <= 8) {
        hdr.biClrUsed = static_cast<uint32_t>(filePaletteCount);
        for (int i = 0; i < filePaletteCount; ++i) {
            after[4 * i + 0] = filePalette[3 * i + 2];
            after[4 * i + 1] = filePalette[3 * i + 1];
            after[4 * i + 2] = filePalette[3 * i + 0];
        }
        // With no entry at all the table stays zero: every index shows black.
    } else if (bmp.compression == BMP_BITFIELDS) {
        hdr.biCompression = BMP_BITFIELDS;
        std::memcpy(after, bmp.masks, 12);
    }
    std::memcpy(source, &hdr, sizeof hdr);
    const uint64_t available = static_cast<uint64_t>(FileCursor.end - FileCursor.cur);
    dib.alphaMode = 0;
    if (dib.ConvertTo24(source, FileCursor.cur, available, ShowLoadProgress) < 0) return -1;
    if (bmp.topDown) dib.FlipRows();
    ShowLoadProgress(10);
    return 0;
}

}  // namespace

int ReadBmpPixels(CDib& dib, ImageFacts&) {
    if (!bmp.os2 && (bmp.compression == BMP_RGB || bmp.compression == BMP_BITFIELDS)) return ConvertWindowsPixels(dib);

    dib.SetPalette(filePalette);
    std::memset(dib.bits, 0, dib.imageSize);  // rows the file does not hold stay black
    if (bmp.os2 && bmp.depth >= 8) {
        const uint64_t available = static_cast<uint64_t>(FileCursor.end - FileCursor.cur);
        std::memcpy(dib.bits, FileCursor.cur, static_cast<size_t>(std::min<uint64_t>(available, dib.imageSize)));
        ShowLoadProgress(10);
        return 0;
    }
    const size_t bufferSize = static_cast<size_t>(bmp.width) + 1024;
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bufferSize]);
    if (!buffer) {
        ReportFileError(FormatText("Not enough memory: %d bytes for line buffer in BMP file ", static_cast<int>(bufferSize)));
        return -1;
    }
    std::memset(buffer.get(), 0, bufferSize);
    const int rle4Pixels = static_cast<int>(DibRowBytes(static_cast<uint64_t>(bmp.width), 8));
    int line = bmp.height - 1;
    for (int row = 0; row < bmp.height; ++row, --line) {
        if (bmp.compression == BMP_RLE8) {
            if (DecodeRle8Row(buffer.get(), bmp.width) < 0) {
                ReportFileError(FormatText("BMP RLE8 read failed in line %d in file ", line));
                return -1;
            }
        } else if (bmp.compression == BMP_RLE4) {
            if (DecodeRle4Row(buffer.get(), rle4Pixels, bmp.width) < 0) {
                ReportFileError(FormatText("BMP RLE4 read failed in line %d in file due to early EOF ", line));
                return -1;
            }
        } else {
            // OS/2 below 8 bits: one stored row; a short file leaves the remaining rows black.
            const uint64_t available = static_cast<uint64_t>(FileCursor.end - FileCursor.cur);
            if (available == 0) break;
            const size_t n = static_cast<size_t>(std::min<uint64_t>(available, dib.rowBytes));
            std::memset(buffer.get(), 0, dib.rowBytes);
            std::memcpy(buffer.get(), FileCursor.cur, n);
            FileCursor.cur += n;
        }
        std::memcpy(dib.Row(row), buffer.get(), dib.rowBytes);
        ShowLoadProgress(static_cast<int>(static_cast<int64_t>(row) * 10 / bmp.height));
    }
    ShowLoadProgress(10);
    return 0;
}

// ---------------------------------------------------------------- writing

bool WriteBmpPalette(OutStream& out, int count, const uint8_t* rgb) {
    for (int i = 0; i < count; ++i) {
        const uint8_t entry[4] = {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i + 0], 0};
        if (!out.Write(entry, 4)) return false;
    }
    return true;
}

int WriteBmp(OutStream& out, CDib& picture, const WriteOptions& options) {
    const CDib* source = &picture;
    int depth = 24;
    if (options.depth < 24) {
        if (QuantiseImage(options.depth, picture) == nullptr) {
            ReportWriteError("Can't write BMP file due to dither fail ");
            return -1;
        }
        source = &quantisedImage;
        depth = quantisedImage.bitsPerPixel;
    }
    struct Release {
        bool active;
        ~Release() {
            if (active) ReleaseQuantisedImage();
        }
    } release{source == &quantisedImage};

    const uint32_t colours = depth == 1 ? 2 : depth == 4 ? 16 : depth == 8 ? 256 : 0;
    const uint32_t offset = 54 + 4 * colours;
    const uint64_t rowBytes = DibRowBytes(source->width, static_cast<uint64_t>(depth));
    const uint64_t fileSize = rowBytes * source->height + offset;
    out.Write("BM", 2);
    out.U32(static_cast<uint32_t>(fileSize));
    out.U16(0);
    out.U16(0);
    if (!out.U32(offset)) {
        ReportWriteError("Can't write BMP file header ");
        return -1;
    }
    out.U32(40);
    out.U32(source->width);
    out.U32(source->height);
    out.U16(1);
    out.U16(static_cast<uint16_t>(depth));
    for (int i = 0; i < 4; ++i) out.U32(0);  // compression, image size, resolutions
    out.U32(colours);
    if (!out.U32(0)) {
        ReportWriteError("Can't write BMP DIB header ");
        return -1;
    }
    if (colours > 0) {
        uint8_t rgb[256 * 3];
        const uint8_t* table = source->ColourTable();
        for (uint32_t i = 0; i < colours; ++i) {
            rgb[3 * i + 0] = table[4 * i + 2];
            rgb[3 * i + 1] = table[4 * i + 1];
            rgb[3 * i + 2] = table[4 * i + 0];
        }
        WriteBmpPalette(out, static_cast<int>(colours), rgb);
    }
    // Rows go out with their padding zeroed, whatever the buffer held there.
    const size_t used = static_cast<size_t>((static_cast<uint64_t>(source->width) * depth + 7) / 8);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes), 0);
    for (int r = 0; r < source->height && out.Ok(); ++r) {
        std::memcpy(row.data(), source->Row(r), used);
        out.Write(row.data(), row.size());
    }
    return 0;
}
