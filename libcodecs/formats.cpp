// The rows of the format registry (core/formats.h): one per file type. They name every
// reader and writer, so they sit with the library glue, above our own codecs. A new format is
// its codec file pair, one row here, its tests and its fuzz entry.
#include "core/formats.h"

#include "codecs/bmp.h"
#include "codecs/gif.h"
#include "codecs/gif_write.h"
#include "libcodecs/jpeg.h"
#include "libcodecs/png.h"
#include "libcodecs/tiff.h"
#include "libcodecs/webp.h"
#include "raw/raw.h"

namespace {

const char* const kBmp[] = {".BMP", ".RLE", nullptr};
const char* const kGif[] = {".GIF", nullptr};
const char* const kPcx[] = {".PCX", nullptr};
const char* const kJpeg[] = {".JPG", ".JPEG", ".JFIF", nullptr};
const char* const kTga[] = {".TGA", nullptr};
const char* const kTiff[] = {".TIF", ".TIFF", nullptr};
const char* const kWebp[] = {".WEBP", nullptr};
const char* const kPng[] = {".PNG", nullptr};
const char* const kIco[] = {".ICO", nullptr};
const char* const kCur[] = {".CUR", nullptr};
const char* const kAni[] = {".ANI", nullptr};
const char* const kRaw[] = {".RAW", ".3FR", ".ARW", ".CRW", ".CR2", ".DCR", ".DNG", ".KDC", ".MRW",
                            ".NEF", ".NRW", ".ORF", ".PEF", ".RAF", ".RW2", ".SR2", ".X3F", nullptr};
const char* const kDb[] = {".DB", nullptr};
const char* const kClg[] = {".CLG", nullptr};
const char* const kTns[] = {".TNS", nullptr};
const char* const kList[] = {".LST", ".AIS", nullptr};
const char* const kMpg[] = {".MPG", nullptr};

constexpr FilterEntry kNone = {nullptr, nullptr};

}  // namespace

const FormatRow kFormats[] = {
    {FT_BMP, kBmp, {{"Bitmap Files (*.BMP)", "*.bmp"}, {"Compressed Bitmap Files (*.RLE)", "*.rle"}},
     {"Bitmap Files (*.BMP)", "*.bmp"}, "bmp", 0,
     ReadBmpHeader, ReadBmpPixels, nullptr, WriteBmp},
    {FT_GIF, kGif, {{"Compuserve Files (*.GIF)", "*.gif"}, kNone},
     {"GIF Files (*.GIF)", "*.gif"}, "gif", FORMAT_ANIMATED | FORMAT_TITLE_DEPTH_8 | FORMAT_BUSY_WHILE_WRITING,
     ReadGifHeader, ReadGifPixels, ProbeGifHeader, WriteGif},
    {FT_PCX, kPcx, {{"ZSoft Files (*.PCX)", "*.pcx"}, kNone}, kNone, nullptr, 0,
     nullptr, nullptr, nullptr, nullptr},
    {FT_JPEG, kJpeg, {{"JPEG Files (*.JPG,*.JPEG,*.JFIF)", "*.jpg;*.jpeg;*.jfif"}, kNone},
     {"JPEG Files (*.JPG)", "*.jpg"}, "jpg", 0,
     ReadJpegHeader, ReadJpegPixels, ProbeJpegHeader, WriteJpeg, ReleaseJpegReader},
    {FT_TGA, kTga, {{"TARGA Files (*.TGA)", "*.tga"}, kNone},
     {"Targa Files (*.TGA)", "*.tga"}, "tga", 0,
     nullptr, nullptr, nullptr, nullptr},
    {FT_TIFF, kTiff, {{"TIFF Files (*.TIF,*.TIFF)", "*.tif;*.tiff"}, kNone}, kNone, nullptr, 0,
     OpenTiff, ReadTiffPage, ProbeTiffHeader, nullptr, nullptr, CloseTiff, SelectTiffPage},
    {FT_WEBP, kWebp, {{"WebP Files (*.WEBP)", "*.webp"}, kNone},
     {"WebP Files (*.WEBP)", "*.webp"}, "webp", FORMAT_ANIMATED,
     ReadWebpHeader, ReadWebpPixels, ProbeWebpHeader, WriteWebp},
    {FT_PNG, kPng, {{"PNG Files (*.PNG)", "*.png"}, kNone},
     {"PiNG Files (*.PNG)", "*.png"}, "png", FORMAT_READS_STREAM,
     ReadPngHeader, ReadPngPixels, ProbePngHeader, WritePng, ReleasePngReader},
    {FT_ICO, kIco, {{"ICON Files (*.ICO)", "*.ico"}, kNone}, kNone, "ico", 0,
     nullptr, nullptr, nullptr, nullptr},
    {FT_CUR, kCur, {{"Cursor Files (*.CUR)", "*.cur"}, kNone}, kNone, nullptr, 0,
     nullptr, nullptr, nullptr, nullptr},
    {FT_ANI, kAni, {{"Animated Cursor Files (*.ANI)", "*.ani"}, kNone}, kNone, nullptr, FORMAT_ANIMATED,
     nullptr, nullptr, nullptr, nullptr},
    {FT_RAW, kRaw, {kNone, kNone}, kNone, nullptr, 0,
     ReadRawHeader, DecodeRaw, ProbeRawHeader, nullptr, ReleaseRawDecoder},
    {FT_THUMBSDB, kDb, {{"thumbs.db Files (*.DB)", "*.db"}, kNone}, kNone, nullptr, 0,
     nullptr, nullptr, nullptr, nullptr},
    {FT_CLG, kClg, {{"Collage Script Files (*.CLG)", "*.clg"}, kNone}, kNone, nullptr, 0,
     nullptr, nullptr, nullptr, nullptr},
    {FT_TNS, kTns, {{"ThumbNail Files (*.TNS)", "*.tns"}, kNone},
     {"ThumbNail Files (*.TNS)", "*.tns"}, "tns", 0,
     nullptr, nullptr, nullptr, nullptr},
    {FT_LIST, kList, {{"File List (*.LST)", "*.lst"}, kNone}, kNone, nullptr, 0,
     nullptr, nullptr, nullptr, nullptr},
    {FT_MPEG, kMpg, {kNone, kNone}, {"MPEG Files (*.MPG)", "*.mpg"}, "mpg", FORMAT_BUSY_WHILE_WRITING,
     nullptr, nullptr, nullptr, nullptr},
};
const int kFormatCount = sizeof kFormats / sizeof kFormats[0];
