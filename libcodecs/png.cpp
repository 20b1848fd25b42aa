// PNG files through libpng.
//
// libpng leaves an error by calling our error function, which keeps the library's text
// and long-jumps through png_jmpbuf back into the function of this file that called the
// library. Every such function arms the jump buffer itself, so a failure in the pixel
// phase or the writer never lands in a frame that has returned, and libpng's structures
// are destroyed on every way out. No object with a destructor is alive in a frame a jump
// passes over: the state lives in plain static records.
#include "libcodecs/png.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include <png.h>

#include "base/settings.h"
#include "base/text.h"
#include "core/filemem.h"
#include "core/outstream.h"
#include "core/report.h"
#include "core/title.h"
#include "platform/host.h"

namespace {

constexpr size_t kMessageLimit = 200;
constexpr size_t kCommentLimit = 2047;
constexpr png_alloc_size_t kChunkLimit = 8u << 20;  // more than any text or colour profile
constexpr png_uint_32 kChunkCount = 1000;            // text, palette suggestions, unknown chunks

// ------------------------------------------------------------ errors

struct Messages {
    char text[kMessageLimit + 1];
};

void KeepText(Messages& m, png_const_charp text) {
    const size_t n = std::min(std::strlen(text != nullptr ? text : ""), kMessageLimit);
    std::memcpy(m.text, text != nullptr ? text : "", n);
    m.text[n] = 0;
}

[[noreturn]] void LeaveByJump(png_structp png, png_const_charp text) {
    auto* m = static_cast<Messages*>(png_get_error_ptr(png));
    if (m != nullptr) KeepText(*m, text);
    png_longjmp(png, 1);
}

// Warnings (an unknown ancillary chunk, a bad CRC in one) are not the user's business.
void KeepQuiet(png_structp, png_const_charp) {}

std::string PngErrorText(const Messages& m) { return FormatText("Error: %s in PNG file ", m.text); }

// ------------------------------------------------------------ the file in memory

struct MemoryInput {
    const uint8_t* data;
    size_t size;
    size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (in == nullptr || count > in->size - in->at) png_error(png, "Read Error");
    std::memcpy(out, in->data + in->at, count);
    in->at += count;
}

// How much of the file libpng is shown: everything up to the first chunk that claims
// more bytes than the file has left. libpng makes a chunk's buffer before it reads the
// data, so such a length would cost gigabytes before the short read fails; ending the
// input at that chunk fails the same way without them.
constexpr size_t kPngSignatureBytes = 8;

size_t WholeChunksLength(const uint8_t* data, size_t size) {
    constexpr size_t kHead = 8, kCrc = 4;  // a chunk: length and name, data, CRC
    size_t at = kPngSignatureBytes;
    while (at + kHead <= size) {
        const uint32_t length = static_cast<uint32_t>(data[at]) << 24 | static_cast<uint32_t>(data[at + 1]) << 16 |
                                static_cast<uint32_t>(data[at + 2]) << 8 | data[at + 3];
        if (length > size - at - kHead) return at;
        at += kHead + length + kCrc;
    }
    return size;
}

// The open file, read as libpng asks for it. The chunk heads are watched as they pass,
// with the rule of WholeChunksLength: a chunk claiming more bytes than the file has left
// fails the read at its head, before libpng makes a buffer for it.
struct StreamInput {
    HostFile file;
    uint64_t size;
    uint64_t at;
    uint64_t nextChunk;  // where the next chunk's length and name begin
    uint8_t head[8];     // that head's bytes read so far
    size_t headFill;
};

void ReadFromStream(png_structp png, png_bytep out, png_size_t count) {
    auto* in = static_cast<StreamInput*>(png_get_io_ptr(png));
    if (in == nullptr || count > in->size - in->at) png_error(png, "Read Error");
    if (HostReadFile(in->file, out, count) != static_cast<int64_t>(count)) png_error(png, "Read Error");
    const uint64_t end = in->at + count;
    while (in->nextChunk + in->headFill < end) {
        while (in->headFill < sizeof in->head && in->nextChunk + in->headFill < end) {
            in->head[in->headFill] = out[in->nextChunk + in->headFill - in->at];
            ++in->headFill;
        }
        if (in->headFill < sizeof in->head) break;
        const uint8_t* h = in->head;
        const uint32_t length = static_cast<uint32_t>(h[0]) << 24 | static_cast<uint32_t>(h[1]) << 16 |
                                static_cast<uint32_t>(h[2]) << 8 | h[3];
        if (length > in->size - in->nextChunk - sizeof in->head) png_error(png, "Read Error");
        in->nextChunk += sizeof in->head + length + 4;
        in->headFill = 0;
    }
    in->at = end;
}

// ------------------------------------------------------------ the reader's state

struct Decoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop endInfo = nullptr;
    Messages messages;
    MemoryInput input;
    StreamInput stream;
    int colourType = 0;
    int bitDepth = 0;
    bool alpha = false;  // the file's colour type has an alpha channel
    int channels = 0;    // output samples a pixel
    int passes = 1;
    uint32_t width = 0, height = 0;
    size_t rowBytes = 0;
    bool tRns = false;
};

