#include "codecs/gif.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "codecs/palette.h"
#include "core/filemem.h"
#include "core/frames.h"
#include "platform/host.h"
#include "core/report.h"
#include "base/text.h"
#include "base/settings.h"

uint8_t gifBackground[3] = {255, 255, 255};

namespace {

constexpr int kMaxCodes = 4096;
constexpr size_t kMaxComment = 2047;
const char* const kSizeText = "Image size %d x %d not supported in file ";

// The file being read; every read is bounded by its end.
ByteReader in(nullptr, nullptr);

// What the reader carries from one block to the next.
struct GifState {
    // Graphic-control values in force: every following image takes them over.
    uint8_t flags = 0;
    uint16_t delay = 1;
    uint8_t transparentIndex = 0;
    uint32_t maxRight = 0;
    uint32_t maxBottom = 0;
    bool lastInterlaced = false;
    uint8_t globalPalette[256 * 3] = {};
    int lastProgress = 0;
};
GifState gif;
// Where the phase under way records the file's facts.
ImageFacts* facts = nullptr;
ImageFacts probeFacts;

// Skips sub-blocks up to and including the empty one. -1 when one does not fit in the
// data left or the data ends before the empty one.
int SkipSubBlocks() {
    for (;;) {
        if (!in.Has(1)) return -1;
        const uint8_t size = in.U8();
        if (size == 0) return 0;
        if (!in.Skip(size)) return -1;
    }
}

// Variable-width LZW codes from the image's sub-blocks, one pixel value per call.
struct LzwDecoder {
    int rootSize = 0;
    int clearCode = 0;
    int endCode = 0;
    int codeWidth = 0;
    int nextCode = 0;
    int widthLimit = 0;
    uint16_t prefix[kMaxCodes] = {};
    // 16 bits: with a root size of 9 the roots themselves pass 255.
    uint16_t suffix[kMaxCodes] = {};
    // Every code expands to at most kMaxCodes values plus the one pushed for a code not
    // yet in the table.
    uint16_t stack[kMaxCodes + 2] = {};
    int stackTop = 0;
    int first = 0;
    int old = 0;
    bool fresh = true;
    // The current sub-block at offset 2, after the last two bytes of the one before: a
    // code may straddle the two.
    uint8_t buffer[280] = {};
    int currentBit = 0;
    int lastBit = 0;
    int lastByte = 2;
    bool done = false;

    void Init(int size) {
        rootSize = size;
        clearCode = 1 << size;
        endCode = clearCode + 1;
        std::memset(prefix, 0, sizeof prefix);
        std::memset(suffix, 0, sizeof suffix);
        std::memset(buffer, 0, sizeof buffer);
        currentBit = lastBit = 0;
        lastByte = 2;
        done = false;
        fresh = true;
        first = old = 0;
        Reset();
    }

    void Reset() {
        codeWidth = rootSize + 1;
        widthLimit = 2 * clearCode;
        nextCode = clearCode + 2;
        stackTop = 0;
    }

    int ReadCode() {
        while (currentBit + codeWidth > lastBit) {
            if (done) return endCode;
            buffer[0] = buffer[lastByte - 2];
            buffer[1] = buffer[lastByte - 1];
            if (!in.Has(1)) {
                done = true;
                return endCode;
            }
            size_t size = in.U8();
            if (size == 0) {
                done = true;
                return endCode;
            }
            size = std::min(size, in.Remaining());  // a block cut by the file's end
            std::memcpy(buffer + 2, in.p, size);
            in.Skip(size);
            currentBit = currentBit - lastBit + 16;
            lastByte = 2 + static_cast<int>(size);
            lastBit = lastByte * 8;
        }
        // Codes are at most 12 bits from any bit position: three bytes hold one.
        const int at = currentBit >> 3;
        const uint32_t bits = static_cast<uint32_t>(buffer[at]) | static_cast<uint32_t>(buffer[at + 1]) << 8 |
                              static_cast<uint32_t>(buffer[at + 2]) << 16;
        const int code = static_cast<int>((bits >> (currentBit & 7)) & ((1u << codeWidth) - 1));
        currentBit += codeWidth;
        return code;
    }

