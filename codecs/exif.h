// EXIF and XMP metadata of JPEG (and WebP) files: recognising the blocks, parsing an
// EXIF block's directory tree into one record, the text the EXIF and XMP dialogs show,
// and a marker scan over a whole JPEG file held in memory. Every read is checked against
// the block it comes from: a cut or crafted block gives fewer values, never a read past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// True when an APP1 payload (the bytes after the marker's two length bytes) is an EXIF
// block: it begins with "Exif", 0, 0.
bool IsExifPayload(const uint8_t* payload, size_t length);
// True when an APP1 payload is an XMP packet: it begins with the XMP namespace
// identifier "http://ns.adobe.com/xap/1.0/" and a zero byte (29 bytes).
bool IsXmpPayload(const uint8_t* payload, size_t length);

// The values of one EXIF block that the program shows or uses.
class Cexif {
public:
    virtual ~Cexif();

    char cameraMake[32] = {};
    char cameraModel[40] = {};
    char software[40] = {};
    char dateTime[21] = {};
    int32_t orientation = 0;  // 1..8, else 0
    int32_t flash = 0;
    float focalLength = 0;
    float exposureTime = 0;
    float aperture = 0;
    float distance = 0;  // metres; negative: infinity
    float ccdWidth = 0;
    float exposureBias = 0;
    float digitalZoom = 0;
    int32_t focalLength35 = 0;
    int32_t whiteBalance = 0;
    int32_t meteringMode = 0;
    int32_t exposureProgram = 0;
    int32_t exposureMode = 0;
    int32_t isoEquivalent = 0;
    int32_t lightSource = 0;
    char userComment[128] = {};
    uint32_t orientationOffset = 0;  // from the start of the payload ("E" of "Exif"), 0: none
    const uint8_t* thumbnail = nullptr;  // inside the parsed payload, null: none
    uint32_t thumbnailLength = 0;
    int32_t gpsPresent = 0;
    char gpsLatitude[30] = {};
    char gpsLongitude[30] = {};
    char gpsAltitude[32] = {};  // sign character (0: no altitude reference), then "%.2fm"

    // Fills this record (which must be fresh) from an EXIF payload that begins with
    // "Exif", 0, 0. False when the block is rejected (wrong identifier, byte order or
    // TIFF mark); values of entries that are broken are skipped silently.
    bool ParseExif(const uint8_t* payload, size_t length);
};

// The name of an orientation value; values outside 0..8 give "Undefined".
const char* OrientationName(int orientation);
// "JPEG process\t: <name>\r\n" for a start-of-frame code, empty for 0 or an unknown code.
std::string JpegProcessName(int code);
// The EXIF dialog's lines for a parsed block (a rejected block gives a fresh record),
// with the current picture's size and the file's JPEG process code (0: none).
std::string ExifText(const Cexif& exif, int width, int height, int jpegProcess);
// Sets the orientation value of an EXIF block to 1 (normal) in place, in the block's byte
// order. False when the block has no orientation value.
bool SetExifOrientationNormal(std::vector<uint8_t>& payload);

// The XMP dialog's text of a kept XMP APP1 marker (marker bytes, length, payload).
std::string XmpText(const uint8_t* marker, size_t length);

// A scan over a whole JPEG file held in memory, up to its first scan.
class Cjpeg {
public:
    virtual ~Cjpeg();
    // Records an EXIF payload met in an APP1 marker (the first one only).
    virtual void OnApp1(const uint8_t* payload, size_t length);

    char comment[128] = {};
    uint16_t frameHeight = 0;
    uint16_t frameWidth = 0;
    const uint8_t* exif = nullptr;  // payload from "Exif" on, null: none
    size_t exifLength = 0;
    size_t position = 0;

    // 0 when the scan reached the start of scan or the end of image, 1 when the data does
    // not begin with FF D8, -1 when it ran off the data or met a byte that is no marker.
    int ScanJpegMarkers(const uint8_t* data, size_t length);
};
