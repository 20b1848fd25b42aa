// JPEG files through libjpeg (libjpeg-turbo's IJG interface).
//
// libjpeg leaves an error by calling error_exit, which must not return: ours formats the
// library's text and long-jumps back into the function of this file that called the
// library. Each entry point arms its own jump buffer, so the loader's reader, the probe,
// the thumbnail decoder and the writer never land in each other's frames, and the
// library objects are destroyed on every way out. No object with a destructor is alive
// in a frame a jump passes over: the marker processors build their results in plain
// buffers and store them only when they are complete.
#include "libcodecs/jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "base/text.h"
#include "codecs/exif.h"
#include "core/fileops.h"
#include "core/filemem.h"
#include "core/outstream.h"
#include "core/report.h"
#include "core/title.h"
#include "platform/host.h"

namespace {

constexpr size_t kPortion = 4096;
constexpr size_t kCommentLimit = 250;

// ------------------------------------------------------------ errors

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void LeaveByJump(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    longjmp(errors->jump, 1);
}

// Warnings (a file cut short, extra bytes between markers) are not the user's business:
// the picture shows what could be decoded.
void KeepQuiet(j_common_ptr) {}

void SetUpErrors(ErrorManager& errors) {
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = LeaveByJump;
    errors.pub.output_message = KeepQuiet;
    errors.message[0] = 0;
}

std::string JpegErrorText(const ErrorManager& errors) {
    return FormatText("Error: %s in JPEG file", errors.message);
}

// ------------------------------------------------------------ the file in memory

// Hands out the bytes in place, a portion at a time. When they are used up a file that
// gave anything ends with an end-of-image marker of its own (a cut file shows what it
// holds); the marker is a constant, nothing is ever written into the data.
struct MemorySource {
    jpeg_source_mgr pub;
    const uint8_t* data;
    size_t size;
    size_t handedOut;
};

const JOCTET kEndOfImage[2] = {0xFF, 0xD9};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<MemorySource*>(cinfo->src);
    if (src->handedOut < src->size) {
        const size_t n = std::min(kPortion, src->size - src->handedOut);
        src->pub.next_input_byte = src->data + src->handedOut;
        src->pub.bytes_in_buffer = n;
        src->handedOut += n;
        return TRUE;
    }
    if (src->handedOut == 0) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->pub.next_input_byte = kEndOfImage;
    src->pub.bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    size_t left = static_cast<size_t>(count);
    while (left > src->bytes_in_buffer) {
        left -= src->bytes_in_buffer;
        src->bytes_in_buffer = 0;
        (*src->fill_input_buffer)(cinfo);
        // Past the end only the end-of-image marker comes: it is not skipped.
        if (src->next_input_byte == kEndOfImage) return;
    }
    src->next_input_byte += left;
    src->bytes_in_buffer -= left;
}

void AttachSource(j_decompress_ptr cinfo, MemorySource& source, const uint8_t* data, size_t size) {
    source.pub.init_source = InitSource;
    source.pub.fill_input_buffer = FillInputBuffer;
    source.pub.skip_input_data = SkipInputData;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = TermSource;
    source.pub.bytes_in_buffer = 0;
    source.pub.next_input_byte = nullptr;
    source.data = data;
    source.size = size;
    source.handedOut = 0;
    cinfo->src = &source.pub;
}

// The next byte of a marker segment; past the data the end-of-image marker's bytes.
int NextByte(j_decompress_ptr cinfo) {
    jpeg_source_mgr* src = cinfo->src;
    if (src->bytes_in_buffer == 0) (*src->fill_input_buffer)(cinfo);
    src->bytes_in_buffer--;
    return *src->next_input_byte++;
}

int SegmentLength(j_decompress_ptr cinfo) {
    const int high = NextByte(cinfo);
    return high << 8 | NextByte(cinfo);
}

// ------------------------------------------------------------ the reader's state

// What one decompression records beyond libjpeg's own state: where the marker
// processors put the comment and the metadata blocks.
struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    MemorySource source;
    bool live = false;
    bool collectMetadata = false;
    char comment[kCommentLimit];
    size_t commentLength;
    // Where in the data the EXIF payload and the XMP marker lie (length 0: none).
    size_t exifAt, exifLength, xmpAt, xmpLength;
    JSAMPARRAY row;
};