    void Push(int value) {
        if (stackTop < static_cast<int>(sizeof stack / sizeof stack[0])) stack[stackTop++] = static_cast<uint16_t>(value);
    }

    int AfterClear() {
        Reset();
        int code;
        do code = ReadCode();
        while (code == clearCode);
        if (code > clearCode) code = 0;
        first = old = code;
        return code;
    }

    int NextPixel() {
        if (fresh) {
            fresh = false;
            return AfterClear();
        }
        if (stackTop > 0) return stack[--stackTop];
        int code = ReadCode();
        if (code == clearCode) return AfterClear();
        if (code == endCode) {
            // The image ends here: every further pixel reads as 0.
            if (!done) {
                SkipSubBlocks();
                done = true;
            }
            return 0;
        }
        int incoming = code;
        if (code >= nextCode) {
            Push(first);
            incoming = code == nextCode ? code : 0;
            code = old;
        }
        // Table entries always point at lower codes, so the walk ends; the stack bound
        // guards it all the same.
        while (code >= clearCode && stackTop < kMaxCodes) {
            Push(suffix[code]);
            code = prefix[code];
        }
        if (code >= clearCode) code = 0;
        first = code;
        if (nextCode < kMaxCodes) {
            prefix[nextCode] = static_cast<uint16_t>(old);
            suffix[nextCode] = static_cast<uint16_t>(first);
            ++nextCode;
            if (nextCode >= widthLimit && codeWidth < 12) {
                ++codeWidth;
                widthLimit *= 2;
            }
        }
        old = incoming;
        return first;
    }
};
LzwDecoder lzw;

// Writes one decoded row of frame `index` at row `row` of its rectangle.
void PutRow(int index, int row, const uint16_t* pixels) {
    const AnimFrame& frame = animFrames[index];
    if (index == 0) {
        const int tenths = row * 10 / animScreenHeight;
        if (tenths > gif.lastProgress) {
            gif.lastProgress = tenths;
            HostSetTitle(FormatText("Loading: %d%%", tenths * 10));
        }
    }
    const int y = row + frame.top;
    if (y >= animScreenHeight) return;
    uint8_t* line = frame.image.Row(animScreenHeight - y - 1);
    // Columns past the screen's right edge are dropped like rows below it.
    const int count = std::min<int>(frame.width, animScreenWidth - std::min<int>(frame.left, animScreenWidth));
    const bool transparent = (frame.flags & 1) != 0;
    uint8_t* out = line + 3 * static_cast<size_t>(frame.left);
    for (int x = 0; x < count; ++x, out += 3) {
        int i = pixels[x];
        if (transparent && i == frame.transparentIndex) continue;
        if (i > 255) i = 0;  // roots of a 9-bit code size lie beyond any colour table
        out[0] = frame.palette[3 * i + 2];
        out[1] = frame.palette[3 * i + 1];
        out[2] = frame.palette[3 * i + 0];
    }
}

int DecodeGifRaster(int index, int width, int height) {
    if (!in.Has(1)) return 0;
    const int rootSize = in.U8();
    if (rootSize < 2 || rootSize > 9) {
        ReportFileError(FormatText("Bad code size: %d in GIF file ", rootSize));
        return -1;
    }
    lzw.Init(rootSize);
    const size_t bufferBytes = sizeof(uint16_t) * static_cast<size_t>(std::max(width, 1));
    std::unique_ptr<uint16_t[]> pixels(new (std::nothrow) uint16_t[bufferBytes / sizeof(uint16_t)]);
    if (!pixels) {
        ReportFileError(FormatText("Not enough memory: %d bytes for line buffer in GIF file ", static_cast<int>(bufferBytes)));
        return -1;
    }
    HostSetTitle(FormatText("<%d> Frame Loading", index));
    const bool interlaced = gif.lastInterlaced;
    static const int passStart[4] = {0, 4, 2, 1};
    static const int passStep[4] = {8, 8, 4, 2};
    int pass = 0;
    int row = 0;
    for (int r = 0; r < height; ++r) {
        for (int x = 0; x < width; ++x) pixels[x] = static_cast<uint16_t>(lzw.NextPixel());
        PutRow(index, row, pixels.get());
        if (!interlaced) {
            ++row;
            continue;
        }
        row += passStep[pass];
        while (row >= height && pass < 3) row = passStart[++pass];
    }
    return 0;
}

void FillRect(CDib& image, int left, int top, int width, int height) {
    const int right = std::min<int>(left + width, image.width);
    const int bottom = std::min<int>(top + height, image.height);
    for (int y = top; y < bottom; ++y) {
        uint8_t* p = image.Row(image.height - 1 - y) + 3 * static_cast<size_t>(left);
        for (int x = left; x < right; ++x, p += 3) std::memcpy(p, gifBackground, 3);
    }
}

// The starting picture of frame `index`: the background for the first frame, else the
// frame before it with its rectangle cleared when its disposal asks for that.
void ComposeStart(int index) {
    CDib& image = animFrames[index].image;
    const CDib* before = index > 0 ? &animFrames[index - 1].image : nullptr;
    if (before == nullptr || before->Empty() || before->imageSize != image.imageSize) {
        image.FillBGR(gifBackground);
        return;
    }
    std::memcpy(image.bits, before->bits, image.imageSize);
    const AnimFrame& prev = animFrames[index - 1];
    // Disposal 2 (and 3, and the reserved 6 and 7) clears the rectangle to the background.
    if (prev.flags & 0x08) FillRect(image, prev.left, prev.top, prev.width, prev.height);
}

int ReadGifExtension() {
    if (!in.Has(1)) return -1;
    const uint8_t label = in.U8();
    switch (label) {
        case 0x01:
            if (!in.Skip(13)) {
                ReportFileError("File is too short for GIF Extension Block ");
                return -1;
            }
            if (SkipSubBlocks() < 0) {
                ReportFileError("File is too short for GIF Plain Text Block ");
                return -1;
            }
            return 0;
        case 0xF9: {
            if (!in.Has(6)) {
                ReportFileError("File is too short for GIF Extension Control Block ");
                in.Skip(in.Remaining());
                return -1;
            }
            in.U8();  // block size
            gif.flags = in.U8();
            const uint16_t delay = in.U16();
            gif.delay = delay == 0 ? 1 : delay;
            gif.transparentIndex = in.U8();
            in.U8();  // terminator
            return 0;
        }
        case 0xFE:
            for (;;) {
                if (!in.Has(1)) {
                    ReportFileError("File is too short for GIF Comment Block ");
                    return -1;
                }
                const uint8_t size = in.U8();
                if (size == 0) return 0;
                if (!in.Has(size)) {
                    ReportFileError("File is too short for GIF Comment Block ");
                    in.Skip(in.Remaining());
                    return -1;
                }
                const char* text = reinterpret_cast<const char*>(in.p);
                facts->comment.assign(text, strnlen(text, std::min<size_t>(size, kMaxComment)));
                in.Skip(size);
            }
        case 0xFF:
            // Block size, then the identifier (eleven characters, "NETSCAPE2.0" for looping).
            if (in.Has(12)) {
                const char* id = reinterpret_cast<const char*>(in.p + 1);
                facts->applicationId.assign(id, strnlen(id, 11));
            }
            if (!in.Skip(12)) {
                ReportFileError("File is too short for GIF Extension Block ");
                return -1;
            }
            if (in.Has(1) && *in.p == ',') return 0;
            if (SkipSubBlocks() < 0) {
                ReportFileError("File is too short for GIF Application Block ");
                return -1;
            }
            return 0;
        default:
            if (SkipSubBlocks() < 0) {
                ReportFileError("File is too short for GIF Extension Block ");
                return -1;
            }
            return 0;
    }
}

int ReadGifImage() {
    if (!in.Has(9)) {
        animFramesLoaded = true;
        return 0;
    }
    if (animFrameCount >= kMaxAnimFrames) return 0;
    const int index = animFrameCount;
    const bool firstFrame = index == 0;
    AnimFrame& frame = animFrames[index];
    const uint32_t left = in.U16(), top = in.U16(), width = in.U16(), height = in.U16();
    const uint32_t right = left + width, bottom = top + height;
    if (right > animScreenWidth || bottom > animScreenHeight) {
        if (!firstFrame) return -1;  // a later frame off the screen ends the animation
        if (right > kMaxDibSide || bottom > kMaxDibSide) {
            ReportFileError(FormatText(kSizeText, static_cast<int>(right), static_cast<int>(bottom)));
            return -1;
        }
        animScreenWidth = static_cast<uint16_t>(std::max<uint32_t>(animScreenWidth, right));
        animScreenHeight = static_cast<uint16_t>(std::max<uint32_t>(animScreenHeight, bottom));
    }
    if (animScreenWidth == 0 || animScreenHeight == 0) {
        ReportFileError(FormatText(kSizeText, animScreenWidth, animScreenHeight));
        return -1;
    }
    frame.left = static_cast<uint16_t>(left);
    frame.top = static_cast<uint16_t>(top);
    frame.width = static_cast<uint16_t>(width);
    frame.height = static_cast<uint16_t>(height);
    // Delays are kept in milliseconds, the unit every animation source shares.
    frame.delay = static_cast<uint16_t>(std::min<uint32_t>(uint32_t{gif.delay} * 10, 65535));
    frame.flags = gif.flags;
    frame.transparentIndex = gif.transparentIndex;

    const uint8_t packed = in.U8();
    gif.lastInterlaced = (packed & 0x40) != 0;
    if (packed & 0x80) {
        const size_t entries = size_t{2} << (packed & 7);
        if (!in.Has(entries * 3)) {
            if (!firstFrame) return 0;
            ReportFileError("File is too short for GIF colour map ");
            return -1;
        }
        std::memset(frame.palette, 0, sizeof frame.palette);
        std::memcpy(frame.palette, in.p, entries * 3);
        in.Skip(entries * 3);
    } else {
        std::memcpy(frame.palette, gif.globalPalette, sizeof frame.palette);
    }
    animFramesLoaded = true;
    try {
        CreateAnimFrameImage(index, animScreenWidth, animScreenHeight);
    } catch (const char* text) {
        if (firstFrame) throw;
        // Out of memory for one more frame: the animation is the frames read so far.
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        return -1;
    }
    ComposeStart(index);
    if (DecodeGifRaster(index, static_cast<int>(width), static_cast<int>(height)) < 0) return -1;
    gif.maxRight = std::max(gif.maxRight, right);
    gif.maxBottom = std::max(gif.maxBottom, bottom);
    ++animFrameCount;
    // Past the rest of the image data: pixels may end before the last sub-block, and
    // an end code read early has skipped them already.
    if (!lzw.done) SkipSubBlocks();
    return 0;
}

// Checks the signature and reads the logical screen and the global colour table.
int ReadScreen(uint16_t* depth) {
    in = ByteReader(FileCursor.start, FileCursor.end);
    if (!in.Has(13)) {
        ReportFileError("File is too short for GIF header ");
        return -1;
    }
    char signature[7] = {};
    std::memcpy(signature, in.p, 6);
    in.Skip(6);
    if (std::strcmp(signature, "GIF87a") != 0 && std::strcmp(signature, "GIF89a") != 0) {
        ReportFileError(FormatText("%6.6s: Is this a genuine *.GIF file ", signature));
        return -1;
    }
    facts->formatNote = signature;
    animScreenWidth = in.U16();
    animScreenHeight = in.U16();
    const uint8_t packed = in.U8();
    const uint8_t backgroundIndex = in.U8();
    in.U8();
    std::memset(gif.globalPalette, 0, sizeof gif.globalPalette);
    std::memset(filePalette, 0, sizeof filePalette);
    filePaletteCount = 0;
    *depth = 0;
    if (packed & 0x80) {
        const int entries = 2 << (packed & 7);
        *depth = entries == 2 ? 1 : entries <= 16 ? 4 : 8;
        if (!in.Has(static_cast<size_t>(entries) * 3)) {
            ReportFileError("File is too short for GIF colour map ");
            return -1;
        }
        std::memcpy(gif.globalPalette, in.p, static_cast<size_t>(entries) * 3);
        in.Skip(static_cast<size_t>(entries) * 3);
        std::memcpy(filePalette, gif.globalPalette, sizeof filePalette);
        filePaletteCount = entries;
        if (GIFUserPackground) {
            gifBackground[0] = GIFBackgroundColour.blue;
            gifBackground[1] = GIFBackgroundColour.green;
            gifBackground[2] = GIFBackgroundColour.red;
        } else if (backgroundIndex >= entries) {
            gifBackground[0] = gifBackground[1] = gifBackground[2] = backgroundIndex;
        } else {
            gifBackground[0] = gif.globalPalette[3 * backgroundIndex + 2];
            gifBackground[1] = gif.globalPalette[3 * backgroundIndex + 1];
            gifBackground[2] = gif.globalPalette[3 * backgroundIndex + 0];
        }
    } else {
        gifBackground[0] = gifBackground[1] = gifBackground[2] = 255;
    }
    return 0;
}

// A depth the loader can create a picture with; the picture becomes frame 0 anyway.
uint16_t CreatableDepth(uint16_t depth) { return depth == 0 ? 8 : depth; }

int ReadFrames(uint16_t* height, uint16_t* width, uint16_t* depth) {
    if (ReadScreen(depth) < 0) return -1;
    facts->storedBitsPerPixel = *depth;
    gif.flags = 0;
    gif.delay = 1;
    gif.transparentIndex = 0;
    facts->storedWidth = animScreenWidth;
    facts->storedHeight = animScreenHeight;
    *depth = CreatableDepth(*depth);

    for (;;) {
        if (!in.Has(1)) break;
        const uint8_t introducer = in.U8();
        if (introducer == ';') break;
        if (!in.Has(1)) break;
        if (introducer == '!') {
            if (ReadGifExtension() < 0 && animFrameCount == 0) return -1;
        } else if (introducer == ',') {
            if (ReadGifImage() == 0) {
                if (!GIFAnimation && animFrameCount > 0) {
                    *height = animScreenHeight;
                    *width = animScreenWidth;
                    return 0;
                }
            } else {
                if (animFrameCount == 0) return -1;
                break;
            }
        }
        // Any other byte is passed over: reading picks up again at the next introducer.
    }
    if (animFrameCount == 0) {
        ReportFileError("No GIF frames loaded");
        return -1;
    }
    if (gif.maxRight == 0 || gif.maxBottom == 0) {
        ReportFileError(FormatText(kSizeText, static_cast<int>(gif.maxRight), static_cast<int>(gif.maxBottom)));
        return -1;
    }
    *height = static_cast<uint16_t>(gif.maxBottom);
    *width = static_cast<uint16_t>(gif.maxRight);
    if (animFrameCount > 1) facts->formatNote += FormatText(", Animated GIF with %d frames", animFrameCount);
    if (gif.lastInterlaced) facts->formatNote += ", Interlaced Image";
    return 0;
}

}  // namespace

