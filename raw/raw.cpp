// Camera RAW files through LibRaw (the thread-safe build).
//
// LibRaw reads the file in memory (FileCursor) in place. Phase 1 identifies the camera,
// declines sensors too large to hold, unpacks and processes the whole picture while the
// run mode is 8: the progress callback titles each stage and pumps messages, so that
// Escape (which sets the run mode back to 0) is seen and cancels the work. The processed
// picture stays with the decoder until phase 2 copies it into the picture as blue, green,
// red rows, or the release hook drops it.
#include "raw/raw.h"
#include "raw/raw_guard.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>

#include <libraw/libraw.h>

#include "base/appstate.h"
#include "base/text.h"
#include "core/fileops.h"
#include "core/filemem.h"
#include "core/report.h"
#include "core/title.h"
#include "platform/host.h"

// About 270 million sensor pixels: beyond every camera made, and LibRaw's working image
// (four 16-bit samples a pixel) of the largest stays near 2 GiB.
uint64_t RawPixelLimit = uint64_t{1} << 28;

namespace {

const char kUnsupported[] = "The format of this RAW file is unsupported";
const char kTerminated[] = "Terminated at user's request";

// LibRaw's default handlers print to standard error; its return codes say everything.
constexpr unsigned kQuietLibRaw = LIBRAW_OPIONS_NO_MEMERR_CALLBACK | LIBRAW_OPIONS_NO_DATAERR_CALLBACK;

// What the camera lines are made of, kept from the last file phase 1 identified.
struct CameraValues {
    std::string make, model, owner;
    time_t timestamp = 0;
    int width = 0, height = 0;          // the output picture
    int fullWidth = 0, fullHeight = 0;  // the whole sensor, margins included
    float iso = 0, shutter = 0, aperture = 0, focalLength = 0;
    bool profile = false;
    unsigned rawCount = 0;
    double pixelAspect = 1;
};
CameraValues camera;

// One decoder serves every file: LibRaw's object is large (about 750 KB), so it is made
// once and recycled after each file, which frees every buffer it took for that file.
LibRaw* decoder = nullptr;
// The decoder holds phase 1's processed picture for phase 2.
bool holding = false;

// The decoder with the reader's fixed options; null when there is no memory for it.
LibRaw* Decoder() {
    if (decoder == nullptr) decoder = new (std::nothrow) LibRaw(kQuietLibRaw);
    if (decoder == nullptr) return nullptr;
    libraw_output_params_t& p = decoder->imgdata.params;
    p.use_camera_wb = 1;  // -w
    p.user_qual = 3;      // -q 3: AHD
    p.output_color = 1;   // -o 1: sRGB
    p.output_bps = 8;
    // LibRaw's own bound on the raw data it allocates, from the same limit: four 16-bit
    // samples a pixel, within 64 MiB and LibRaw's default of 2 GiB.
    p.max_raw_memory_mb = static_cast<unsigned>(std::clamp<uint64_t>(RawPixelLimit * 8 >> 20, 64, 2048));
    return decoder;
}

void Recycle(LibRaw& raw) {
    raw.set_progress_handler(nullptr, nullptr);
    raw.recycle();
}

bool HaveFile() { return FileCursor.start != nullptr && FileCursor.size > 0; }

int OpenInMemory(LibRaw& raw) {
    if (EndsLibRaw(FileCursor.start, static_cast<size_t>(FileCursor.size)))
        return LIBRAW_FILE_UNSUPPORTED;
    return raw.open_buffer(const_cast<uint8_t*>(FileCursor.start), static_cast<size_t>(FileCursor.size));
}

bool SideFits(int side) { return side >= 1 && side <= kMaxDibSide; }

// ------------------------------------------------------------ progress

// Position of a stage among LibRaw's twenty processing stages (its bit number).
int StageIndex(LibRaw_progress stage) {
    int index = 0;
    for (unsigned bits = static_cast<unsigned>(stage); bits > 1; bits >>= 1) ++index;
    return index;
}

// The title of a stage; false for the stages of identification, which are over at once
// and followed by the "Loading" title.
bool StageTitle(LibRaw_progress stage, int iteration, int expected, char* text, size_t size) {
    switch (stage) {
        case LIBRAW_PROGRESS_START:
        case LIBRAW_PROGRESS_OPEN:
        case LIBRAW_PROGRESS_IDENTIFY:
        case LIBRAW_PROGRESS_SIZE_ADJUST: return false;
        case LIBRAW_PROGRESS_PRE_INTERPOLATE:
            // LibRaw reports the stage's start and its end, which is where the
            // interpolation begins.
            std::snprintf(text, size, iteration <= 0 ? "Pre-interpolation..." : "Begin interpolation...");
            return true;
        case LIBRAW_PROGRESS_INTERPOLATE:
            if (expected <= 0) return false;
            std::snprintf(text, size, "Interpolating: %d%%", std::min(100, std::max(0, iteration) * 100 / expected));
            return true;
        default:
            std::snprintf(text, size, "Processing RAW image: %d%%", std::min(100, StageIndex(stage) * 5));
            return true;
    }
}

struct Progress {
    char last[64] = "";
};

// LibRaw calls this between stages and during the long ones (on the main thread); a
// non-zero answer cancels the work.
int OnProgress(void* data, LibRaw_progress stage, int iteration, int expected) {
    auto* progress = static_cast<Progress*>(data);
    try {
        char text[sizeof progress->last];
        if (StageTitle(stage, iteration, expected, text, sizeof text) && std::strcmp(text, progress->last) != 0) {
            std::memcpy(progress->last, text, sizeof text);
            HostSetTitle(text);
        }
        HostPumpMessages();
    } catch (...) {
        return 1;  // out of memory for a title: stop as cleanly as Escape does
    }
    return RunMode == RUN_LONG_RAW ? 0 : 1;
}

// ------------------------------------------------------------ phase 1

enum class Outcome { Done, Unsupported, Terminated, TooLarge, Failed };

Outcome FromCode(int code, Outcome otherwise) {
    if (code == LIBRAW_CANCELLED_BY_CALLBACK) return Outcome::Terminated;
    if (code == LIBRAW_TOO_BIG) return Outcome::TooLarge;
    return otherwise;
}

void KeepCamera(const LibRaw& raw) {
    const libraw_data_t& d = raw.imgdata;
    camera = CameraValues();
    camera.make.assign(d.idata.make, strnlen(d.idata.make, sizeof d.idata.make));
    camera.model.assign(d.idata.model, strnlen(d.idata.model, sizeof d.idata.model));
    camera.owner.assign(d.other.artist, strnlen(d.other.artist, sizeof d.other.artist));
    camera.timestamp = d.other.timestamp;
    camera.fullWidth = d.sizes.raw_width;
    camera.fullHeight = d.sizes.raw_height;
    camera.iso = d.other.iso_speed;
    camera.shutter = d.other.shutter;
    camera.aperture = d.other.aperture;
    camera.focalLength = d.other.focal_len;
    camera.profile = d.color.profile != nullptr && d.color.profile_length > 0;
    camera.rawCount = d.idata.raw_count;
    camera.pixelAspect = d.sizes.pixel_aspect;
}

// Identification, the size checks, unpacking and processing; the output size on success.
// `sides` gives the size that was too large.
Outcome Process(LibRaw& raw, int* width, int* height, int sides[2]) {
    LongWorkScope mode(RUN_LONG_RAW);
    Progress progress;
    raw.set_progress_handler(OnProgress, &progress);
    int code = OpenInMemory(raw);
    if (code != LIBRAW_SUCCESS) return FromCode(code, Outcome::Unsupported);
    KeepCamera(raw);
    HostSetTitle(FormatText("Loading %s %s image from ", camera.make.c_str(), camera.model.c_str()));
    const libraw_image_sizes_t& s = raw.imgdata.sizes;
    sides[0] = s.raw_width;
    sides[1] = s.raw_height;
    if (!SideFits(s.raw_width) || !SideFits(s.raw_height) || !SideFits(s.width) || !SideFits(s.height) ||
        uint64_t{s.raw_width} * s.raw_height > RawPixelLimit)
        return Outcome::TooLarge;
    code = raw.unpack();
    if (code != LIBRAW_SUCCESS) return FromCode(code, Outcome::Failed);
    code = raw.dcraw_process();
    if (code != LIBRAW_SUCCESS) return FromCode(code, Outcome::Failed);
    int colours = 0, bits = 0;
    raw.get_mem_image_format(width, height, &colours, &bits);
    sides[0] = *width;
    sides[1] = *height;
    if (bits != 8 || (colours != 1 && colours != 3)) return Outcome::Failed;
    if (!SideFits(*width) || !SideFits(*height)) return Outcome::TooLarge;
    return Outcome::Done;
}

// A box with its own caption; a batch run prints the same text as its other reports.
void ReportProcessingFailure() {
    if (RunMode == RUN_BATCH) {
        ReportFileError("Processing fail in RAW file");
        return;
    }
    ShowMessage(FormatText("Processing fail in RAW file: %s", InputFile.fullPath.c_str()), "Process RAW File",
                kMbOk | kMbIconWarning);
}

}  // namespace

