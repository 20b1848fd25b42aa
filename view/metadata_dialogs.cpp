#include "view/metadata_dialogs.h"

#include <algorithm>

#include "base/text.h"

const char kNoThumbnailText[] = "No Thumbnail Found!";

namespace {

constexpr int kThumbnailCentreX = 660;
constexpr int kThumbnailCentreY = 150;

}  // namespace

MetadataButton ExifButton(const CurrentImageState& image) {
    const bool exifType = image.fileType == FT_JPEG || image.fileType == FT_WEBP;
    if (exifType && !image.exif.empty()) return {"Display EXIF data", true};
    if (image.fileType == FT_RAW && !image.rawCameraText.empty()) return {"Display RAW camera data", true};
    return {"Disabled - No EXIF data available", false};
}

MetadataButton XmpButton(const CurrentImageState& image) {
    if (image.fileType == FT_JPEG && !image.xmp.empty()) return {"Display XMP data", true};
    return {"Disabled - No XMP data available", false};
}

std::string PictureExifText(const CurrentImageState& image) {
    // A camera RAW file shows its camera lines in place of EXIF values.
    if (image.fileType == FT_RAW && !image.rawCameraText.empty()) return image.rawCameraText;
    Cexif exif;
    if (!image.exif.empty()) exif.ParseExif(image.exif.data(), image.exif.size());
    return ExifText(exif, image.dib.width, image.dib.height, image.jpegProcess);
}

std::string ExifDialogText(const std::string& name, uint64_t size, const std::string& created,
                           const std::string& exifText) {
    const int lowSize = static_cast<int>(static_cast<uint32_t>(size));
    return FormatText("File name\t\t: %s\r\nFile size\t\t: %d bytes\r\nFile creation date\t: %s\r\n", name.c_str(),
                      lowSize, created.c_str()) +
           exifText;
}

std::string XmpDialogText(const std::vector<uint8_t>& xmp) {
    return "XMP data: \r\n\r\n" + XmpText(xmp.data(), xmp.size()) + "\r\n";
}

bool ExifJpegThumbnail(const Cexif& exif, const uint8_t** data, size_t* length) {
    if (exif.thumbnail == nullptr || exif.thumbnailLength < 2) return false;
    if (exif.thumbnail[0] != 0xFF || exif.thumbnail[1] != 0xD8) return false;
    *data = exif.thumbnail;
    *length = exif.thumbnailLength;
    return true;
}

ThumbnailRect ThumbnailPlacement(int width, int height) {
    const double factor = std::max(static_cast<double>(height) / kThumbnailBoxHeight,
                                   static_cast<double>(width) / kThumbnailBoxWidth);
    int w = width, h = height;
    if (factor > 1) {
        w = static_cast<int>(width / factor);
        h = static_cast<int>(height / factor);
    }
    return {kThumbnailCentreX - w / 2, kThumbnailCentreY - h / 2, w, h};
}