Decoder& ActiveDecoder(j_decompress_ptr cinfo) { return *static_cast<Decoder*>(cinfo->client_data); }

// The comment's bytes as they are: at most the first 250 of the marker are kept (the
// program shows them escaped, and writes them back unchanged); the rest of the marker is
// skipped, so bytes inside a long comment are never taken for markers.
boolean CollectComment(j_decompress_ptr cinfo) {
    Decoder& d = ActiveDecoder(cinfo);
    const int payload = std::max(0, SegmentLength(cinfo) - 2);
    const int taken = std::min<int>(payload, kCommentLimit);
    for (int i = 0; i < taken; ++i) d.comment[i] = static_cast<char>(NextByte(cinfo));
    d.commentLength = static_cast<size_t>(taken);
    SkipInputData(cinfo, payload - taken);
    return TRUE;
}

// Notes where an EXIF block (the first one) and an XMP packet (the last one) lie. The
// bytes are looked at in place: the whole file is one block of memory. A marker that
// claims more bytes than the file holds keeps only what is there.
boolean InspectApp1(j_decompress_ptr cinfo) {
    Decoder& d = ActiveDecoder(cinfo);
    const int length = SegmentLength(cinfo);
    if (length <= 2) return TRUE;
    jpeg_source_mgr* src = cinfo->src;
    if (src->bytes_in_buffer == 0) (*src->fill_input_buffer)(cinfo);
    const uint8_t* payload = src->next_input_byte;
    const uint8_t* end = d.source.data + d.source.size;
    if (payload >= d.source.data + 4 && payload <= end) {
        const size_t at = static_cast<size_t>(payload - d.source.data);
        const size_t available = std::min<size_t>(static_cast<size_t>(length - 2), static_cast<size_t>(end - payload));
        if (d.exifLength == 0 && IsExifPayload(payload, available)) {
            d.exifAt = at;
            d.exifLength = available;
        }
        if (IsXmpPayload(payload, available)) {
            d.xmpAt = at - 4;  // the marker's 0xFF
            d.xmpLength = available + 4;
        }
    }
    SkipInputData(cinfo, length - 2);
    return TRUE;
}

void Release(Decoder& d) {
    if (!d.live) return;
    jpeg_destroy_decompress(&d.cinfo);
    d.live = false;
}

// Creates the decompressor over `data` and reads the header. Called after setjmp.
void StartReading(Decoder& d, const uint8_t* data, size_t size, bool collectMetadata) {
    SetUpErrors(d.errors);
    d.cinfo.err = &d.errors.pub;
    jpeg_create_decompress(&d.cinfo);
    d.live = true;
    d.cinfo.client_data = &d;
    d.collectMetadata = collectMetadata;
    d.commentLength = 0;
    d.exifAt = d.exifLength = d.xmpAt = d.xmpLength = 0;
    if (collectMetadata) {
        jpeg_set_marker_processor(&d.cinfo, JPEG_COM, CollectComment);
        jpeg_set_marker_processor(&d.cinfo, JPEG_APP0 + 1, InspectApp1);
    }
    AttachSource(&d.cinfo, d.source, data, size);
    jpeg_read_header(&d.cinfo, TRUE);
}

// Leaves the entry point that armed the decoder's jump buffer with a message of the
// library's kind (`format` takes one number), so it is reported as the library's errors are.
[[noreturn]] void Refuse(Decoder& d, const char* format, int value) {
    std::snprintf(d.errors.message, sizeof d.errors.message, format, value);
    longjmp(d.errors.jump, 1);
}

// The memory the library may take: the whole-picture coefficient store a progressive or
// multi-scan file needs (each component's blocks, rounded to its sampling factors) and
// room for the row buffers. A file that needs more is refused by the library, before it
// allocates, instead of being given all the memory it claims.
constexpr long kLibraryRowRoom = 64L << 20;

