#include "codecs/gif_write.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "base/appstate.h"
#include "base/settings.h"
#include "base/text.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/frames.h"
#include "core/outstream.h"
#include "core/quantise.h"
#include "core/report.h"
#include "platform/host.h"

namespace {

constexpr const char* kCaption = "GIF write";
constexpr const char* kComment = "Written by Lumora";
constexpr int kMaxCodeBits = 12;
constexpr int kMaxCode = (1 << kMaxCodeBits) - 1;
// Codes are gathered until more than this many bits wait; then the whole bytes (251 or
// 252) go out as one sub-block, which with the largest code still fits the buffer.
constexpr int kFlushBits = 2007;

// A writer's failure: a box captioned like the writer's other boxes, or in a batch run the
// output file's report, so that the run never waits on a box nobody sees.
void Fail(const std::string& text) {
    if (RunMode == RUN_BATCH && !VerboseFlag)
        ReportWriteError(text);
    else
        ShowMessage(text + OutputFile.fullPath, kCaption, kMbOk | kMbIconWarning);
}

// Frees the reduced picture however the writer leaves.
struct ReducedPicture {
    ~ReducedPicture() { ReleaseQuantisedImage(); }
};

// Red, green, blue triples of a palette picture's 2^depth entries.
bool WriteColourTable(OutStream& out, const CDib& reduced) {
    const int entries = 1 << reduced.bitsPerPixel;
    const uint8_t* table = reduced.ColourTable();
    uint8_t rgb[256 * 3];
    for (int i = 0; i < entries; ++i) {
        rgb[3 * i + 0] = table[4 * i + 2];
        rgb[3 * i + 1] = table[4 * i + 1];
        rgb[3 * i + 2] = table[4 * i + 0];
    }
    return out.Write(rgb, static_cast<size_t>(3 * entries));
}

// Sub-blocks of at most 255 bytes, each after its length, then the zero-length one.
bool WriteSubBlocks(OutStream& out, const std::string& text) {
    for (size_t at = 0; at < text.size(); at += 255) {
        const size_t n = std::min<size_t>(255, text.size() - at);
        out.U8(static_cast<uint8_t>(n));
        out.Write(text.data() + at, n);
    }
    return out.U8(0);
}

// LZW codes packed least significant bit first, written in sub-blocks.
class CodeWriter {
public:
    explicit CodeWriter(OutStream& out) : out_(out) { std::memset(buffer_, 0, sizeof buffer_); }

    void Put(int code, int bits) {
        if (count_ > kFlushBits) {
            const int bytes = count_ / 8;
            out_.U8(static_cast<uint8_t>(bytes));
            out_.Write(buffer_, static_cast<size_t>(bytes));
            const uint8_t partial = buffer_[bytes];
            std::memset(buffer_, 0, sizeof buffer_);
            buffer_[0] = partial;
            count_ %= 8;
        }
        uint32_t v = static_cast<uint32_t>(code) << (count_ & 7);
        for (int i = count_ / 8; v != 0; ++i, v >>= 8) buffer_[i] = static_cast<uint8_t>(buffer_[i] | v);
        count_ += bits;
    }

    bool Finish() {
        if (count_ > 0) {
            const int bytes = (count_ + 7) / 8;
            out_.U8(static_cast<uint8_t>(bytes));
            out_.Write(buffer_, static_cast<size_t>(bytes));
        }
        return out_.U8(0);
    }

private:
    OutStream& out_;
    uint8_t buffer_[256];
    int count_ = 0;
};

// One top-down row of `reduced` as one index a byte.
const uint8_t* RowIndices(const CDib& reduced, int y, uint8_t* into) {
    return UnpackIndices(reduced.Row(reduced.height - 1 - y), reduced.bitsPerPixel, reduced.width, into);
}

// Whether the frame table, not the current picture, is what the user saves: an animation
// of at least two frames of one size, all present, whose picture has had no edit but of
// all its frames since (an edit of the picture alone is shown on the current picture only
// and would be lost). A built animation counts as changed until it is saved, but it has
// no edit: its frames are what is written.
bool WritesFrameTable() {
    if (!CurrentFileIsAnimation() || animFrameCount > kMaxAnimFrames || !FrameTableIsCurrent()) return false;
    const CDib& first = animFrames[0].image;
    for (int i = 0; i < animFrameCount; ++i) {
        const CDib& image = animFrames[i].image;
        if (image.Empty() || image.width != first.width || image.height != first.height) return false;
    }
    return true;
}

}  // namespace

bool GifCodeTable::AllocateRow(int width) {
    delete[] row;
    row = new (std::nothrow) uint8_t[static_cast<size_t>(width > 0 ? width : 1)];
    rowLength = row != nullptr ? width : 0;
    return row != nullptr;
}

bool GifCodeTable::AllocateTable() {
    delete[] block;
    block = new (std::nothrow) uint8_t[static_cast<size_t>(kSlots) * 9];
    if (block == nullptr) return false;
    prefix = reinterpret_cast<int32_t*>(block);
    code = reinterpret_cast<int32_t*>(block + static_cast<size_t>(kSlots) * 4);
    suffix = block + static_cast<size_t>(kSlots) * 8;
    return true;
}