int ReadGifHeader(ImageFacts& fileFacts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    facts = &fileFacts;
    ReleaseAnimFrames();
    gif = GifState();
    int result;
    try {
        result = ReadFrames(height, width, depth);
    } catch (const char*) {
        ReleaseAnimFrames();
        throw;
    }
    if (result < 0) {
        ReleaseAnimFrames();
        return -1;
    }
    animFramesLoaded = true;
    return 0;
}

int ReadGifPixels(CDib& picture, ImageFacts&) {
    // The picture is frame 0; playback, when the program plays animations, starts from it.
    if (animFrameCount < 1 || animFrames[0].image.Empty()) return -1;
    picture.Assign(animFrames[0].image);
    return 0;
}

int ProbeGifHeader(uint16_t* height, uint16_t* width, uint16_t* depth) {
    facts = &probeFacts;
    const uint16_t keepWidth = animScreenWidth, keepHeight = animScreenHeight;
    uint8_t keepBackground[3];
    std::memcpy(keepBackground, gifBackground, 3);
    int result = ReadScreen(depth);
    *width = animScreenWidth;
    *height = animScreenHeight;
    *depth = CreatableDepth(*depth);
    animScreenWidth = keepWidth;
    animScreenHeight = keepHeight;
    std::memcpy(gifBackground, keepBackground, 3);
    if (result == 0 && (*width == 0 || *height == 0)) {
        ReportFileError(FormatText(kSizeText, *width, *height));
        result = -1;
    }
    return result;
}
