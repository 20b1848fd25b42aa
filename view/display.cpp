#include "view/display.h"

#include "base/ranges.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

ScreenMetrics screenMetrics;

uint16_t paintWidth = 0;
uint16_t paintHeight = 0;
uint16_t clientWidth = 0;
uint16_t clientHeight = 0;
int leftMargin = 0;
double scaleX = 1.0;
double scaleY = 1.0;
char previousMode = MODE_NORMAL;
int fixedWidth = 400;
int fixedHeight = 300;
int fixedX = 100;
int fixedY = 100;
int drawnX = 0;
int drawnY = 0;

namespace {

constexpr double kDefaultWheelRate = 1.2;

int64_t MulDiv64(int64_t a, int64_t b, int64_t c) { return c == 0 ? 0 : a * b / c; }

// Truncates a non-negative size; a value within 1e-9 of a whole number counts as that
// number (1000 / (1 / 1.2) is 1199.99... in binary floating point, and is meant as 1200).
// Negative values and NaN give 0; huge values are capped.
int TruncateSize(double v) {
    if (!(v > 0)) return 0;
    if (v > 1e9) return 1000000000;
    const double nearest = std::nearbyint(v);
    if (std::fabs(v - nearest) < 1e-9) return static_cast<int>(nearest);
    return static_cast<int>(v);
}

}  // namespace

bool IsScaledMode(char mode) {
    return mode == MODE_NORMAL || mode == MODE_DOUBLE || mode == MODE_QUADRUPLE || mode == MODE_HALF ||
           mode == MODE_QUARTER;
}

bool IsNonScrollingMode(char mode) {
    return mode == MODE_BEST_FIT_NO_BORDER || mode == MODE_BEST_FIT || mode == MODE_ZOOM_SAME_ASPECT ||
           mode == MODE_WHEEL_ZOOM || mode == MODE_ZOOM;
}

bool PaintResetsWheelZoom(char mode) {
    switch (mode) {
        case MODE_ZOOM:
        case MODE_ZOOM_SAME_ASPECT:
        case MODE_FIXED_WINDOW:
        case MODE_WHEEL_ZOOM: return false;
        default: return true;
    }
}

DisplaySize ScaledDisplaySize(char mode, int w, int h) {
    switch (mode) {
        case MODE_DOUBLE: return {w * 2, h * 2};
        case MODE_QUADRUPLE: return {w * 4, h * 4};
        case MODE_HALF: return {w >> 1, h >> 1};
        case MODE_QUARTER: return {w >> 2, h >> 2};
        default: return {w, h};
    }
}

DisplaySize FitIntoBox(int w, int h, int boxWidth, int boxHeight) {
    if (w <= 0 || h <= 0) return {0, 0};
    int64_t dw = boxWidth;
    int64_t dh = MulDiv64(dw, h, w);
    if (dh > boxHeight) {
        dh = boxHeight;
        dw = MulDiv64(dh, w, h);
    }
    return {static_cast<int>(dw), static_cast<int>(dh)};
}

DisplaySize BestFitSize(int w, int h, const ScreenMetrics& m) {
    return FitIntoBox(w, h, m.work.width - m.borderWidth, m.work.height - m.borderHeight);
}

DisplaySize FullScreenStretchSize(const ScreenMetrics& m) {
    return {m.work.width - m.borderWidth, m.work.height - m.borderHeight - 1};
}

DisplayRect NoBorderPictureRect(int w, int h, const ScreenMetrics& m, bool fullView) {
    DisplayRect r;
    if (w <= 0 || h <= 0) return r;
    int64_t width = (fullView || w > m.screenWidth) ? m.screenWidth : w;
    int64_t height = MulDiv64(width, h, w);
    if (height > m.screenHeight) {
        height = m.screenHeight;
        width = MulDiv64(height, w, h);
    }
    r.width = static_cast<int>(width);
    r.height = static_cast<int>(height);
    r.x = (m.screenWidth - r.width) / 2;
    r.y = (m.screenHeight - r.height) / 2;
    return r;
}

DisplayRect FixedWindowPictureRect(int w, int h, int boxWidth, int boxHeight) {
    DisplayRect r;
    DisplaySize s = (w < boxWidth && h < boxHeight) ? DisplaySize{w, h} : FitIntoBox(w, h, boxWidth, boxHeight);
    r.width = s.width;
    r.height = s.height;
    r.x = (boxWidth - s.width) / 2;
    r.y = (boxHeight - s.height) / 2;
    return r;
}

int LeftMarginFor(char mode, int displayW, int minimumWidth) {
    const bool fittedWindow = IsScaledMode(mode) || mode == MODE_BEST_FIT || mode == MODE_FULL_SCREEN_STRETCH;
    if (!fittedWindow || displayW >= minimumWidth) return 0;
    return (minimumWidth - displayW) / 2;
}