long LibraryMemoryBound(const jpeg_decompress_struct& c) {
    unsigned long long blocks = 0;
    for (int i = 0; i < c.num_components; ++i) {
        const jpeg_component_info& comp = c.comp_info[i];
        const unsigned long long across = (comp.width_in_blocks + comp.h_samp_factor - 1) / comp.h_samp_factor;
        const unsigned long long down = (comp.height_in_blocks + comp.v_samp_factor - 1) / comp.v_samp_factor;
        blocks += across * comp.h_samp_factor * down * comp.v_samp_factor;
    }
    const unsigned long long bytes = blocks * sizeof(JBLOCK) + kLibraryRowRoom;
    return static_cast<long>(std::min<unsigned long long>(bytes, 1ULL << 62));
}

// Rows are decoded straight into the picture as blue, green, red; CMYK files come out
// as four samples and are turned into colour by the c * k / 255 rule. Files of any other
// number of components (2, or 5 and more) are refused: their samples are neither.
void ChooseOutput(Decoder& d) {
    d.cinfo.quantize_colors = FALSE;
    const int components = d.cinfo.num_components;
    if (components != 1 && components != 3 && components != 4)
        Refuse(d, "Unsupported number of colour components %d", components);
    const J_COLOR_SPACE space = d.cinfo.out_color_space;
    if (space == JCS_RGB || space == JCS_GRAYSCALE) d.cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&d.cinfo);
    const bool direct = d.cinfo.out_color_space == JCS_EXT_BGR && d.cinfo.output_components == 3;
    const bool cmyk = d.cinfo.out_color_space == JCS_CMYK && d.cinfo.output_components == 4;
    if (!direct && !cmyk) Refuse(d, "Unsupported colour conversion of %d components", components);
    d.cinfo.mem->max_memory_to_use = LibraryMemoryBound(d.cinfo);
}

void StartDecompressing(Decoder& d) {
    jpeg_start_decompress(&d.cinfo);
    d.row = (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE,
                                         d.cinfo.output_width * d.cinfo.output_components, 1);
}

void CmykToBgr(const JSAMPLE* cmyk, uint8_t* bgr, unsigned width) {
    for (unsigned x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = cmyk[3];
        bgr[0] = static_cast<uint8_t>(cmyk[2] * k / 255);
        bgr[1] = static_cast<uint8_t>(cmyk[1] * k / 255);
        bgr[2] = static_cast<uint8_t>(cmyk[0] * k / 255);
    }
}

// Decodes every row into `picture` (24 bits, the output size), top row into the last
// storage row. `progress` reports tenths.
void DecodeRows(Decoder& d, CDib& picture, bool progress) {
    jpeg_decompress_struct& c = d.cinfo;
    const unsigned height = c.output_height;
    const bool direct = c.out_color_space == JCS_EXT_BGR;
    while (c.output_scanline < height) {
        const unsigned i = c.output_scanline;
        if (progress) ShowLoadProgress(static_cast<int>(i * 10ull / height));
        uint8_t* target = picture.Row(static_cast<int>(height - 1 - i));
        JSAMPROW rows[1] = {direct ? target : d.row[0]};
        if (jpeg_read_scanlines(&c, rows, 1) != 1) break;
        if (!direct) CmykToBgr(d.row[0], target, c.output_width);
    }
    jpeg_finish_decompress(&c);
}

const char* ColourSpaceText(J_COLOR_SPACE space) {
    switch (space) {
        case JCS_GRAYSCALE: return ", Greyscale Colour";
        case JCS_RGB: return ", RGB Colour";
        case JCS_YCbCr: return ", Y/Cb/Cr Colour";
        case JCS_CMYK: return ", C/M/Y/K Colour";
        case JCS_YCCK: return ", Y/Cb/Cr/K Colour";
        default: return "";
    }
}

int ProcessCode(const jpeg_decompress_struct& c) {
    if (c.arith_code) return c.progressive_mode ? 202 : 201;
    if (c.progressive_mode) return 194;
    return c.data_precision == 8 ? 192 : 193;
}