void Release(Decoder& d) {
    if (d.png == nullptr) return;
    png_destroy_read_struct(&d.png, d.info != nullptr ? &d.info : nullptr, d.endInfo != nullptr ? &d.endInfo : nullptr);
    d.png = nullptr;
    d.info = d.endInfo = nullptr;
}

// Creates the structures over the file in memory and reads up to the image data. False
// when libpng could not make them (then nothing is held). Called after setjmp.
bool StartReading(Decoder& d) {
    d.messages.text[0] = 0;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &d.messages, LeaveByJump, KeepQuiet);
    if (d.png == nullptr) return false;
    d.info = png_create_info_struct(d.png);
    d.endInfo = png_create_info_struct(d.png);
    if (d.info == nullptr || d.endInfo == nullptr) {
        Release(d);
        return false;
    }
    return true;
}

void ReadHeaderChunks(Decoder& d) {
    if (FileCursor.stream != nullptr) {
        d.stream = {FileCursor.stream, FileCursor.size, 0, kPngSignatureBytes, {}, 0};
        png_set_read_fn(d.png, &d.stream, ReadFromStream);
    } else {
        d.input.data = FileCursor.start;
        d.input.size =
            FileCursor.start != nullptr ? WholeChunksLength(FileCursor.start, static_cast<size_t>(FileCursor.size)) : 0;
        d.input.at = 0;
        png_set_read_fn(d.png, &d.input, ReadFromMemory);
    }
    // Pictures larger than a CDib can hold are refused by our own size check, with its
    // text; libpng's own limit would name the width or height alone.
    png_set_user_limits(d.png, 0x7fffffff, 0x7fffffff);
    // A chunk's length comes from the file: the buffer libpng makes for one (or for its
    // inflated text or profile) is bounded, so a length of gigabytes costs nothing before
    // the file turns out to be shorter. Ancillary chunks past the bound are skipped.
    png_set_chunk_malloc_max(d.png, kChunkLimit);
    png_set_chunk_cache_max(d.png, kChunkCount);
    png_read_info(d.png, d.info);
    png_uint_32 w = 0, h = 0;
    int interlace = 0;
    png_get_IHDR(d.png, d.info, &w, &h, &d.bitDepth, &d.colourType, &interlace, nullptr, nullptr);
    d.width = w;
    d.height = h;
    d.alpha = (d.colourType & PNG_COLOR_MASK_ALPHA) != 0;
    d.tRns = png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0;
}

