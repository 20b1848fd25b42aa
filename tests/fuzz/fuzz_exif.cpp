// libFuzzer entry for the EXIF and XMP code: the input is taken as an EXIF payload (parsed,
// its dialog text built, its JPEG thumbnail decoded, its orientation set to normal on a
// copy), as a whole JPEG file
// (marker scan, then the EXIF payload it found) and as a kept XMP marker.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/exif.h"
#include "core/dib.h"
#include "libcodecs/jpeg.h"
#include "view/metadata_dialogs.h"

namespace {

void ParseAndShow(const uint8_t* payload, size_t length) {
    Cexif exif;
    exif.ParseExif(payload, length);
    ExifText(exif, 640, 480, 192);
    const uint8_t* thumbnail = nullptr;
    size_t thumbnailLength = 0;
    if (ExifJpegThumbnail(exif, &thumbnail, &thumbnailLength)) {
        CDib picture;
        try {
            DecodeJpegBytes(thumbnail, thumbnailLength, picture);
        } catch (const char*) {
            // a picture block that cannot be had: the dialog shows its "no thumbnail" box
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    IsExifPayload(data, size);
    IsXmpPayload(data, size);
    ParseAndShow(data, size);
    std::vector<uint8_t> copy(data, data + size);
    SetExifOrientationNormal(copy);

    Cjpeg scan;
    scan.ScanJpegMarkers(data, size);
    if (scan.exif) ParseAndShow(scan.exif, scan.exifLength);

    XmpText(data, size);
    return 0;
}