// Whether the 24-bit picture the rows go into can be made: each side within the
// picture limits and the pixels under the 4 GiB a picture block can hold. Checked before
// decompression starts, which for a progressive file reads the whole file into memory
// sized by the claimed size.
bool SizeFits(const jpeg_decompress_struct& c) {
    const bool sides = c.output_width >= 1 && c.output_width <= static_cast<unsigned>(kMaxDibSide) &&
                       c.output_height >= 1 && c.output_height <= static_cast<unsigned>(kMaxDibSide);
    return sides && DibRowBytes(c.output_width, 24) * c.output_height + sizeof(DibHeader) <= 0xFFFFFFFFull;
}

// The loader's decompressor: made by the header phase, ended by the pixel phase or, when
// the pixels are never asked for, by the next header phase or the decode entry's release.
Decoder loader;

// Stores what the header phase learnt. Allocation failures are the caller's to report.
void RecordFacts(const Decoder& d, ImageFacts& facts, J_COLOR_SPACE space) {
    facts.formatNote = std::string("JPEG") + ColourSpaceText(space);
    facts.storedBitsPerPixel = space == JCS_GRAYSCALE ? 8 : 24;
    facts.storedWidth = d.cinfo.image_width;
    facts.storedHeight = d.cinfo.image_height;
    facts.comment.assign(d.comment, d.commentLength);
    facts.jpegProcess = ProcessCode(d.cinfo);
    const uint8_t* data = d.source.data;
    try {
        if (d.exifLength > 0) facts.exif.assign(data + d.exifAt, data + d.exifAt + d.exifLength);
    } catch (const std::bad_alloc&) {
        facts.exif.clear();
        ShowMessage("Can't allocate Exif header memory", "Process Exif Info", kMbOk | kMbIconWarning);
    }
    try {
        if (d.xmpLength > 0) facts.xmp.assign(data + d.xmpAt, data + d.xmpAt + d.xmpLength);
    } catch (const std::bad_alloc&) {
        facts.xmp.clear();  // the XMP text is then not available
    }
}

}  // namespace

void ReleaseJpegReader() { Release(loader); }

int ReadJpegHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    Release(loader);
    if (setjmp(loader.errors.jump) != 0) {
        Release(loader);
        ReportFileError(JpegErrorText(loader.errors));
        return -1;
    }
    StartReading(loader, FileCursor.start, static_cast<size_t>(FileCursor.size), true);
    const J_COLOR_SPACE space = loader.cinfo.out_color_space;
    ChooseOutput(loader);
    if (!SizeFits(loader.cinfo)) {
        const std::string text = FormatText("Image size %u x %u not supported in file ", loader.cinfo.output_width,
                                            loader.cinfo.output_height);
        Release(loader);
        ReportFileError(text);
        return -1;
    }
    StartDecompressing(loader);
    *width = static_cast<uint16_t>(loader.cinfo.output_width);
    *height = static_cast<uint16_t>(loader.cinfo.output_height);
    *depth = 24;
    RecordFacts(loader, facts, space);
    return 0;
}

int ReadJpegPixels(CDib& picture, ImageFacts&) {
    if (!loader.live) return -1;
    if (setjmp(loader.errors.jump) != 0) {
        Release(loader);
        ReportFileError(JpegErrorText(loader.errors));
        return -1;
    }
    if (picture.width != loader.cinfo.output_width || picture.height != loader.cinfo.output_height ||
        picture.bitsPerPixel != 24) {
        Release(loader);
        return -1;
    }
    DecodeRows(loader, picture, true);
    Release(loader);
    return 0;
}

int ProbeJpegHeader(uint16_t* height, uint16_t* width, uint16_t* depth) {
    static Decoder probe;
    if (setjmp(probe.errors.jump) != 0) {
        Release(probe);
        return -1;
    }
    StartReading(probe, FileCursor.start, static_cast<size_t>(FileCursor.size), false);
    ChooseOutput(probe);
    const bool fits = SizeFits(probe.cinfo);
    *width = static_cast<uint16_t>(probe.cinfo.output_width);
    *height = static_cast<uint16_t>(probe.cinfo.output_height);
    *depth = 24;
    Release(probe);
    return fits ? 0 : -1;
}

