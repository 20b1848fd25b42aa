// TIFF files through libtiff.
//
// libtiff reads through our client procedures from bytes in memory: the loader's handle
// from a copy of the file that lives as long as the handle (the file in memory is freed
// after each load, the handle serves the later pages), the probe's handle straight from
// FileCursor, closed before the probe returns. libtiff does not jump: its errors arrive in
// our error handler, which keeps the text for the report of the call that failed.
#include "libcodecs/tiff.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <tiffio.h>

#include "base/text.h"
#include "core/bigalloc.h"
#include "core/filemem.h"
#include "core/fileops.h"
#include "core/report.h"
#include "core/title.h"

namespace {

// More pages than anyone pages through; the count stops there (libtiff itself ends a chain
// of directories that loops).
constexpr int kMaxPages = 10000;
// The largest single block libtiff may ask for (a strip or tile buffer, a tag's array).
// A directory can claim strips of gigabytes; a picture we can show needs far less.
constexpr tmsize_t kMaxLibraryBlock = tmsize_t{256} << 20;
constexpr size_t kMessageLimit = 300;

// ------------------------------------------------------------ errors

// The texts of libtiff's last error and last warning. Warnings are not shown; the last one
// explains a failure that came without an error (a fax line that ends too early).
char lastError[2 * kMessageLimit + 1];
char lastWarning[2 * kMessageLimit + 1];

void Keep(char* into, size_t size, const char* module, const char* format, va_list args) {
    char text[kMessageLimit + 1];
    std::vsnprintf(text, sizeof text, format != nullptr ? format : "", args);
    if (module != nullptr && *module != 0) std::snprintf(into, size, "%s: %s", module, text);
    else std::snprintf(into, size, "%s", text);
}

int HandleError(TIFF*, void*, const char* module, const char* format, va_list args) {
    Keep(lastError, sizeof lastError, module, format, args);
    return 1;
}

int HandleWarning(TIFF*, void*, const char* module, const char* format, va_list args) {
    Keep(lastWarning, sizeof lastWarning, module, format, args);
    return 1;
}

// For the few messages libtiff sends before a handle exists.
void GlobalError(const char* module, const char* format, va_list args) {
    Keep(lastError, sizeof lastError, module, format, args);
}
void GlobalWarning(const char* module, const char* format, va_list args) {
    Keep(lastWarning, sizeof lastWarning, module, format, args);
}

void ForgetMessages() { lastError[0] = lastWarning[0] = 0; }

std::string LibraryErrorText() {
    const char* reason = lastError[0] != 0 ? lastError : lastWarning[0] != 0 ? lastWarning : "unreadable image data";
    return FormatText("Error: %s in TIFF file ", reason);
}

// ------------------------------------------------------------ the file in memory

struct MemoryFile {
    const uint8_t* data = nullptr;
    uint64_t size = 0;
    uint64_t at = 0;
};

tmsize_t ReadMemory(thandle_t handle, void* out, tmsize_t count) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (count <= 0 || file->at >= file->size) return 0;
    const uint64_t n = std::min<uint64_t>(static_cast<uint64_t>(count), file->size - file->at);
    std::memcpy(out, file->data + file->at, static_cast<size_t>(n));
    file->at += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t RefuseWrite(thandle_t, void*, tmsize_t) { return 0; }

toff_t SeekMemory(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    uint64_t base = 0;
    if (whence == SEEK_CUR) base = file->at;
    else if (whence == SEEK_END) base = file->size;
    else if (whence != SEEK_SET) return static_cast<toff_t>(-1);
    // An offset is unsigned: a negative step from SEEK_CUR or SEEK_END wraps around.
    const uint64_t target = base + offset;
    file->at = target;
    return target;
}

int CloseMemory(thandle_t) { return 0; }

toff_t SizeOfMemory(thandle_t handle) { return static_cast<MemoryFile*>(handle)->size; }

// libtiff reads strips in place from the "mapped" bytes instead of copying them.
int MapMemory(thandle_t handle, void** base, toff_t* size) {
    auto* file = static_cast<MemoryFile*>(handle);
    *base = const_cast<uint8_t*>(file->data);
    *size = file->size;
    return 1;
}

void UnmapMemory(thandle_t, void*, toff_t) {}

// `name` is the file's name in libtiff's messages.
TIFF* OpenOver(MemoryFile& file, const char* name) {
    ForgetMessages();
    TIFFSetErrorHandler(GlobalError);
    TIFFSetWarningHandler(GlobalWarning);
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibraryBlock);
    TIFFOpenOptionsSetErrorHandlerExtR(options, HandleError, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, HandleWarning, nullptr);
    file.at = 0;
    TIFF* tiff = TIFFClientOpenExt(name, "r", &file, ReadMemory, RefuseWrite, SeekMemory, CloseMemory,
                                   SizeOfMemory, MapMemory, UnmapMemory, options);
    TIFFOpenOptionsFree(options);
    return tiff;
}

