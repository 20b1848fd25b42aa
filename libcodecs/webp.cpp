// WebP files through libwebp's decoder, demuxer, animation decoder and encoder.
//
// The whole file is in memory (FileCursor); libwebp reads it in place. The header phase
// only looks at the container (features and chunks); the pixel phase decodes. Pixels
// that are fully transparent take the background colour: white, or the user's WebP
// background colour when WEBPUserPackground is on. Partly transparent pixels keep their
// own colour and, in a still picture, their alpha.
#include "libcodecs/webp.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>

#include "base/settings.h"
#include "base/text.h"
#include "codecs/exif.h"
#include "core/filemem.h"
#include "core/frames.h"
#include "core/outstream.h"
#include "core/report.h"
#include "core/title.h"
#include "platform/host.h"

namespace {

// The longest EXIF block the program keeps: what a JPEG APP1 marker can carry, so that
// the block can be written again into a JPEG file.
constexpr size_t kMaxExifPayload = 65533;

const char kFormatError[] = "WebP Format error ";

// What the header phase learnt for the pixel phase.
struct WebpState {
    bool animated = false;
    int width = 0;
    int height = 0;
};
WebpState state;

WebPData FileData() {
    WebPData data;
    data.bytes = FileCursor.start;
    data.size = static_cast<size_t>(FileCursor.size);
    return data;
}

// Blue, green, red of the colour fully transparent pixels take.
void BackgroundBgr(uint8_t bgr[3]) {
    if (WEBPUserPackground) {
        bgr[0] = WEBPBackgroundColour.blue;
        bgr[1] = WEBPBackgroundColour.green;
        bgr[2] = WEBPBackgroundColour.red;
    } else {
        bgr[0] = bgr[1] = bgr[2] = 0xFF;
    }
}

bool SizeFits(int width, int height) {
    return width >= 1 && height >= 1 && width <= kMaxDibSide && height <= kMaxDibSide;
}

// The features of the file's first bytes: size, alpha, animation. False when it is no
// WebP file or its size cannot be held.
bool ReadFeatures(WebPBitstreamFeatures* features) {
    if (FileCursor.start == nullptr) return false;
    if (WebPGetFeatures(FileCursor.start, static_cast<size_t>(FileCursor.size), features) != VP8_STATUS_OK)
        return false;
    return SizeFits(features->width, features->height);
}

// Keeps the file's EXIF chunk as the EXIF block when it is one ("Exif", 0, 0 first) and
// small enough to be written into a JPEG file again.
void CaptureExif(ImageFacts& facts) {
    const WebPData data = FileData();
    WebPDemuxer* demux = WebPDemux(&data);
    if (demux == nullptr) return;
    if (WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS) & EXIF_FLAG) {
        WebPChunkIterator chunk;
        if (WebPDemuxGetChunk(demux, "EXIF", 1, &chunk)) {
            const uint8_t* bytes = chunk.chunk.bytes;
            const size_t size = chunk.chunk.size;
            if (size <= kMaxExifPayload && IsExifPayload(bytes, size)) {
                try {
                    facts.exif.assign(bytes, bytes + size);
                } catch (const std::bad_alloc&) {
                    facts.exif.clear();
                }
            }
            WebPDemuxReleaseChunkIterator(&chunk);
        }
    }
    WebPDemuxDelete(demux);
}

// Fully transparent pixels of a 32-bit picture take the background colour.
void FillTransparent(CDib& picture) {
    uint8_t bgr[3];
    BackgroundBgr(bgr);
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* p = picture.Row(y);
        for (int x = 0; x < picture.width; ++x, p += 4)
            if (p[3] == 0) std::memcpy(p, bgr, 3);
    }
}