DisplayRect PlaceWindowRect(const DisplayRect& window, int displayW, int displayH, int minimumWidth,
                            const ScreenMetrics& m) {
    const int d = std::max(displayW, minimumWidth);
    DisplayRect r;
    r.width = std::min(d + m.borderWidth, m.work.width);
    r.height = std::min(displayH + m.borderHeight, m.work.height);
    // The window keeps its centre. The change of the window's own size is used rather than
    // display size against client size: the two differ by whatever the borders estimate
    // misses (scroll bars, a frame thinner than four times SM_CXFRAME), and the window would
    // then creep sideways by that amount on every repaint.
    r.x = window.x - (r.width - window.width) / 2;
    r.y = window.y - (r.height - window.height) / 2;
    r.x = std::max(r.x, m.work.x);
    r.y = std::max(r.y, m.work.y);
    if (r.x + r.width > m.work.x + m.work.width) r.x = m.work.x;
    if (r.y + r.height > m.work.y + m.work.height) r.y = m.work.y;
    return r;
}

ScrollRanges ClientScrollRanges(char mode, int clientW, int clientH, int displayW, int displayH) {
    ScrollRanges r;
    if (IsNonScrollingMode(mode)) {
        r.horizontal.max = clientW - 1;
        r.vertical.max = clientH - 1;
        r.horizontal.page = r.horizontal.max + 1;
        r.vertical.page = r.vertical.max + 1;
    } else {
        r.horizontal = {displayW - 1, clientW};
        r.vertical = {displayH - 1, clientH};
    }
    return r;
}

ScrollRanges WorkAreaScrollRanges(char mode, int displayW, int displayH, const ScreenMetrics& m) {
    const int workRight = m.work.x + m.work.width;
    const int workBottom = m.work.y + m.work.height;
    ScrollRanges r;
    if (IsNonScrollingMode(mode)) {
        r.horizontal = {workRight - 1, workRight};
        r.vertical = {workBottom - 1, workBottom};
        return r;
    }
    r.vertical.max = displayH + m.captionHeight + m.menuHeight;
    r.vertical.page = workBottom;
    if (r.vertical.page == displayH) r.vertical.page += 1;
    else if (r.vertical.page < displayH) r.vertical.page -= m.hScrollHeight;
    r.horizontal.max = displayW;
    r.horizontal.page = workRight;
    if (r.horizontal.page == displayW) r.horizontal.page += 1;
    else if (r.horizontal.page < displayW) r.horizontal.page -= m.vScrollWidth;
    return r;
}

int ScrollTarget(const ScrollBarState& bar, int request) {
    const int line = bar.max / 16 + 1;
    int pos = bar.pos;
    switch (request) {
        case SCROLL_LINE_UP: pos -= line; break;
        case SCROLL_LINE_DOWN: pos += line; break;
        case SCROLL_PAGE_UP: pos -= bar.page; break;
        case SCROLL_PAGE_DOWN: pos += bar.page; break;
        case SCROLL_TOP: pos = bar.min; break;
        case SCROLL_BOTTOM: pos = bar.max; break;
        case SCROLL_THUMB_POSITION:
        case SCROLL_THUMB_TRACK: pos = bar.trackPos; break;
        default: return bar.pos;
    }
    pos = std::min(pos, bar.max - bar.page + 1);
    return std::max(pos, 0);
}

DisplayPoint ClientToPicture(const PointMapping& p, int x, int y) {
    if (IsScaledMode(p.mode)) x -= p.leftMargin;
    x += p.scrollX;
    y += p.scrollY;
    auto scale = [](int v, int offset, int picture, int drawn) {
        if (drawn <= 0) return v - offset;
        return static_cast<int>(std::floor(static_cast<double>(v - offset) * picture / drawn));
    };
    // Shifts and products round toward minus infinity, as the scaled ones do, so that a
    // point left of or above the picture never maps onto its first column or row.
    auto divide = [](int v, int by) { return v >= 0 ? v / by : -((-v + by - 1) / by); };
    switch (p.mode) {
        case MODE_QUADRUPLE: x = divide(x, 4); y = divide(y, 4); break;
        case MODE_DOUBLE: x = divide(x, 2); y = divide(y, 2); break;
        case MODE_HALF: x *= 2; y *= 2; break;
        case MODE_QUARTER: x *= 4; y *= 4; break;
        case MODE_BEST_FIT_NO_BORDER:
            x = scale(x, p.drawnX - p.frameWidth, p.pictureWidth, p.displayWidth);
            y = scale(y, p.drawnY + p.captionHeight, p.pictureHeight, p.displayHeight);
            break;
        case MODE_BEST_FIT:
            if (p.displayWidth < p.minimumWidth) x = scale(x, p.leftMargin, p.pictureWidth, p.displayWidth);
            else x = scale(x, 0, p.pictureWidth, p.clientWidth);
            y = scale(y, 0, p.pictureHeight, p.clientHeight);
            break;
        case MODE_FIXED_WINDOW:
            x = scale(x, 0, p.pictureWidth, p.fixedWidth);
            y = scale(y, 0, p.pictureHeight, p.fixedHeight);
            break;
        default: break;
    }
    return {x, y};
}