// ------------------------------------------------------------ one page's header

struct PageHeader {
    uint32_t width = 0, height = 0;
    uint16_t samples = 1, bits = 1, compression = COMPRESSION_NONE;
    uint16_t photometric = 0;
    bool hasPhotometric = false;
};

PageHeader ReadPageHeader(TIFF* tiff) {
    PageHeader h;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &h.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &h.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &h.bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &h.compression);
    h.hasPhotometric = TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &h.photometric) != 0;
    return h;
}

bool SizeFits(uint32_t width, uint32_t height) {
    return width >= 1 && height >= 1 && width <= static_cast<uint32_t>(kMaxDibSide) &&
           height <= static_cast<uint32_t>(kMaxDibSide);
}

// Fax files are black and white whatever their samples say.
uint32_t StoredDepth(const PageHeader& h) {
    if (h.compression == COMPRESSION_CCITTFAX3 || h.compression == COMPRESSION_CCITTFAX4) return 1;
    return static_cast<uint32_t>(h.samples) * h.bits;
}

const char* PhotometricText(const PageHeader& h) {
    if (!h.hasPhotometric) return "";
    switch (h.photometric) {
        case PHOTOMETRIC_PALETTE: return ", Palette Colour";
        case PHOTOMETRIC_MINISBLACK: return ", monochrome stored normal";
        case PHOTOMETRIC_MINISWHITE: return ", monochrome stored reversed";
        case PHOTOMETRIC_RGB: return ", RGB Colour";
        case PHOTOMETRIC_SEPARATED: return ", C/M/Y/K Colour";
        default: return "";
    }
}

// The current page's facts; false after reporting a size we cannot show.
bool RecordPage(TIFF* tiff, ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    const PageHeader h = ReadPageHeader(tiff);
    if (!SizeFits(h.width, h.height)) {
        ReportFileError(FormatText("Image size %u x %u not supported in file ", h.width, h.height));
        return false;
    }
    facts.storedWidth = h.width;
    facts.storedHeight = h.height;
    facts.storedBitsPerPixel = StoredDepth(h);
    facts.comment = FormatText("File stored in %s format\n", TIFFIsBigEndian(tiff) ? "Motorola" : "Intel");
    facts.formatNote = std::string("TIFF") + PhotometricText(h);
    *width = static_cast<uint16_t>(h.width);
    *height = static_cast<uint16_t>(h.height);
    *depth = 24;
    return true;
}

// ------------------------------------------------------------ the kept handle

struct KeptTiff {
    TIFF* tiff = nullptr;
    std::vector<uint8_t> bytes;  // the file, read by the handle for its whole life
    MemoryFile file;
    int pageCount = 0;
    int page = 0;
};
KeptTiff kept;

void CloseKept() {
    if (kept.tiff != nullptr) TIFFClose(kept.tiff);
    kept.tiff = nullptr;
    std::vector<uint8_t>().swap(kept.bytes);
    kept.file = MemoryFile();
    kept.pageCount = kept.page = 0;
}