// The conversions to 8-bit blue, green, red (and alpha from a transparency chunk).
void ChooseOutput(Decoder& d) {
    const int type = d.colourType;
    if (d.bitDepth == 16) png_set_strip_16(d.png);
    if (d.bitDepth < 8) png_set_packing(d.png);
    // Grey files too: their samples are equal, but a coloured background is composed
    // after they became red, green, blue.
    png_set_bgr(d.png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(d.png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(d.png);
    if (d.tRns && !d.alpha) png_set_tRNS_to_alpha(d.png);
    if (d.alpha) {
        // The background is given in 8-bit terms (libpng widens it itself for a 16-bit
        // file, which it composes before dropping the low bytes); the alpha then goes.
        png_color_16 background{};
        if (PNGUserPackground == 1) {
            background.red = PNGBackgroundColour.red;
            background.green = PNGBackgroundColour.green;
            background.blue = PNGBackgroundColour.blue;
        }
        background.gray = background.green;
        png_set_background(d.png, &background, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    }
    d.passes = png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);
    d.channels = png_get_channels(d.png, d.info);
    d.rowBytes = png_get_rowbytes(d.png, d.info);
}

const char* ColourTypeText(int type) {
    switch (type) {
        case PNG_COLOR_TYPE_GRAY: return ", Greyscale";
        case PNG_COLOR_TYPE_RGB: return ", RGB Colour";
        case PNG_COLOR_TYPE_PALETTE: return ", Palette Colour";
        case PNG_COLOR_TYPE_GRAY_ALPHA: return ", Greyscale+Alpha";
        case PNG_COLOR_TYPE_RGBA: return ", RGB+Alpha Colour";
        default: return "";
    }
}

int FileChannels(int type) {
    switch (type) {
        case PNG_COLOR_TYPE_RGB: return 3;
        case PNG_COLOR_TYPE_RGBA: return 4;
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        default: return 1;
    }
}

bool SizeFits(const Decoder& d) {
    return d.width >= 1 && d.width <= static_cast<unsigned>(kMaxDibSide) && d.height >= 1 &&
           d.height <= static_cast<unsigned>(kMaxDibSide);
}

// The output must be what the picture is made for: 8-bit samples, three or four.
bool OutputIsKnown(const Decoder& d) {
    return (d.channels == 3 || d.channels == 4) && d.rowBytes == static_cast<size_t>(d.width) * d.channels;
}

// The loader's reader: made by the header phase, ended by the pixel phase or, when the
// pixels are never asked for, by the next header phase or the decode entry's release.
Decoder loader;

// What the pixel phase found in the first text chunk, kept until the frame that armed the
// jump buffer is left.
struct FirstText {
    bool present;
    char keyword[80];
    const char* text;
    size_t length;
};
FirstText firstText;

// The rows of every pass, then the chunks after the image data. Called after setjmp.
void DecodeRows(Decoder& d, CDib& picture) {
    const uint32_t height = d.height;
    const int passes = d.passes;
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t y = 0; y < height; ++y) {
            const uint64_t done = static_cast<uint64_t>(pass) * height + y;
            ShowLoadProgress(static_cast<int>(done * 10 / (static_cast<uint64_t>(height) * passes)));
            png_read_row(d.png, picture.Row(static_cast<int>(height - 1 - y)), nullptr);
        }
    }
    png_read_end(d.png, d.info);
    png_textp texts = nullptr;
    int count = 0;
    firstText.present = png_get_text(d.png, d.info, &texts, &count) > 0 && count > 0 && texts != nullptr;
    if (firstText.present) {
        const char* key = texts[0].key != nullptr ? texts[0].key : "";
        const size_t n = std::min(std::strlen(key), sizeof firstText.keyword - 1);
        std::memcpy(firstText.keyword, key, n);
        firstText.keyword[n] = 0;
        firstText.text = texts[0].text != nullptr ? texts[0].text : "";
        firstText.length = texts[0].text != nullptr ? texts[0].text_length : 0;
    }
}

// Phase 2 in a frame of its own: 0, or -1 after reporting. `description` null: the first
// text is the comment.
int ReadPixels(CDib& picture, ImageFacts& facts, std::string* description) {
    Decoder& d = loader;
    if (d.png == nullptr) return -1;
    if (picture.width != d.width || picture.height != d.height || picture.bitsPerPixel != d.channels * 8 ||
        picture.rowBytes < d.rowBytes) {
        Release(d);
        return -1;
    }
    firstText.present = false;
    if (setjmp(png_jmpbuf(d.png)) != 0) {
        Release(d);
        ReportFileError(PngErrorText(d.messages));
        return -1;
    }
    picture.alphaMode = d.alpha ? (d.channels == 4 ? 1 : d.channels == 2 ? 2 : picture.alphaMode) : 0;
    DecodeRows(d, picture);
    // The texts belong to libpng's structures: they are copied before those go.
    bool ok = true;
    if (description != nullptr) {
        if (firstText.present) description->assign(firstText.text, firstText.length);
        else ok = false;
    } else if (firstText.present) {
        facts.commentKeyword = firstText.keyword;
        facts.comment.assign(firstText.text, std::min(firstText.length, kCommentLimit));
    } else {
        facts.commentKeyword.clear();
    }
    Release(d);
    if (!ok) {
        ReportFileError("Can't read TNS database info from file ");
        return -1;
    }
    return 0;
}