DisplayPoint ScreenToPicture(const PointMapping& p, int x, int y) {
    DisplayPoint d = ClientToPicture(p, x, y);
    // Both coordinates stay inside the picture: the caller reads the pixel there.
    d.x = std::max(0, std::min(d.x, p.pictureWidth - 1));
    d.y = std::max(0, std::min(d.y, p.pictureHeight - 1));
    return d;
}

bool PointOnPicture(const PointMapping& p, DisplayPoint point) {
    return point.x >= 0 && point.y >= 0 && point.x < p.pictureWidth && point.y < p.pictureHeight;
}

int PictureLengthOnClient(const PointMapping& p, int length, bool horizontal) {
    auto scale = [length](int drawn, int picture) {
        if (drawn <= 0 || picture <= 0) return length;
        return static_cast<int>(static_cast<long long>(length) * drawn / picture);
    };
    long long v = length;
    switch (p.mode) {
        case MODE_QUADRUPLE: v = 4LL * length; break;
        case MODE_DOUBLE: v = 2LL * length; break;
        case MODE_HALF: v = length / 2; break;
        case MODE_QUARTER: v = length / 4; break;
        case MODE_BEST_FIT_NO_BORDER:
            v = horizontal ? scale(p.displayWidth, p.pictureWidth) : scale(p.displayHeight, p.pictureHeight);
            break;
        case MODE_BEST_FIT:
            if (!horizontal) v = scale(p.clientHeight, p.pictureHeight);
            else if (p.displayWidth < p.minimumWidth) v = scale(p.displayWidth, p.pictureWidth);
            else v = scale(p.clientWidth, p.pictureWidth);
            break;
        case MODE_FIXED_WINDOW:
            v = horizontal ? scale(p.fixedWidth, p.pictureWidth) : scale(p.fixedHeight, p.pictureHeight);
            break;
        default: break;
    }
    return static_cast<int>(std::max<long long>(1, std::min<long long>(v, 1 << 20)));
}

void WheelZoomStep(WheelZoomState& z, const WheelZoomInputs& in, const ScreenMetrics& m, int x, int y, bool zoomIn) {
    const int W = m.work.width;
    const int H = m.work.height;
    if (!z.centreSet) {
        z.centreSet = true;
        z.lastX = x;
        z.lastY = y;
        int px = x + in.scrollX + m.borderWidth / 2;
        int py = y + in.scrollY + 1 - (m.menuHeight + m.captionHeight) / 2;
        switch (in.previousMode) {
            case MODE_QUADRUPLE: px >>= 2; py >>= 2; break;
            case MODE_DOUBLE: px >>= 1; py >>= 1; break;
            case MODE_HALF: px *= 2; py *= 2; break;
            case MODE_QUARTER: px *= 4; py *= 4; break;
            case MODE_BEST_FIT_NO_BORDER:
                px = static_cast<int>((px - in.drawnX) * in.scaleX);
                py = static_cast<int>((py - (m.captionHeight + in.drawnY)) * in.scaleY);
                break;
            case MODE_BEST_FIT:
            case MODE_FULL_SCREEN_STRETCH:
            case MODE_FIXED_WINDOW:
                px = static_cast<int>(px * in.scaleX);
                py = static_cast<int>(py * in.scaleY);
                break;
            default: break;
        }
        z.centreX = px;
        z.centreY = in.pictureHeight - py + 1;
    } else if (x != z.lastX && y != z.lastY && W > 0 && H > 0) {
        z.lastX = x;
        z.lastY = y;
        z.centreX = static_cast<int32_t>(static_cast<int64_t>(x) * z.sourceWidth / W + z.sourceX);
        z.centreY = static_cast<int32_t>(z.sourceY + z.sourceHeight - static_cast<int64_t>(y) * z.sourceHeight / H);
    }
    if (zoomIn) z.factor /= z.rate;
    else z.factor *= z.rate;
    // At least one pixel each way: the source size divides by these.
    const int dw = std::max(1, TruncateSize(in.displayWidth / z.factor));
    const int dh = std::max(1, TruncateSize(in.displayHeight / z.factor));
    z.sourceWidth = TruncateSize(static_cast<double>(W) * in.pictureWidth / dw);
    z.sourceHeight = TruncateSize(static_cast<double>(H) * in.pictureHeight / dh);
    z.sourceX = z.centreX - z.sourceWidth / 2;
    z.sourceY = z.centreY - z.sourceHeight / 2;
}

double ParseWheelRate(const std::string& text) {
    double v = 0;
    // The low end is excluded: a step of 1 would not zoom.
    if (!LeadingReal(text, &v)) return kDefaultWheelRate;
    return (v > kWheelRateRange.low && v <= kWheelRateRange.high) ? v : kDefaultWheelRate;
}
