#include "edit/exif_orientation.h"

#include "codecs/exif.h"
#include "ops/flip.h"

int ApplyOrientation(CDib& picture, int orientation) {
    try {
        switch (orientation) {
            case 2: FlipHorizontal(picture); break;
            case 3: Rotate180Dib(picture); break;
            case 4: FlipVertical(picture); break;
            case 5:
                TransposeDib(picture, nullptr);
                Rotate180Dib(picture);
                break;
            case 6: Rotate90Dib(picture, nullptr); break;
            case 7: TransposeDib(picture, nullptr); break;
            case 8: Rotate270Dib(picture, nullptr); break;
            default: return 0;
        }
    } catch (const char*) {
        return 0;  // shown as stored: a picture too large to turn is still a picture
    }
    return orientation;
}

int ApplyExifOrientation(CDib& picture, const std::vector<uint8_t>& exif) {
    if (exif.empty() || picture.Empty()) return 0;
    Cexif values;
    if (!values.ParseExif(exif.data(), exif.size())) return 0;
    return ApplyOrientation(picture, values.orientation);
}