namespace {

// The largest thumbnail decoded: 4096 x 4096 pixels, far beyond any camera's.
constexpr uint64_t kLargestThumbnailPixels = 4096ull * 4096ull;

// One decode of a stream in memory, start to end, in a frame of its own. The picture is
// created between the phases; an allocation failure there is turned into -1.
int DecodeWhole(Decoder& d, const uint8_t* data, size_t size, CDib& picture) {
    if (setjmp(d.errors.jump) != 0) {
        Release(d);
        return -1;
    }
    StartReading(d, data, size, false);
    ChooseOutput(d);
    // The streams decoded here are EXIF thumbnails (at most 64 KB): a claim beyond any
    // thumbnail is refused before the library or the picture takes memory for it.
    const uint64_t pixels = static_cast<uint64_t>(d.cinfo.output_width) * d.cinfo.output_height;
    if (!SizeFits(d.cinfo) || pixels > kLargestThumbnailPixels) {
        Release(d);
        return -1;
    }
    StartDecompressing(d);
    bool created = true;
    try {
        picture.Create(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height), 24);
    } catch (const char*) {
        created = false;
    }
    if (!created) {
        Release(d);
        return -1;
    }
    DecodeRows(d, picture, false);
    Release(d);
    return 0;
}

}  // namespace

int DecodeJpegBytes(const uint8_t* data, size_t size, CDib& picture) {
    if (data == nullptr || size < 2 || data[0] != 0xFF || data[1] != 0xD8) return -1;
    static Decoder thumbnail;
    return DecodeWhole(thumbnail, data, size, picture);
}

// ------------------------------------------------------------ writing

namespace {

constexpr size_t kOutputChunk = 65536;

// Sends the compressed bytes to the output stream in chunks. A failed write is noticed
// by the stream, which fails the whole write at its end.
struct StreamDestination {
    jpeg_destination_mgr pub;
    OutStream* out;
    JOCTET buffer[kOutputChunk];
};

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<StreamDestination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kOutputChunk;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<StreamDestination*>(cinfo->dest);
    dest->out->Write(dest->buffer, kOutputChunk);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kOutputChunk;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<StreamDestination*>(cinfo->dest);
    dest->out->Write(dest->buffer, kOutputChunk - dest->pub.free_in_buffer);
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    StreamDestination destination;
    bool live = false;
    std::vector<uint8_t>* line = nullptr;
};

void Release(Encoder& e) {
    if (!e.live) return;
    jpeg_destroy_compress(&e.cinfo);
    e.live = false;
}

bool IsGreyRamp(const CDib& picture) {
    if (picture.bitsPerPixel != 8) return false;
    const uint8_t* table = picture.ColourTable();
    for (int i = 0; i < 256; ++i) {
        const uint8_t* entry = table + 4 * i;
        if (entry[0] != i || entry[1] != i || entry[2] != i) return false;
    }
    return true;
}

// How the picture's rows are handed to the compressor: 24- and 32-bit rows as they are
// stored, a grey-ramp 8-bit picture as grey samples, any other palette picture expanded
// through its colour table into the line buffer.
enum class RowKind { Direct, Grey, Palette };

// `indices` has room for one row of indices.
void ExpandRow(const CDib& picture, int storageRow, uint8_t* indices, uint8_t* bgr) {
    const uint8_t* table = picture.ColourTable();
    const uint8_t* index = UnpackIndices(picture.Row(storageRow), picture.bitsPerPixel, picture.width, indices);
    for (int x = 0; x < picture.width; ++x) {
        const uint8_t* entry = table + 4 * index[x];
        bgr[3 * x] = entry[0];
        bgr[3 * x + 1] = entry[1];
        bgr[3 * x + 2] = entry[2];
    }
}