// Counts the pages from the first directory on and comes back to it. False when the
// first directory cannot be read again.
bool CountPages(KeptTiff& k) {
    int count = 1;
    while (count < kMaxPages && TIFFReadDirectory(k.tiff)) ++count;
    // A directory that failed to read may have left the handle half in it.
    if (!TIFFSetDirectory(k.tiff, 0)) return false;
    k.pageCount = count;
    k.page = static_cast<int>(TIFFCurrentDirectory(k.tiff));
    return true;
}

// ------------------------------------------------------------ decoding

// libtiff hands decoded blocks to a "put" routine; ours passes them on and counts the
// pixels for the progress in the title.
struct Progress {
    tileContigRoutine contig = nullptr;
    tileSeparateRoutine separate = nullptr;
    uint64_t done = 0;
    uint64_t total = 1;
};
Progress progress;

void CountPixels(uint32_t w, uint32_t h) {
    progress.done += static_cast<uint64_t>(w) * h;
    ShowLoadProgress(static_cast<int>(std::min<uint64_t>(progress.done * 10 / progress.total, 10)));
}

void PutContig(TIFFRGBAImage* img, uint32_t* raster, uint32_t x, uint32_t y, uint32_t w, uint32_t h,
               int32_t fromSkew, int32_t toSkew, unsigned char* p) {
    progress.contig(img, raster, x, y, w, h, fromSkew, toSkew, p);
    CountPixels(w, h);
}

void PutSeparate(TIFFRGBAImage* img, uint32_t* raster, uint32_t x, uint32_t y, uint32_t w, uint32_t h,
                 int32_t fromSkew, int32_t toSkew, unsigned char* r, unsigned char* g, unsigned char* b,
                 unsigned char* a) {
    progress.separate(img, raster, x, y, w, h, fromSkew, toSkew, r, g, b, a);
    CountPixels(w, h);
}

void WatchProgress(TIFFRGBAImage& img) {
    progress = Progress();
    progress.total = std::max<uint64_t>(1, static_cast<uint64_t>(img.width) * img.height);
    if (img.isContig && img.put.contig != nullptr) {
        progress.contig = img.put.contig;
        img.put.contig = PutContig;
    } else if (!img.isContig && img.put.separate != nullptr) {
        progress.separate = img.put.separate;
        img.put.separate = PutSeparate;
    }
}

// Associated alpha is taken as it is, unassociated alpha would have the colours scaled by
// it: the page is read as if its alpha were associated, and the alpha is dropped anyway.
void TakeAlphaAsAssociated(TIFF* tiff) {
    uint16_t count = 0;
    uint16_t* values = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &count, &values) || count < 1 || values == nullptr) return;
    if (values[0] != EXTRASAMPLE_UNASSALPHA) return;
    std::vector<uint16_t> changed(values, values + count);
    changed[0] = EXTRASAMPLE_ASSOCALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, count, changed.data());
}

// The raster (bottom row first, one 32-bit value a pixel) into the picture's rows.
void CopyRaster(const uint32_t* raster, CDib& picture) {
    const int width = picture.width;
    for (int y = 0; y < picture.height; ++y) {
        const uint32_t* from = raster + static_cast<size_t>(y) * width;
        uint8_t* to = picture.Row(y);
        for (int x = 0; x < width; ++x, to += 3) {
            const uint32_t v = from[x];
            to[0] = static_cast<uint8_t>(TIFFGetB(v));
            to[1] = static_cast<uint8_t>(TIFFGetG(v));
            to[2] = static_cast<uint8_t>(TIFFGetR(v));
        }
    }
}