// A still picture: the decoder writes blue, green, red, alpha rows straight into the
// picture, top row first, while the data is handed over in tenths (the load progress);
// the rows are turned over afterwards.
int DecodeStill(CDib& picture) {
    if (picture.bitsPerPixel != 32 || picture.width != state.width || picture.height != state.height) return -1;
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) {
        ReportFileError("Can't setup WebP configuration ");
        return -1;
    }
    config.output.colorspace = MODE_BGRA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = picture.bits;
    config.output.u.RGBA.stride = static_cast<int>(picture.rowBytes);
    config.output.u.RGBA.size = static_cast<size_t>(picture.rowBytes) * static_cast<size_t>(picture.height);
    WebPIDecoder* decoder = WebPINewDecoder(&config.output);
    if (decoder == nullptr) {
        ReportFileError("Can't setup WebP configuration ");
        return -1;
    }
    // The decoder is shown a longer stretch of the file each time (in place, never
    // copied) and decodes the rows that stretch completes.
    const size_t size = static_cast<size_t>(FileCursor.size);
    VP8StatusCode status = VP8_STATUS_SUSPENDED;
    for (int tenth = 1; tenth <= 10 && status == VP8_STATUS_SUSPENDED; ++tenth) {
        status = WebPIUpdate(decoder, FileCursor.start, size * static_cast<size_t>(tenth) / 10);
        ShowLoadProgress(tenth);
    }
    // A file cut short shows the rows it holds; the rest stays transparent, so it takes
    // the background colour.
    int rowsDecoded = 0;
    if (status == VP8_STATUS_SUSPENDED && WebPIDecGetRGB(decoder, &rowsDecoded, nullptr, nullptr, nullptr) != nullptr &&
        rowsDecoded > 0)
        status = VP8_STATUS_OK;
    WebPIDelete(decoder);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) {
        ReportFileError(FormatText("Decode WebP image status = %d ", static_cast<int>(status)));
        return -1;
    }
    FillTransparent(picture);
    picture.FlipRows();
    return 0;
}

// One canvas (blue, green, red, alpha, top row first) into frame record `index`'s
// 24-bit picture, bottom row first.
void StoreCanvas(const uint8_t* canvas, int index) {
    CDib& image = animFrames[index].image;
    uint8_t bgr[3];
    BackgroundBgr(bgr);
    const int width = state.width, height = state.height;
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = canvas + static_cast<size_t>(y) * width * 4;
        uint8_t* dst = image.Row(height - 1 - y);
        for (int x = 0; x < width; ++x, src += 4, dst += 3)
            std::memcpy(dst, src[3] == 0 ? bgr : src, 3);
    }
}

struct AnimDecoderHolder {
    WebPAnimDecoder* decoder = nullptr;
    ~AnimDecoderHolder() {
        if (decoder != nullptr) WebPAnimDecoderDelete(decoder);
    }
};

// An animation: every composed canvas becomes a frame record at the canvas size, its
// delay the frame's duration in milliseconds (100 when the file gives 0). Reading stops
// at the table's 4096 records; running out of frame memory after the first frame ends
// the animation with the frames read so far.
int DecodeAnimation(CDib& picture) {
    const WebPData data = FileData();
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) {
        ReportFileError("Can't setup WebP configuration ");
        return -1;
    }
    options.color_mode = MODE_BGRA;
    options.use_threads = 0;
    AnimDecoderHolder holder;
    holder.decoder = WebPAnimDecoderNew(&data, &options);
    WebPAnimInfo info;
    if (holder.decoder == nullptr || !WebPAnimDecoderGetInfo(holder.decoder, &info) ||
        static_cast<int>(info.canvas_width) != state.width || static_cast<int>(info.canvas_height) != state.height) {
        ReportFileError(kFormatError);
        return -1;
    }
    const WebPDemuxer* demux = WebPAnimDecoderGetDemuxer(holder.decoder);
    animScreenWidth = static_cast<uint16_t>(state.width);
    animScreenHeight = static_cast<uint16_t>(state.height);
    int previousTime = 0;
    while (animFrameCount < kMaxAnimFrames && WebPAnimDecoderHasMoreFrames(holder.decoder)) {
        uint8_t* canvas = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(holder.decoder, &canvas, &timestamp)) break;  // the frames so far
        const int index = animFrameCount;
        HostSetTitle(FormatText("<%d> Frame Loading", index));
        animFramesLoaded = true;
        try {
            CreateAnimFrameImage(index, state.width, state.height);
        } catch (const char* text) {
            if (index == 0) throw;
            ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
            break;
        }
        StoreCanvas(canvas, index);
        AnimFrame& frame = animFrames[index];
        frame.left = frame.top = 0;
        frame.width = static_cast<uint16_t>(state.width);
        frame.height = static_cast<uint16_t>(state.height);
        int duration = timestamp - previousTime;
        WebPIterator iter;
        if (demux != nullptr && WebPDemuxGetFrame(demux, index + 1, &iter)) {
            duration = iter.duration;
            WebPDemuxReleaseIterator(&iter);
        }
        previousTime = timestamp;
        frame.delay = static_cast<uint16_t>(duration <= 0 ? 100 : std::min(duration, 65535));
        ++animFrameCount;
    }
    if (animFrameCount == 0) {
        ReportFileError(kFormatError);
        return -1;
    }
    // The picture is frame 0; playback starts from it.
    picture.Assign(animFrames[0].image);
    return 0;
}

}  // namespace

int ReadWebpHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    ReleaseAnimFrames();
    state = WebpState();
    WebPBitstreamFeatures features;
    if (!ReadFeatures(&features)) {
        ReportFileError(kFormatError);
        return -1;
    }
    state.animated = features.has_animation != 0;
    state.width = features.width;
    state.height = features.height;
    facts.formatNote = "WEBP";
    facts.storedBitsPerPixel = 32;
    facts.storedWidth = static_cast<uint32_t>(features.width);
    facts.storedHeight = static_cast<uint32_t>(features.height);
    CaptureExif(facts);
    *width = static_cast<uint16_t>(features.width);
    *height = static_cast<uint16_t>(features.height);
    *depth = state.animated ? 24 : 32;
    return 0;
}

int ReadWebpPixels(CDib& picture, ImageFacts& facts) {
    if (state.width == 0) return -1;
    if (!state.animated) return DecodeStill(picture);
    int result;
    try {
        result = DecodeAnimation(picture);
    } catch (const char*) {
        ReleaseAnimFrames();
        throw;
    }
    if (result < 0) {
        ReleaseAnimFrames();
        return -1;
    }
    if (animFrameCount > 1) facts.formatNote += FormatText(", Animated WebP with %d frames", animFrameCount);
    return 0;
}

int ProbeWebpHeader(uint16_t* height, uint16_t* width, uint16_t* depth) {
    WebPBitstreamFeatures features;
    if (!ReadFeatures(&features)) return -1;
    *width = static_cast<uint16_t>(features.width);
    *height = static_cast<uint16_t>(features.height);
    *depth = features.has_animation ? 24 : 32;
    return 0;
}

// ------------------------------------------------------------ writing

namespace {

struct EncodedBytes {
    uint8_t* data = nullptr;
    ~EncodedBytes() { WebPFree(data); }
};

}  // namespace

int WriteWebp(OutStream& out, CDib& picture, const WriteOptions& options) {
    if (picture.Empty()) return -1;
    if (options.showProgress != nullptr) options.showProgress("Saving WebP image - please wait");
    // The encoder takes blue, green, red rows, top row first.
    CDib copy;
    copy.Assign(picture);
    if (copy.bitsPerPixel != 24) copy.MakeTrueColour();
    copy.FlipRows();
    const int stride = static_cast<int>(copy.rowBytes);
    EncodedBytes encoded;
    size_t size;
    if (options.webpLossless) {
        size = WebPEncodeLosslessBGR(copy.bits, copy.width, copy.height, stride, &encoded.data);
    } else {
        const float quality = std::clamp(options.webpQuality, 0.0f, 100.0f);
        size = WebPEncodeBGR(copy.bits, copy.width, copy.height, stride, quality, &encoded.data);
    }
    if (size == 0 || encoded.data == nullptr) {
        ReportWriteError("Can't encode WebP image ");
        return -1;
    }
    out.Write(encoded.data, size);
    return 0;
}