// The whole compression, in a frame without destructors (a library error jumps here).
int Compress(Encoder& e, OutStream& out, CDib& picture, const WriteOptions& options, const std::vector<uint8_t>* exif) {
    if (setjmp(e.errors.jump) != 0) {
        Release(e);
        return -1;
    }
    SetUpErrors(e.errors);
    e.cinfo.err = &e.errors.pub;
    jpeg_create_compress(&e.cinfo);
    e.live = true;
    e.destination.pub.init_destination = InitDestination;
    e.destination.pub.empty_output_buffer = EmptyOutputBuffer;
    e.destination.pub.term_destination = TermDestination;
    e.destination.out = &out;
    e.cinfo.dest = &e.destination.pub;

    const int depth = picture.bitsPerPixel;
    RowKind kind = RowKind::Direct;
    if (depth < 24) kind = IsGreyRamp(picture) ? RowKind::Grey : RowKind::Palette;
    e.cinfo.image_width = picture.width;
    e.cinfo.image_height = picture.height;
    if (kind == RowKind::Grey) {
        e.cinfo.input_components = 1;
        e.cinfo.in_color_space = JCS_GRAYSCALE;
    } else if (depth == 32) {
        e.cinfo.input_components = 4;
        e.cinfo.in_color_space = JCS_EXT_BGRX;
    } else {
        e.cinfo.input_components = 3;
        e.cinfo.in_color_space = JCS_EXT_BGR;
    }
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, std::clamp(options.jpegQuality, 0, 100), TRUE);
    jpeg_start_compress(&e.cinfo, TRUE);
    if (exif != nullptr && !exif->empty())
        jpeg_write_marker(&e.cinfo, JPEG_APP0 + 1, exif->data(), static_cast<unsigned>(exif->size()));
    jpeg_write_marker(&e.cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(options.comment.data()),
                      static_cast<unsigned>(options.comment.size()));

    const int height = picture.height;
    int shown = -1;
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        const int r = static_cast<int>(e.cinfo.next_scanline);
        const int tenth = static_cast<int>(r * 10ll / height);
        if (tenth > shown) {
            shown = tenth;
            if (options.showProgress != nullptr)
                options.showProgress(FormatText("Saving file %d%% ", tenth * 10) + options.fileName);
        }
        const int storageRow = height - 1 - r;
        JSAMPROW row[1];
        if (kind == RowKind::Palette) {
            ExpandRow(picture, storageRow, e.line->data() + 3 * static_cast<size_t>(picture.width), e.line->data());
            row[0] = e.line->data();
        } else {
            row[0] = picture.Row(storageRow);
        }
        jpeg_write_scanlines(&e.cinfo, row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    Release(e);
    return 0;
}

// The longest APP1 or COM payload a marker can carry.
constexpr size_t kMaxMarkerPayload = 65533;

}  // namespace

int WriteJpeg(OutStream& out, CDib& picture, const WriteOptions& options) {
    if (picture.Empty()) return -1;
    // Three bytes a pixel for the row handed over, one for a palette row's indices.
    const size_t lineBytes = static_cast<size_t>(picture.width) * 4;
    std::vector<uint8_t> line;
    try {
        line.resize(lineBytes);
    } catch (const std::bad_alloc&) {
        ReportWriteError(FormatText("Not enough memory: %d bytes for line buffer in JPEG file ", static_cast<int>(lineBytes)));
        ShowMessage(FormatText("Error in Opening %s", OutputFile.fullPath.c_str()), "Write JPEG", kMbOk | kMbIconWarning);
        return -1;
    }
    // A block whose orientation was applied to the pixels is written saying "normal".
    std::vector<uint8_t> upright;
    const std::vector<uint8_t>* exif = options.exif;
    if (exif != nullptr && (exif->size() > kMaxMarkerPayload || exif->empty())) exif = nullptr;
    if (exif != nullptr && options.exifUpright) {
        upright = *exif;
        SetExifOrientationNormal(upright);
        exif = &upright;
    }
    WriteOptions bounded = options;
    if (bounded.comment.size() > kMaxMarkerPayload) bounded.comment.resize(kMaxMarkerPayload);
    static Encoder encoder;
    encoder.line = &line;
    const int result = Compress(encoder, out, picture, bounded, exif);
    encoder.line = nullptr;
    if (result < 0) ReportWriteError(JpegErrorText(encoder.errors));
    return result;
}