bool WriteGifImageBlock(OutStream& out, const CDib& reduced, uint16_t delayMs, bool localTable) {
    const uint8_t control[4] = {0x21, 0xF9, 0x04, 0x00};
    out.Write(control, sizeof control);
    out.U16(static_cast<uint16_t>(delayMs / 10));
    out.U8(0);  // transparent index, unused
    out.U8(0);
    out.U8(0x2C);
    out.U16(0);
    out.U16(0);
    out.U16(static_cast<uint16_t>(reduced.width));
    out.U16(static_cast<uint16_t>(reduced.height));
    const int depth = reduced.bitsPerPixel;
    out.U8(static_cast<uint8_t>((depth - 1) | (localTable ? 0x80 : 0)));
    if (localTable) WriteColourTable(out, reduced);
    return out.Ok();
}

bool CompressGif(OutStream& out, const CDib& reduced, GifCodeTable& table) {
    const int depth = reduced.bitsPerPixel;
    if ((depth != 1 && depth != 4 && depth != 8) || reduced.Empty()) return false;
    if (table.block == nullptr || table.row == nullptr || table.rowLength < reduced.width) return false;
    const int rootBits = depth == 1 ? 2 : depth;
    out.U8(static_cast<uint8_t>(rootBits));

    const int clear = 1 << rootBits, end = clear + 1;
    int bits = 0, next = 0, limit = 0;
    auto reset = [&]() {
        bits = rootBits + 1;
        next = clear + 2;
        limit = 1 << bits;
        std::memset(table.code, 0, sizeof(int32_t) * GifCodeTable::kSlots);
    };
    reset();
    CodeWriter codes(out);
    codes.Put(clear, bits);

    int prefix = -1;
    for (int y = 0; y < reduced.height && out.Ok(); ++y) {
        const uint8_t* row = RowIndices(reduced, y, table.row);
        for (int x = 0; x < reduced.width; ++x) {
            const int t = row[x];
            if (prefix < 0) {
                prefix = t;
                continue;
            }
            int h = (prefix ^ (t << 5)) % GifCodeTable::kSlots;
            int step = 1;
            bool found = false;
            while (table.code[h] != 0) {
                if (table.prefix[h] == prefix && table.suffix[h] == t) {
                    found = true;
                    break;
                }
                h += step;
                step += 2;
                if (h >= GifCodeTable::kSlots) {
                    h -= GifCodeTable::kSlots;
                    step = 1;
                }
            }
            if (found) {
                prefix = table.code[h];
                continue;
            }
            codes.Put(prefix, bits);
            const int stored = next;
            if (next <= kMaxCode) {
                table.prefix[h] = prefix;
                table.suffix[h] = static_cast<uint8_t>(t);
                table.code[h] = next++;
            }
            if (stored == limit) {
                if (bits < kMaxCodeBits) {
                    ++bits;
                    limit <<= 1;
                } else {
                    codes.Put(clear, bits);
                    reset();
                }
            }
            prefix = t;
        }
    }
    codes.Put(prefix, bits);
    // The reader adds a table entry for the final code as for every other one: when that
    // entry reaches the next code size, the end code is read one bit wider.
    if (next == limit && bits < kMaxCodeBits) ++bits;
    codes.Put(end, bits);
    return codes.Finish();
}

int WriteGif(OutStream& out, CDib& picture, const WriteOptions&) {
    ditherMethod = '3';
    saveDepth = 8;
    const bool animation = WritesFrameTable();
    const int frames = animation ? animFrameCount : 1;
    CDib& first = animation ? animFrames[0].image : picture;

    ReducedPicture release;
    if (QuantiseImage(8, first) == nullptr) {
        Fail("Can't write GIF file due to dither fail ");
        return -1;
    }
    GifCodeTable table;
    if (!table.AllocateRow(quantisedImage.width)) {
        Fail(FormatText("Not enough memory: %d bytes for the GIF row buffer in file ", quantisedImage.width));
        return -1;
    }
    if (!table.AllocateTable()) {
        Fail("Can't get memory for GIF encode table in file ");
        return -1;
    }

    out.Write("GIF89a", 6);
    out.U16(static_cast<uint16_t>(quantisedImage.width));
    out.U16(static_cast<uint16_t>(quantisedImage.height));
    const int depth = quantisedImage.bitsPerPixel;
    out.U8(static_cast<uint8_t>(0x80 | (depth - 1) << 4 | (depth - 1)));
    out.U8(0);  // background index
    out.U8(0);  // aspect
    if (!WriteColourTable(out, quantisedImage)) {
        Fail("Can't write screen descriptor in file ");
        return -1;
    }
    if (animation) {
        // Loops for ever.
        const uint8_t loop[19] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01, 0x00, 0x00, 0x00};
        out.Write(loop, sizeof loop);
    }

    for (int i = 0; i < frames; ++i) {
        if (i > 0) {
            if (QuantiseImage(8, animFrames[i].image) == nullptr) {
                Fail("Can't write GIF file due to dither fail ");
                return -1;
            }
            OutputFile.ShowProgressTitle(FormatText("Writing GIF frame <%d>of<%d>: ", i + 1, frames), "");
        }
        if (!WriteGifImageBlock(out, quantisedImage, animation ? animFrames[i].delay : 0, animation)) {
            Fail("Can't write screen descriptor in file ");
            return -1;
        }
        if (!CompressGif(out, quantisedImage, table)) {
            Fail("Can't write GIFCompressImage in file ");
            return -1;
        }
    }

    out.U8(0x21);
    out.U8(0xFE);
    WriteSubBlocks(out, kComment);
    if (!out.U8(';')) {
        Fail("Can't write image tag ';' in file ");
        return -1;
    }
    return 1;
}