int ReadRawHeader(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    ReleaseRawDecoder();
    camera = CameraValues();
    if (!HaveFile()) {
        ReportFileError(kUnsupported);
        return -1;
    }
    LibRaw* raw = Decoder();
    if (raw == nullptr) {
        ReportProcessingFailure();
        return -1;
    }
    Recycle(*raw);  // whatever an interrupted file may have left
    int w = 0, h = 0, sides[2] = {0, 0};
    // The run mode is back to what it was before anything is reported, so that the
    // report goes where the mode says (a batch run's output, the slide show's title).
    const Outcome outcome = Process(*raw, &w, &h, sides);
    if (outcome != Outcome::Done) {
        Recycle(*raw);
        switch (outcome) {
            case Outcome::Unsupported: ReportFileError(kUnsupported); break;
            case Outcome::Terminated: ReportFileError(kTerminated); break;
            case Outcome::TooLarge:
                ReportFileError(FormatText("Image size %d x %d not supported in file", sides[0], sides[1]));
                break;
            default: ReportProcessingFailure(); break;
        }
        return -1;
    }
    raw->set_progress_handler(nullptr, nullptr);
    holding = true;
    camera.width = w;
    camera.height = h;
    facts.formatNote = "RAW\n";
    facts.storedWidth = static_cast<uint32_t>(w);
    facts.storedHeight = static_cast<uint32_t>(h);
    facts.storedBitsPerPixel = 24;
    facts.rawCameraText = RawCameraText();
    *width = static_cast<uint16_t>(w);
    *height = static_cast<uint16_t>(h);
    *depth = 24;
    return 0;
}

