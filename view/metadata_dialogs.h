// The dialogs that show a picture's metadata, apart from the dialogs: the file
// information dialog's EXIF and XMP buttons, the texts of the EXIF and XMP dialogs, and
// where the EXIF dialog draws the thumbnail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codecs/exif.h"
#include "core/current_image.h"

// One of the file information dialog's metadata buttons: its caption and whether it works.
struct MetadataButton {
    const char* caption;
    bool enabled;
};
// Button 3: "Display EXIF data" for a JPEG or WebP file with an EXIF block, "Display RAW
// camera data" for a camera RAW file with camera lines.
MetadataButton ExifButton(const CurrentImageState& image);
// Button 4: "Display XMP data" for a JPEG file with an XMP packet.
MetadataButton XmpButton(const CurrentImageState& image);

// The EXIF lines the EXIF dialog shows for `image`: its EXIF block parsed (a rejected
// block gives the lines that need no EXIF values), with its size and JPEG process; for a
// camera RAW file its camera lines.
std::string PictureExifText(const CurrentImageState& image);
// The EXIF dialog's whole text: the file's name, size (its low 32 bits, as the dialog
// always showed it) and creation date, then the EXIF lines.
std::string ExifDialogText(const std::string& name, uint64_t size, const std::string& created,
                           const std::string& exifText);
// The XMP dialog's text of a kept XMP marker.
std::string XmpDialogText(const std::vector<uint8_t>& xmp);

// The JPEG thumbnail of a parsed EXIF block: true with its bytes when there is one and
// it begins as a JPEG stream (FF D8).
bool ExifJpegThumbnail(const Cexif& exif, const uint8_t** data, size_t* length);

// The grey picture shown when there is no thumbnail, and the size a thumbnail is shown
// within.
constexpr int kThumbnailBoxWidth = 300;
constexpr int kThumbnailBoxHeight = 256;
constexpr uint32_t kNoThumbnailColour = 0xD0D0D0;
extern const char kNoThumbnailText[];

// Where a thumbnail of `width` x `height` is drawn in the EXIF dialog (client pixels): made
// smaller by the larger of height / 256 and width / 300 when that exceeds 1 (never
// larger), centred on (660, 150).
struct ThumbnailRect {
    int x, y, width, height;
};
ThumbnailRect ThumbnailPlacement(int width, int height);
