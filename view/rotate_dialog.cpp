#include "view/rotate_dialog.h"

#include <cstdlib>

#include "base/ranges.h"

int RotateScrollPosition(int position, int request, int thumb) {
    switch (request) {
        case ROTATE_SCROLL_LINE_UP: position -= 1; break;
        case ROTATE_SCROLL_LINE_DOWN: position += 1; break;
        case ROTATE_SCROLL_PAGE_UP: position -= 6; break;
        case ROTATE_SCROLL_PAGE_DOWN: position += 6; break;
        case ROTATE_SCROLL_THUMB_POSITION:
        case ROTATE_SCROLL_THUMB_TRACK: position = thumb; break;
        case ROTATE_SCROLL_TOP: position = kRotateScrollRange.low; break;
        case ROTATE_SCROLL_BOTTOM: position = kRotateScrollRange.high; break;
        default: break;
    }
    return kRotateScrollRange.Clamp(position);
}

double AngleFromScroll(int position, bool fine) { return fine ? position / 10.0 : position; }

double ClampRotateAngle(double degrees) {
    if (!(degrees == degrees)) return 0;
    return kRotateAngleRange.Clamp(degrees);
}

bool ParseRotateAngle(const std::string& text, double* degrees) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start) return false;
    *degrees = ClampRotateAngle(value);
    return true;
}