int DecodeRaw(CDib& picture, ImageFacts&) {
    if (!holding) return -1;
    LibRaw* kept = decoder;
    HostSetTitle("Converting to RGB colorspace...");
    int w = 0, h = 0, colours = 0, bits = 0;
    kept->get_mem_image_format(&w, &h, &colours, &bits);
    int code = LIBRAW_UNSPECIFIED_ERROR;
    if (picture.bitsPerPixel == 24 && picture.width == w && picture.height == h && bits == 8 &&
        (colours == 1 || colours == 3))
        code = kept->copy_mem_image(picture.bits, static_cast<int>(picture.rowBytes), 1);
    ReleaseRawDecoder();
    if (code != LIBRAW_SUCCESS) {
        ReportProcessingFailure();
        return -1;
    }
    if (colours == 1) {
        // One grey byte a pixel at the start of each row: spread to three, from the right
        // so that no byte is overwritten before it is read.
        for (int y = 0; y < h; ++y) {
            uint8_t* row = picture.Row(y);
            for (int x = w - 1; x >= 0; --x) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = row[x];
        }
    }
    // LibRaw wrote the top row first.
    picture.FlipRows();
    ShowLoadProgress(10);
    return 0;
}

void ReleaseRawDecoder() {
    if (!holding) return;
    holding = false;
    Recycle(*decoder);
}

int ProbeRawHeader(uint16_t* height, uint16_t* width, uint16_t* depth) {
    if (!HaveFile()) return -1;
    // Phase 1's picture is never disturbed: a probe between the phases has its own decoder.
    LibRaw* own = holding ? new (std::nothrow) LibRaw(kQuietLibRaw) : nullptr;
    LibRaw* raw = holding ? own : Decoder();
    if (raw == nullptr) return -1;
    if (own == nullptr) Recycle(*raw);
    int result = -1;
    if (OpenInMemory(*raw) == LIBRAW_SUCCESS && raw->adjust_sizes_info_only() == LIBRAW_SUCCESS) {
        const int w = raw->imgdata.sizes.iwidth, h = raw->imgdata.sizes.iheight;
        if (SideFits(w) && SideFits(h)) {
            *width = static_cast<uint16_t>(w);
            *height = static_cast<uint16_t>(h);
            *depth = 24;
            result = 0;
        }
    }
    if (own != nullptr) delete own;
    else Recycle(*raw);
    return result;
}

std::string RawCameraText() {
    const CameraValues& c = camera;
    if (c.make.empty()) return std::string();
    std::string text = FormatText("Camera make\t: %s\r\n", c.make.c_str());
    text += FormatText("Camera model\t: %s\r\n", c.model.c_str());
    // ctime's own line end is dropped: the line ends as all the others do.
    const time_t stamp = c.timestamp;
    const char* date = std::ctime(&stamp);
    std::string dateText = date != nullptr ? date : "";
    if (!dateText.empty() && dateText.back() == '\n') dateText.pop_back();
    text += FormatText("Date/Time\t: %s\r\n", dateText.c_str());
    text += FormatText("Resolution\t: %d x %d\r\n", c.width, c.height);
    if (!c.owner.empty()) text += FormatText("Owner\t: %s\r\n", c.owner.c_str());
    text += FormatText("ISO speed\t: %d\r\n", static_cast<int>(c.iso));
    if (c.shutter > 0) {
        text += FormatText(c.shutter < 0.01f ? "Exposure time\t: %6.4f sec " : "Exposure time\t: %5.3f sec ",
                           static_cast<double>(c.shutter));
        if (c.shutter <= 0.5f) text += FormatText(" (1/%d)", static_cast<int>(0.5 + 1.0 / c.shutter));
        text += "\r\n";
    }
    text += FormatText("Aperture\t\t: f/%0.1f\r\n", static_cast<double>(c.aperture));
    text += FormatText("Focal length\t: %0.1f mm\r\n", static_cast<double>(c.focalLength));
    text += FormatText("Emb ICC profile\t: %s\r\n", c.profile ? "yes" : "no");
    text += FormatText("Num raw images\t: %d\r\n", static_cast<int>(c.rawCount));
    if (c.pixelAspect != 1) text += FormatText("Pixel Aspect Ratio\t: %0.6f\t", c.pixelAspect);
    text += FormatText("Image full size\t: %4d x %d\r\n", c.fullWidth, c.fullHeight);
    return text;
}