int PixelPhase(CDib& picture, ImageFacts& facts, std::string* description) {
    return ReadPixels(picture, facts, description);
}

}  // namespace

void ReleasePngReader() { Release(loader); }

int ReadPngHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    Release(loader);
    if (!StartReading(loader)) {
        ReportFileError("Error: out of memory in PNG file ");
        return -1;
    }
    if (setjmp(png_jmpbuf(loader.png)) != 0) {
        Release(loader);
        ReportFileError(PngErrorText(loader.messages));
        return -1;
    }
    ReadHeaderChunks(loader);
    if (!SizeFits(loader)) {
        const uint32_t w = loader.width, h = loader.height;
        Release(loader);
        ReportFileError(FormatText("Image size %u x %u not supported in file ", w, h));
        return -1;
    }
    ChooseOutput(loader);
    if (!OutputIsKnown(loader)) {
        Release(loader);
        ReportFileError("Error: unsupported pixel layout in PNG file ");
        return -1;
    }
    const int storedDepth = loader.bitDepth * FileChannels(loader.colourType);
    *width = static_cast<uint16_t>(loader.width);
    *height = static_cast<uint16_t>(loader.height);
    *depth = static_cast<uint16_t>(8 * loader.channels);
    facts.formatNote = std::string("Portable Network Graphics") + ColourTypeText(loader.colourType);
    if (loader.passes > 1) facts.formatNote += ", Interlaced Image";
    if (loader.alpha) facts.formatNote += ", Alpha Channel";
    facts.storedBitsPerPixel = static_cast<uint32_t>(storedDepth);
    facts.storedWidth = loader.width;
    facts.storedHeight = loader.height;
    facts.comment.clear();
    facts.commentKeyword.clear();
    return 0;
}

int ReadPngPixels(CDib& picture, ImageFacts& facts) { return PixelPhase(picture, facts, nullptr); }

int ReadPngPixelsTns(CDib& picture, ImageFacts& facts, std::string& description) {
    return PixelPhase(picture, facts, &description);
}

int ProbePngHeader(uint16_t* height, uint16_t* width, uint16_t* depth) {
    static Decoder probe;
    if (!StartReading(probe)) return -1;
    if (setjmp(png_jmpbuf(probe.png)) != 0) {
        Release(probe);
        return -1;
    }
    ReadHeaderChunks(probe);
    const bool fits = SizeFits(probe);
    *width = static_cast<uint16_t>(probe.width);
    *height = static_cast<uint16_t>(probe.height);
    *depth = static_cast<uint16_t>(probe.tRns && !probe.alpha ? 32 : 24);
    Release(probe);
    return fits ? 0 : -1;
}

// ------------------------------------------------------------ writing

namespace {

void WriteToStream(png_structp png, png_bytep data, png_size_t count) {
    static_cast<OutStream*>(png_get_io_ptr(png))->Write(data, count);
}

void FlushStream(png_structp) {}

struct Encoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Messages messages;
    png_color palette[256];
    png_text texts[2];
};

void Release(Encoder& e) {
    if (e.png == nullptr) return;
    png_destroy_write_struct(&e.png, e.info != nullptr ? &e.info : nullptr);
    e.png = nullptr;
    e.info = nullptr;
}