// The begun image into `picture`: 0, or -1 after reporting. Ends nothing.
int DecodeBegun(TIFFRGBAImage& img, CDib& picture) {
    if (!SizeFits(img.width, img.height)) {
        ReportFileError(FormatText("Image size %u x %u not supported in file ", img.width, img.height));
        return -1;
    }
    if (picture.width != static_cast<int>(img.width) || picture.height != static_cast<int>(img.height) ||
        picture.bitsPerPixel != 24)
        picture.Create(static_cast<int>(img.width), static_cast<int>(img.height), 24);
    const uint64_t pixels = static_cast<uint64_t>(img.width) * img.height;
    auto* raster = static_cast<uint32_t*>(AllocateBlock(static_cast<size_t>(pixels * sizeof(uint32_t))));
    if (raster == nullptr) {
        ReportFileError(FormatText("Not enough memory: %llu bytes for the image in TIFF file ",
                                   static_cast<unsigned long long>(pixels * sizeof(uint32_t))));
        return -1;
    }
    WatchProgress(img);
    ForgetMessages();
    const int ok = TIFFRGBAImageGet(&img, raster, img.width, img.height);
    if (ok) CopyRaster(raster, picture);
    std::free(raster);
    if (!ok) {
        ReportFileError(LibraryErrorText());
        return -1;
    }
    return 0;
}

}  // namespace

int OpenTiff(ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    CloseKept();
    if (FileCursor.start != nullptr) kept.bytes.assign(FileCursor.start, FileCursor.start + FileCursor.size);
    kept.file.data = kept.bytes.data();
    kept.file.size = kept.bytes.size();
    kept.tiff = OpenOver(kept.file, InputFile.NamePart().c_str());
    if (kept.tiff == nullptr) {
        CloseKept();
        // The report names the file after the text.
        ReportFileError("Could not open TIFF file ");
        return -1;
    }
    if (!CountPages(kept)) {
        CloseKept();
        ReportFileError(LibraryErrorText());
        return -1;
    }
    if (!RecordPage(kept.tiff, facts, height, width, depth)) {
        CloseKept();
        return -1;
    }
    facts.pageCount = kept.pageCount;
    facts.page = kept.page;
    return 0;
}

int SelectTiffPage(int page, ImageFacts& facts, uint16_t* height, uint16_t* width, uint16_t* depth) {
    if (kept.tiff == nullptr || page < 0 || page >= kept.pageCount) return -2;
    ForgetMessages();
    if (!TIFFSetDirectory(kept.tiff, static_cast<tdir_t>(page))) {
        ReportFileError(LibraryErrorText());
        return -1;
    }
    kept.page = page;
    facts.pageCount = kept.pageCount;
    facts.page = kept.page;
    return RecordPage(kept.tiff, facts, height, width, depth) ? 0 : -1;
}

int ReadTiffPage(CDib& picture, ImageFacts&) {
    if (kept.tiff == nullptr) return -1;
    char message[1024] = {};
    ForgetMessages();
    if (!TIFFRGBAImageOK(kept.tiff, message)) {
        ReportFileError(message);
        return -1;
    }
    TakeAlphaAsAssociated(kept.tiff);
    TIFFRGBAImage img;
    if (!TIFFRGBAImageBegin(&img, kept.tiff, 1, message)) {
        ReportFileError(message);
        return -1;
    }
    int result;
    try {
        result = DecodeBegun(img, picture);
    } catch (...) {
        TIFFRGBAImageEnd(&img);
        throw;
    }
    TIFFRGBAImageEnd(&img);
    return result;
}

int ProbeTiffHeader(uint16_t* height, uint16_t* width, uint16_t* depth) {
    if (FileCursor.start == nullptr) return -1;
    MemoryFile file;
    file.data = FileCursor.start;
    file.size = FileCursor.size;
    TIFF* tiff = OpenOver(file, "probe");
    if (tiff == nullptr) return -1;
    const PageHeader h = ReadPageHeader(tiff);
    TIFFClose(tiff);
    *width = static_cast<uint16_t>(h.width);
    *height = static_cast<uint16_t>(h.height);
    *depth = 24;
    return SizeFits(h.width, h.height) ? 0 : -1;
}

void CloseTiff() { CloseKept(); }
