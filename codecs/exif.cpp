#include "codecs/exif.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/numeric.h"
#include "base/text.h"

namespace {

const uint8_t kExifId[6] = {'E', 'x', 'i', 'f', 0, 0};
// The XMP namespace identifier with its terminating zero byte.
const char kXmpId[] = "http://ns.adobe.com/xap/1.0/";
constexpr size_t kXmpIdLength = sizeof kXmpId;  // 29
// Offsets in an EXIF block count from the TIFF header that follows the identifier.
constexpr size_t kTiffStart = sizeof kExifId;
constexpr int kMaxDepth = 4;
// A camera's block has half a dozen directories. A directory (the GPS one too) is walked
// once only: links that point back, or many links to one directory, would otherwise
// multiply the work by the entry count at every level.
constexpr size_t kMaxDirectories = 64;

// TIFF value formats 0..12 and their sizes; formats above 12 are unknown.
constexpr uint32_t kFormatCount = 13;
const uint8_t kFormatSize[kFormatCount] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
enum : uint32_t {
    kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kSignedByte = 6, kUndefined = 7,
    kSignedShort = 8, kSignedLong = 9, kSignedRational = 10, kFloat = 11, kDouble = 12
};

// Truncation to 32 bits: NaN gives 0, values beyond the range are capped.
int32_t ToInt(double v) {
    const long long t = TruncNear(v);
    if (t > INT32_MAX) return INT32_MAX;
    if (t < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(t);
}

// Values of a float field: a NaN or infinity is no value, larger ones are capped.
float ToFloat(double v) {
    if (!std::isfinite(v)) return 0;
    if (v > FLT_MAX) return FLT_MAX;
    if (v < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(v);
}

// One entry's value: where its bytes lie in the TIFF data, its format and byte count.
struct Value {
    uint64_t at = 0;
    uint32_t format = 0;
    uint64_t bytes = 0;
};

// One parse of one block: the byte order, the values that count over all directories,
// and the directories already walked. Every read is checked against `extent`, the TIFF
// data's length.
class ExifParser {
public:
    explicit ExifParser(Cexif& record) : exif(record) {}

    bool Parse(const uint8_t* payload, size_t length);

    bool orientationFound = false;
    Value orientationValue;
    bool motorola = false;

private:
    bool Fits(uint64_t at, uint64_t count) const { return at <= extent && count <= extent - at; }
    uint16_t U16(uint64_t at) const {
        const uint8_t* p = tiff + at;
        return static_cast<uint16_t>(motorola ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
    }
    uint32_t U32(uint64_t at) const {
        const uint32_t a = U16(at), b = U16(at + 2);
        return motorola ? a << 16 | b : b << 16 | a;
    }
    uint64_t U64(uint64_t at) const {
        const uint64_t a = U32(at), b = U32(at + 4);
        return motorola ? a << 32 | b : b << 32 | a;
    }

    // The entry at `entry` (whose 12 bytes lie in the data): false when it has an unknown
    // format, no bytes, or a value that does not lie in the data.
    bool ReadEntry(uint64_t entry, uint16_t* tag, Value* value) const;
    double NumberAt(uint64_t at, uint32_t format) const;
    double Number(const Value& v) const { return NumberAt(v.at, v.format); }
    // Copies at most min(byte count - skip, size - 1) bytes, stopping at a zero byte.
    void CopyText(const Value& v, char* field, size_t size, uint64_t skip = 0) const;
    // A directory offset held by a link entry, false when it lies outside the data.
    bool LinkTarget(const Value& v, uint64_t* at) const;

    // False when the directory at `at` was walked before or too many were.
    bool FirstVisit(uint64_t at);
    void WalkDirectory(uint64_t at, int depth);
    void TakeEntry(uint16_t tag, const Value& v, int depth, bool* thumbAtSeen, double* thumbAt,
                   double* thumbLength);
    void UserComment(const Value& v);
    void WalkGps(uint64_t at);
    void Coordinate(const Value& v, char* field, size_t size) const;

    Cexif& exif;
    const uint8_t* tiff = nullptr;
    size_t extent = 0;
    double imageWidth = 0;
    double focalPlaneXRes = 0;
    double focalPlaneUnit = 0;
    uint64_t walked[kMaxDirectories] = {};
    size_t walkedCount = 0;
};

bool ExifParser::Parse(const uint8_t* payload, size_t length) {
    if (!IsExifPayload(payload, length) || length < kTiffStart + 8) return false;
    tiff = payload + kTiffStart;
    extent = length - kTiffStart;
    if (tiff[0] == 'I' && tiff[1] == 'I') motorola = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M') motorola = true;
    else return false;
    if (U16(2) != 42) return false;
    WalkDirectory(U32(4), 0);

    if (focalPlaneXRes != 0) {
        exif.ccdWidth = ToFloat(imageWidth * focalPlaneUnit / focalPlaneXRes);
        // A width of 0 (no unit, no image width) says nothing about the 35 mm equivalent.
        if (exif.focalLength != 0 && exif.focalLength35 == 0 && exif.ccdWidth != 0)
            exif.focalLength35 = ToInt(static_cast<double>(exif.focalLength) / exif.ccdWidth * 36 + 0.5);
    }
    if (orientationFound) exif.orientationOffset = static_cast<uint32_t>(kTiffStart + orientationValue.at);
    return true;
}

bool ExifParser::ReadEntry(uint64_t entry, uint16_t* tag, Value* value) const {
    *tag = U16(entry);
    value->format = U16(entry + 2);
    if (value->format >= kFormatCount) return false;
    value->bytes = uint64_t{U32(entry + 4)} * kFormatSize[value->format];
    if (value->bytes == 0) return false;
    if (value->bytes <= 4) {
        value->at = entry + 8;
        return true;
    }
    value->at = U32(entry + 8);
    return Fits(value->at, value->bytes);
}

double ExifParser::NumberAt(uint64_t at, uint32_t format) const {
    if (format >= kFormatCount || !Fits(at, kFormatSize[format])) return 0;
    switch (format) {
    case kByte: return tiff[at];
    case kSignedByte: return static_cast<int8_t>(tiff[at]);
    case kShort: return U16(at);
    case kSignedShort: return static_cast<int16_t>(U16(at));
    case kLong: return U32(at);
    case kSignedLong: return static_cast<int32_t>(U32(at));
    // Both kinds of rational as signed numbers: the unsigned -1/1 some cameras write for
    // an infinite focus distance then reads as negative.
    case kRational:
    case kSignedRational: {
        const int32_t num = static_cast<int32_t>(U32(at)), den = static_cast<int32_t>(U32(at + 4));
        return den == 0 ? 0.0 : static_cast<double>(num) / den;
    }
    case kFloat: {
        const uint32_t bits = U32(at);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    case kDouble: {
        const uint64_t bits = U64(at);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    default: return 0;  // ASCII, undefined, format 0
    }
}

void ExifParser::CopyText(const Value& v, char* field, size_t size, uint64_t skip) const {
    uint64_t n = v.bytes > skip ? v.bytes - skip : 0;
    if (n > size - 1) n = size - 1;
    const uint8_t* src = tiff + v.at + skip;
    size_t i = 0;
    for (; i < n && src[i] != 0; ++i) field[i] = static_cast<char>(src[i]);
    field[i] = 0;
}

bool ExifParser::LinkTarget(const Value& v, uint64_t* at) const {
    const double target = Number(v);
    if (!(target >= 0 && target < static_cast<double>(extent))) return false;
    *at = static_cast<uint64_t>(target);
    return true;
}

bool ExifParser::FirstVisit(uint64_t at) {
    if (walkedCount == kMaxDirectories) return false;
    for (size_t i = 0; i < walkedCount; ++i)
        if (walked[i] == at) return false;
    walked[walkedCount++] = at;
    return true;
}

void ExifParser::WalkDirectory(uint64_t at, int depth) {
    if (depth > kMaxDepth || !FirstVisit(at)) return;

    if (!Fits(at, 2)) return;
    const uint32_t n = U16(at);
    if (n == 0) return;
    const uint64_t entriesEnd = at + 2 + uint64_t{12} * n;
    // Some writers end the block right after the last entry, or leave only two bytes
    // for the next-directory offset: those directories are still read.
    if (!Fits(at, 2 + uint64_t{12} * n + 4) && entriesEnd != extent && entriesEnd + 2 != extent) return;

    bool thumbAtSeen = false;
    double thumbAt = 0, thumbLength = 0;
    for (uint32_t i = 0; i < n; ++i) {
        uint16_t tag;
        Value v;
        if (ReadEntry(at + 2 + uint64_t{12} * i, &tag, &v))
            TakeEntry(tag, v, depth, &thumbAtSeen, &thumbAt, &thumbLength);
    }

    if (Fits(entriesEnd, 4)) {
        const uint32_t next = U32(entriesEnd);
        if (next != 0 && next < extent) WalkDirectory(next, depth + 1);
    }

    if (thumbAtSeen && thumbLength >= 1 && thumbAt >= 0 && thumbAt < static_cast<double>(extent)) {
        const uint64_t start = static_cast<uint64_t>(thumbAt);
        const uint64_t room = extent - start;
        const double length = thumbLength < static_cast<double>(room) ? thumbLength : static_cast<double>(room);
        exif.thumbnail = tiff + start;
        exif.thumbnailLength = static_cast<uint32_t>(length < UINT32_MAX ? length : UINT32_MAX);
    }
}

void ExifParser::TakeEntry(uint16_t tag, const Value& v, int depth, bool* thumbAtSeen, double* thumbAt,
                           double* thumbLength) {
    uint64_t link;
    switch (tag) {
    case 271: CopyText(v, exif.cameraMake, sizeof exif.cameraMake); break;
    case 272: CopyText(v, exif.cameraModel, sizeof exif.cameraModel); break;
    case 305: CopyText(v, exif.software, sizeof exif.software); break;
    case 274:
        if (!orientationFound) {
            orientationFound = true;
            orientationValue = v;
            const int32_t o = ToInt(Number(v));
            exif.orientation = o >= 1 && o <= 8 ? o : 0;
        }
        break;
    case 36867: CopyText(v, exif.dateTime, sizeof exif.dateTime); break;
    // The modification and digitising dates only stand in for the original date.
    case 306:
    case 36868:
        if (!(exif.dateTime[0] >= '0' && exif.dateTime[0] <= '9')) CopyText(v, exif.dateTime, sizeof exif.dateTime);
        break;
    case 513:
        *thumbAtSeen = true;
        *thumbAt = Number(v);
        break;
    case 514: *thumbLength = Number(v); break;
    case 33434: exif.exposureTime = ToFloat(Number(v)); break;
    case 33437: exif.aperture = ToFloat(Number(v)); break;
    case 37380: exif.exposureBias = ToFloat(Number(v)); break;
    case 37382: exif.distance = ToFloat(Number(v)); break;
    case 37386: exif.focalLength = ToFloat(Number(v)); break;
    case 41988: exif.digitalZoom = ToFloat(Number(v)); break;
    case 34850: exif.exposureProgram = ToInt(Number(v)); break;
    case 37383: exif.meteringMode = ToInt(Number(v)); break;
    case 37384: exif.lightSource = ToInt(Number(v)); break;
    case 37385: exif.flash = ToInt(Number(v)); break;
    case 41986: exif.exposureMode = ToInt(Number(v)); break;
    case 41987: exif.whiteBalance = ToInt(Number(v)); break;
    case 41989: exif.focalLength35 = ToInt(Number(v)); break;
    case 34855: {
        // Some cameras store the ISO speed divided by 200.
        const int64_t iso = ToInt(Number(v));
        exif.isoEquivalent = iso < 50 ? ToInt(static_cast<double>(iso * 200)) : static_cast<int32_t>(iso);
        break;
    }
    case 41493:
        if (exif.isoEquivalent == 0) exif.isoEquivalent = ToInt(Number(v));
        break;
    // APEX values: shutter speed, then aperture and maximum aperture.
    case 37377:
        if (exif.exposureTime == 0) exif.exposureTime = ToFloat(1 / std::exp2(Number(v)));
        break;
    case 37378:
    case 37381:
        if (exif.aperture == 0) exif.aperture = ToFloat(std::exp2(Number(v) / 2));
        break;
    case 37510: UserComment(v); break;
    case 40962:
    case 40963: {
        const double w = Number(v);
        if (w > imageWidth) imageWidth = w;
        break;
    }
    case 41486: focalPlaneXRes = Number(v); break;
    case 41488:
        switch (ToInt(Number(v))) {
        case 1:
        case 2: focalPlaneUnit = 25.4; break;
        case 3: focalPlaneUnit = 10; break;
        case 4: focalPlaneUnit = 1; break;
        case 5: focalPlaneUnit = 0.001; break;
        default: break;
        }
        break;
    case 34665:
    case 40965:
        if (LinkTarget(v, &link)) WalkDirectory(link, depth + 1);
        break;
    case 34853:
        if (LinkTarget(v, &link)) WalkGps(link);
        break;
    default: break;
    }
}

// A comment marked "ASCII" starts after its 8-byte character-code field; the text is
// taken from the first of the bytes 5..9 that is neither zero nor a blank, as some
// cameras shorten the code field.
void ExifParser::UserComment(const Value& v) {
    const uint8_t* p = tiff + v.at;
    if (v.bytes < 5 || std::memcmp(p, "ASCII", 5) != 0) {
        CopyText(v, exif.userComment, sizeof exif.userComment);
        return;
    }
    for (uint64_t i = 5; i < 10 && i < v.bytes; ++i)
        if (p[i] != 0 && p[i] != ' ') {
            CopyText(v, exif.userComment, sizeof exif.userComment, i);
            return;
        }
}

void ExifParser::WalkGps(uint64_t at) {
    if (!FirstVisit(at)) return;
    exif.gpsPresent = 1;
    std::strcpy(exif.gpsLatitude, "? ?");
    std::strcpy(exif.gpsLongitude, "? ?");
    exif.gpsAltitude[0] = 0;
    if (!Fits(at, 2)) return;
    const uint32_t n = U16(at);
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t entry = at + 2 + uint64_t{12} * i;
        if (!Fits(entry, 12)) return;
        uint16_t tag;
        Value v;
        if (!ReadEntry(entry, &tag, &v)) continue;
        switch (tag) {
        case 1:
            if (tiff[v.at] != 0) exif.gpsLatitude[0] = static_cast<char>(tiff[v.at]);
            break;
        case 3:
            if (tiff[v.at] != 0) exif.gpsLongitude[0] = static_cast<char>(tiff[v.at]);
            break;
        case 5: exif.gpsAltitude[0] = Number(v) != 0 ? '-' : ' '; break;
        case 6: std::snprintf(exif.gpsAltitude + 1, sizeof exif.gpsAltitude - 1, "%.2fm", Number(v)); break;
        case 2: Coordinate(v, exif.gpsLatitude + 2, sizeof exif.gpsLatitude - 2); break;
        case 4: Coordinate(v, exif.gpsLongitude + 2, sizeof exif.gpsLongitude - 2); break;
        default: break;
        }
    }
}

// Degrees, minutes and seconds, each printed with as many decimals as its denominator has
// digits after the first (at most 6). The text is cut to the field.
void ExifParser::Coordinate(const Value& v, char* field, size_t size) const {
    const uint32_t step = kFormatSize[v.format];
    const bool rational = v.format == kRational || v.format == kSignedRational;
    double values[3] = {0, 0, 0};
    int width[3], precision[3];
    for (int a = 0; a < 3; ++a) {
        int digits = 0;
        if (uint64_t{step} * (a + 1) <= v.bytes) {
            const uint64_t at = v.at + uint64_t{step} * a;
            values[a] = NumberAt(at, v.format);
            if (rational)
                for (int32_t den = static_cast<int32_t>(U32(at + 4)); den > 1 && digits < 6; den /= 10) ++digits;
        }
        precision[a] = digits;
        width[a] = digits == 0 ? 2 : digits + 3;
    }
    std::snprintf(field, size, "%*.*fd %*.*fm %*.*fs", width[0], precision[0], values[0], width[1], precision[1],
                  values[1], width[2], precision[2], values[2]);
}

const char* const kOrientationNames[9] = {"Undefined",  "Normal",    "flip horizontal",
                                          "rotate 180", "flip vertical", "transpose",
                                          "rotate 90",  "transverse", "rotate 270"};

struct ProcessName {
    int code;
    const char* name;
};
const ProcessName kProcessNames[] = {
    {192, "Baseline"},
    {193, "Extended sequential"},
    {194, "Progressive"},
    {195, "Lossless"},
    {197, "Differential sequential"},
    {198, "Differential progressive"},
    {199, "Differential lossless"},
    {201, "Extended sequential, arithmetic coding"},
    {202, "Progressive, arithmetic coding"},
    {203, "Lossless, arithmetic coding"},
    {205, "Differential sequential, arithmetic coding"},
    {206, "Differential progressive, arithmetic coding"},
    {207, "Differential lossless, arithmetic coding"},
};

struct CodeText {
    int code;
    const char* text;
};
// Flash values with the light fired and their details.
const CodeText kFlashDetails[] = {
    {5, " (Strobe light not detected)"},
    {7, " (Strobe light detected) "},
    {9, " (manual)"},
    {13, " (manual, return light not detected)"},
    {15, " (maual, return light  detected)"},
    {25, " (auto)"},
    {29, " (auto, return light not detected)"},
    {31, " (auto, return light detected)"},
    {65, " (red eye reduction mode)"},
    {69, " (red eye reduction mode return light not detected)"},
    {71, " (red eye reduction mode return light  detected)"},
    {73, " (manual, red eye reduction mode)"},
    {77, " (manual, red eye reduction mode, return light not detected)"},
    {79, " (red eye reduction mode, red eye reduction mode, return light detected)"},
    {89, " (auto, red eye reduction mode)"},
    {93, " (auto, red eye reduction mode, return light not detected)"},
    {95, " (auto, red eye reduction mode, return light detected)"},
};
const CodeText kLightSources[] = {
    {1, "Light Source\t: Daylight\r\n"}, {2, "Light Source\t: Fluorescent\r\n"},
    {3, "Light Source\t: Incandescent\r\n"}, {4, "Light Source\t: Flash\r\n"},
    {9, "Light Source\t: Fine weather\r\n"}, {11, "Light Source\t: Shade\r\n"},
};
const CodeText kMeteringModes[] = {
    {2, "Metering Mode\t: center weight\r\n"},
    {3, "Metering Mode\t: spot\r\n"},
    {5, "Metering Mode\t: matrix\r\n"},
};
const CodeText kExposurePrograms[] = {
    {1, "Exposure Type\t: Manual\r\n"},
    {2, "Exposure Type\t: program (auto)\r\n"},
    {3, "Exposure Type\t: aperture priority (semi-auto)\r\n"},
    {4, "Exposure Type\t: shutter priority (semi-auto)\r\n"},
    {5, "Exposure Type\t: Creative Program (based towards depth of field\r\n"},
    {6, "Exposure Type\t: Action program (based towards fast shutter speed)\r\n"},
    {7, "Exposure Type\t: Portrait Mode\r\n"},
    {8, "Exposure\t: LandscapeMode \r\n"},
};
const CodeText kExposureModes[] = {
    {1, "Exposure Mode\t: Manual\r\n"},
    {2, "Exposure Mode\t: Auto bracketing\r\n"},
};

template <size_t N>
const char* Lookup(const CodeText (&table)[N], int code) {
    for (const CodeText& row : table)
        if (row.code == code) return row.text;
    return "";
}

// Writes the low `size` bytes of x in the given byte order.
void PutNumber(uint8_t* p, uint64_t x, size_t size, bool motorola) {
    for (size_t i = 0; i < size; ++i) p[i] = static_cast<uint8_t>(x >> 8 * (motorola ? size - 1 - i : i));
}

// The text of a character field, which need not be terminated.
std::string Field(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

}  // namespace

bool IsExifPayload(const uint8_t* payload, size_t length) {
    return length >= sizeof kExifId && std::memcmp(payload, kExifId, sizeof kExifId) == 0;
}

bool IsXmpPayload(const uint8_t* payload, size_t length) {
    return length >= kXmpIdLength && std::memcmp(payload, kXmpId, kXmpIdLength) == 0;
}

Cexif::~Cexif() = default;

bool Cexif::ParseExif(const uint8_t* payload, size_t length) {
    *this = Cexif();
    ExifParser parser(*this);
    return parser.Parse(payload, length);
}

const char* OrientationName(int orientation) {
    return kOrientationNames[orientation >= 0 && orientation <= 8 ? orientation : 0];
}

std::string JpegProcessName(int code) {
    for (const ProcessName& row : kProcessNames)
        if (row.code == code) return FormatText("JPEG process\t: %s\r\n", row.name);
    return std::string();
}

std::string ExifText(const Cexif& exif, int width, int height, int jpegProcess) {
    std::string text;
    if (exif.cameraMake[0] != 0) {
        text += "Camera make\t: " + Field(exif.cameraMake, sizeof exif.cameraMake) + "\r\n";
        text += "Camera model\t: " + Field(exif.cameraModel, sizeof exif.cameraModel) + "\r\n";
    }
    if (exif.dateTime[0] != 0) text += "Date/Time\t: " + Field(exif.dateTime, sizeof exif.dateTime) + "\r\n";
    text += FormatText("Resolution\t: %d x %d\r\n", width, height);
    if (exif.orientation > 0) text += FormatText("Orientation\t: %s\r\n", OrientationName(exif.orientation));
    text += JpegProcessName(jpegProcess);
    if (exif.flash >= 0) {
        if (exif.flash & 1) text += std::string("Flash used\t: Yes") + Lookup(kFlashDetails, exif.flash);
        else text += exif.flash == 24 ? "Flash used\t: No (auto)" : "Flash used\t: No";
        text += "\r\n";
    }
    if (exif.focalLength != 0) {
        text += FormatText("Focal length\t: %3.1fmm", exif.focalLength);
        if (exif.focalLength35 != 0) text += FormatText("  (35mm equivalent : %dmm)", exif.focalLength35);
        text += "\r\n";
    }
    if (exif.digitalZoom > 1) text += FormatText("Digital Zoom\t: %1.3fx\r\n", exif.digitalZoom);
    if (exif.ccdWidth != 0) text += FormatText("CCD width\t: %4.2fmm\r\n", exif.ccdWidth);
    if (exif.software[0] != 0) text += "Camera Software\t: " + Field(exif.software, sizeof exif.software) + "\r\n";
    if (exif.exposureTime != 0) {
        const double t = exif.exposureTime;
        text += FormatText(t < 0.01 ? "Exposure time\t: %6.4f s " : "Exposure time\t: %5.3f s ", t);
        if (t <= 0.5) text += FormatText(" (1/%d)", ToInt(0.5 + 1 / t));
        text += "\r\n";
    }
    if (exif.aperture != 0) text += FormatText("Aperture f Number\t: f/%3.1f\r\n", exif.aperture);
    if (exif.distance != 0)
        text += exif.distance < 0 ? std::string("Focus dist.\t: Infinite\r\n")
                                  : FormatText("Focus dist.\t: %4.2fm\r\n", exif.distance);
    if (exif.isoEquivalent != 0) text += FormatText("ISO equiv.\t: %2d\r\n", exif.isoEquivalent);
    if (exif.exposureBias != 0) text += FormatText("Exposure bias\t: %4.2f\r\n", exif.exposureBias);
    if (exif.whiteBalance == 0) text += "Whitebalance\t: Auto\r\n";
    else if (exif.whiteBalance == 1) text += "Whitebalance\t: Manual\r\n";
    text += Lookup(kLightSources, exif.lightSource);
    text += Lookup(kMeteringModes, exif.meteringMode);
    text += Lookup(kExposurePrograms, exif.exposureProgram);
    text += Lookup(kExposureModes, exif.exposureMode);
    if (exif.gpsPresent) {
        text += "GPS Latitude\t: " + Field(exif.gpsLatitude, sizeof exif.gpsLatitude) + "\r\n";
        text += "GPS Longitude\t: " + Field(exif.gpsLongitude, sizeof exif.gpsLongitude) + "\r\n";
        if (exif.gpsAltitude[0] != 0)
            text += "GPS Altitude\t: " + Field(exif.gpsAltitude, sizeof exif.gpsAltitude) + "\r\n";
    }
    if (exif.userComment[0] != 0)
        text += "User Comment\t: " + Field(exif.userComment, sizeof exif.userComment - 1) + "\r\n";
    text += "\r\n";
    return text;
}

bool SetExifOrientationNormal(std::vector<uint8_t>& payload) {
    Cexif exif;
    ExifParser parser(exif);
    if (!parser.Parse(payload.data(), payload.size()) || !parser.orientationFound) return false;
    // The value's bytes lie in the block (the parser checked them) and hold at least one
    // value of its format; a rational becomes 1/1.
    const Value& v = parser.orientationValue;
    uint8_t* p = payload.data() + kTiffStart + v.at;
    const bool motorola = parser.motorola;
    switch (v.format) {
    case kRational:
    case kSignedRational:
        PutNumber(p, 1, 4, motorola);
        PutNumber(p + 4, 1, 4, motorola);
        break;
    case kFloat: {
        const float one = 1;
        uint32_t bits;
        std::memcpy(&bits, &one, sizeof bits);
        PutNumber(p, bits, 4, motorola);
        break;
    }
    case kDouble: {
        const double one = 1;
        uint64_t bits;
        std::memcpy(&bits, &one, sizeof bits);
        PutNumber(p, bits, 8, motorola);
        break;
    }
    default: PutNumber(p, 1, kFormatSize[v.format], motorola); break;
    }
    return true;
}

std::string XmpText(const uint8_t* marker, size_t length) {
    static const char* const kEnds[] = {"/x:xmpmeta", "/x:xapmeta", "/xmp:xmpmeta"};
    std::string text;
    text.reserve(length + 64);
    bool endSeen = false;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t c = marker[i];
        if (!endSeen && c == '/')
            for (const char* end : kEnds) {
                const size_t n = std::strlen(end);
                if (length - i >= n && std::memcmp(marker + i, end, n) == 0) endSeen = true;
            }
        if (c == 0) {
            text += ' ';
        } else if (c >= 20) {
            text += static_cast<char>(c);
        } else {
            text += "\r\n";
            // The rest of the packet after the element is padding.
            if (endSeen) break;
        }
    }
    return text;
}

Cjpeg::~Cjpeg() = default;

void Cjpeg::OnApp1(const uint8_t* payload, size_t length) {
    if (exif != nullptr || length < 6) return;
    if (std::memcmp(payload, "Exif", 4) != 0 || payload[4] != 0 || payload[5] != 0) return;
    exif = payload;
    exifLength = length;
}

int Cjpeg::ScanJpegMarkers(const uint8_t* data, size_t length) {
    comment[0] = 0;
    frameHeight = frameWidth = 0;
    exif = nullptr;
    exifLength = 0;
    position = 0;
    if (length < 2 || data[0] != 0xFF || data[1] != 0xD8) return 1;
    bool frameSeen = false;
    for (position = 2;;) {
        if (length - position < 2 || data[position] != 0xFF) return -1;
        const uint8_t code = data[position + 1];
        if (code == 0xD9 || code == 0xDA) return 0;
        if (length - position < 4) return -1;
        const size_t segment = static_cast<size_t>(data[position + 2]) << 8 | data[position + 3];
        if (segment < 2 || segment > length - position - 2) return -1;
        const uint8_t* body = data + position + 4;
        const size_t bodyLength = segment - 2;
        if (code >= 0xC0 && code <= 0xC2) {
            // Precision, then height and width.
            if (!frameSeen && bodyLength >= 5) {
                frameHeight = static_cast<uint16_t>(body[1] << 8 | body[2]);
                frameWidth = static_cast<uint16_t>(body[3] << 8 | body[4]);
            }
            frameSeen = true;
        } else if (code == 0xE1) {
            OnApp1(body, bodyLength);
        } else if (code == 0xFE) {
            const size_t n = bodyLength < sizeof comment - 1 ? bodyLength : sizeof comment - 1;
            std::memcpy(comment, body, n);
            comment[n] = 0;
        }
        position += 2 + segment;
    }
}