// The whole write, in a frame without destructors (a library error jumps here). The
// texts point into strings the caller keeps alive.
int Compress(Encoder& e, OutStream& out, CDib& picture, const char* keyword, const std::string& comment,
             const std::string* description, void (*progress)(const std::string& text)) {
    e.messages.text[0] = 0;
    e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &e.messages, LeaveByJump, KeepQuiet);
    if (e.png == nullptr) return -1;
    e.info = png_create_info_struct(e.png);
    if (e.info == nullptr) {
        Release(e);
        return -1;
    }
    if (setjmp(png_jmpbuf(e.png)) != 0) {
        Release(e);
        return -1;
    }
    png_set_write_fn(e.png, &out, WriteToStream, FlushStream);
    png_set_compression_level(e.png, -1);
    const int depth = picture.bitsPerPixel;
    const uint32_t width = picture.width, height = picture.height;
    if (depth > 8) {
        png_set_IHDR(e.png, e.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    } else {
        const int entries = 1 << depth;
        const uint8_t* table = picture.ColourTable();
        for (int i = 0; i < entries; ++i) {
            e.palette[i].red = table[4 * i + 2];
            e.palette[i].green = table[4 * i + 1];
            e.palette[i].blue = table[4 * i];
        }
        png_set_IHDR(e.png, e.info, width, height, depth, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(e.png, e.info, e.palette, entries);
    }
    png_write_info(e.png, e.info);
    if (depth > 8) {
        png_set_bgr(e.png);
        if (depth == 32) png_set_filler(e.png, 0, PNG_FILLER_AFTER);
    }
    int shown = -1;
    for (uint32_t r = 0; r < height; ++r) {
        const int percent = static_cast<int>(r * 100ull / height);
        if (percent / 10 > shown) {
            shown = percent / 10;
            if (progress != nullptr) progress(FormatText("Writing file data: %d%% ", percent));
        }
        png_write_row(e.png, picture.Row(static_cast<int>(height - 1 - r)));
    }
    int count = 0;
    if (description != nullptr) {
        e.texts[count] = png_text{};
        e.texts[count].compression = PNG_TEXT_COMPRESSION_NONE;
        e.texts[count].key = const_cast<png_charp>("TNS Data");
        e.texts[count].text = const_cast<png_charp>(description->c_str());
        e.texts[count].text_length = description->size();
        ++count;
    }
    e.texts[count] = png_text{};
    e.texts[count].compression = PNG_TEXT_COMPRESSION_NONE;
    e.texts[count].key = const_cast<png_charp>(keyword);
    e.texts[count].text = const_cast<png_charp>(comment.c_str());
    e.texts[count].text_length = comment.size();
    ++count;
    png_set_text(e.png, e.info, e.texts, count);
    png_write_end(e.png, e.info);
    Release(e);
    return 0;
}

// A PNG keyword: 1 to 79 printable Latin-1 characters without leading, trailing or
// doubled blanks. Anything else is written under "Comment".
bool IsValidKeyword(const std::string& key) {
    if (key.empty() || key.size() > 79 || key.front() == ' ' || key.back() == ' ') return false;
    for (size_t i = 0; i < key.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(key[i]);
        if (c < 32 || (c > 126 && c < 161)) return false;
        if (c == ' ' && i > 0 && key[i - 1] == ' ') return false;
    }
    return true;
}

int WriteWith(OutStream& out, CDib& picture, const WriteOptions& options, const std::string* description) {
    if (picture.Empty()) return -1;
    const int depth = picture.bitsPerPixel;
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 24 && depth != 32) {
        if (picture.MakeTrueColour() != 0) {
            ReportWriteError("Error: unsupported picture depth in PNG file ");
            return -1;
        }
    }
    const std::string keyword = IsValidKeyword(options.commentKeyword) ? options.commentKeyword : "Comment";
    static Encoder encoder;
    const int result = Compress(encoder, out, picture, keyword.c_str(), options.comment, description,
                                options.showProgress);
    if (result < 0) {
        ReportWriteError(encoder.messages.text[0] != 0 ? PngErrorText(encoder.messages)
                                                       : std::string("Error: out of memory in PNG file "));
    }
    return result;
}

}  // namespace

int WritePng(OutStream& out, CDib& picture, const WriteOptions& options) {
    return WriteWith(out, picture, options, nullptr);
}

int WritePngTns(OutStream& out, CDib& picture, const WriteOptions& options, const std::string& description) {
    return WriteWith(out, picture, options, &description);
}
