#include "view/crop.h"

#include <cmath>
#include <cstdlib>
#include <algorithm>
#include <numeric>

#include "base/numeric.h"
#include "base/text.h"
#include "view/display.h"

namespace {

int Map(const SelectionMapping& m, int v, int scroll, double scale, int origin) {
    switch (m.mode) {
        case MODE_QUADRUPLE: return scroll / 4 + v / 4;
        case MODE_DOUBLE: return scroll / 2 + v / 2;
        case MODE_HALF: return 2 * (scroll + v);
        case MODE_QUARTER: return 4 * (scroll + v);
        case MODE_BEST_FIT_NO_BORDER:
        case MODE_FIXED_WINDOW: return static_cast<int>(TruncNear((v - origin) * scale));
        case MODE_BEST_FIT:
        case MODE_FULL_SCREEN_STRETCH:
            return static_cast<int>(TruncNear(scroll * scale) + TruncNear(v * scale));
        default: return scroll + v;
    }
}

}  // namespace

int SelectionImageX(const SelectionMapping& m, int x) {
    return Map(m, x - m.leftMargin, m.scrollX, m.scaleX, m.originX);
}

int SelectionImageY(const SelectionMapping& m, int y) { return Map(m, y, m.scrollY, m.scaleY, m.originY); }

int SelectionImageLength(const SelectionMapping& m, int length, bool horizontal) {
    switch (m.mode) {
        case MODE_QUADRUPLE: return length / 4;
        case MODE_DOUBLE: return length / 2;
        case MODE_HALF: return length * 2;
        case MODE_QUARTER: return length * 4;
        case MODE_BEST_FIT_NO_BORDER:
        case MODE_FIXED_WINDOW:
        case MODE_BEST_FIT:
        case MODE_FULL_SCREEN_STRETCH:
            return static_cast<int>(TruncNear(length * (horizontal ? m.scaleX : m.scaleY)));
        default: return length;
    }
}

void ApplyCropAspect(int a, int b, int* dw, int* dh) {
    if (a <= 0 || b <= 0) return;
    const int qw = *dw / a, qh = *dh / b;
    const int sign = (*dw < 0) == (*dh < 0) ? 1 : -1;
    if (std::abs(qh) < std::abs(qw)) {
        *dw = sign * qh * a;
        *dh = qh * b;
    } else {
        *dw = qw * a;
        *dh = sign * qw * b;
    }
}

int LosslessGrid(char mode) {
    switch (mode) {
        case MODE_QUADRUPLE: return 32;
        case MODE_DOUBLE: return 16;
        case MODE_HALF: return 4;
        case MODE_QUARTER: return 2;
        default: return 8;
    }
}

int SnapToGrid(int v, int grid) {
    const int shifted = v + 4;
    // Rounded down, also below 0.
    const int r = shifted % grid;
    return shifted - (r < 0 ? r + grid : r);
}

void PictureRatio(int width, int height, int* a, int* b) {
    const int g = std::gcd(width, height);
    *a = g > 0 ? width / g : 0;
    *b = g > 0 ? height / g : 0;
}

SelectionRect NormalisedSelection(const SelectionRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

SelectionMapping SelectionMappingFor(const PointMapping& p, double scaleX, double scaleY) {
    SelectionMapping m;
    m.mode = p.mode;
    m.scrollX = p.scrollX;
    m.scrollY = p.scrollY;
    m.leftMargin = p.leftMargin;
    m.scaleX = scaleX;
    m.scaleY = scaleY;
    auto perDrawn = [](int picture, int drawn, double otherwise) {
        return drawn > 0 ? static_cast<double>(picture) / drawn : otherwise;
    };
    switch (p.mode) {
        case MODE_BEST_FIT_NO_BORDER:
            // The window's frame and caption lie off the screen: the client's corner is not
            // the window's.
            m.originX = p.drawnX - p.frameWidth;
            m.originY = p.drawnY + p.captionHeight;
            m.scaleX = perDrawn(p.pictureWidth, p.displayWidth, scaleX);
            m.scaleY = perDrawn(p.pictureHeight, p.displayHeight, scaleY);
            break;
        case MODE_FIXED_WINDOW:
            // The picture is fitted into the box and centred in it.
            m.originX = p.drawnX;
            m.originY = p.drawnY;
            m.scaleX = perDrawn(p.pictureWidth, p.displayWidth, scaleX);
            m.scaleY = perDrawn(p.pictureHeight, p.displayHeight, scaleY);
            break;
        default: break;
    }
    return m;
}

void SelectionClientSpan(const SelectionMapping& m, int first, int end, bool horizontal, int* from, int* to) {
    auto map = [&](long long c) {
        const int v = static_cast<int>(c);
        return horizontal ? SelectionImageX(m, v) : SelectionImageY(m, v);
    };
    // Every mapping rises with the window coordinate: the first window pixel that maps to
    // `target` or beyond is found by halving.
    auto lowest = [&](int target) {
        long long lo = -(1LL << 28), hi = 1LL << 28;
        while (lo < hi) {
            const long long mid = (lo + hi) >> 1;
            if (map(mid) >= target) hi = mid;
            else lo = mid + 1;
        }
        return static_cast<int>(lo);
    };
    *from = lowest(first);
    *to = lowest(end);
}

int CrosshairThickness(char mode) {
    switch (mode) {
        case MODE_NORMAL:
        case MODE_DOUBLE:
        case MODE_QUADRUPLE: return 1;
        case MODE_QUARTER: return 4;
        default: return 2;
    }
}

void DragCorner(const SelectionMapping& m, CropPurpose purpose, int a, int b, int anchorX, int anchorY,
                int rightEdge, int* x, int* y) {
    *x = std::min(*x, rightEdge);
    switch (purpose) {
        case CROP_ICON: {
            const int side = std::abs(*x - anchorX);
            *y = *y < anchorY ? anchorY - side : anchorY + side;
            break;
        }
        case CROP_LOSSLESS: {
            const int grid = LosslessGrid(m.mode);
            *x = SnapToGrid(*x, grid);
            *y = SnapToGrid(*y, grid);
            break;
        }
        case CROP_PLAIN: {
            int dw = *x - anchorX, dh = *y - anchorY;
            ApplyCropAspect(a, b, &dw, &dh);
            *x = anchorX + dw;
            *y = anchorY + dh;
            break;
        }
    }
}

std::string SelectionSizeTitle(const SelectionMapping& m, const SelectionRect& r) {
    const int width = SelectionImageLength(m, std::abs(r.right - r.left), true);
    const int height = SelectionImageLength(m, std::abs(r.bottom - r.top), false);
    const double ratio = height > 0 ? static_cast<double>(width) / height : 0.0;
    return FormatText("Size: (%d * %d) AR: %.3f", width, height, ratio);
}

CropZone ZoneAt(const SelectionRect& r, int x, int y) {
    const SelectionRect n = NormalisedSelection(r);
    auto third = [](int v, int low, int high) {
        const int quarter = (high - low) / 4;
        if (v < low + quarter) return 0;
        return v >= high - quarter ? 2 : 1;
    };
    return static_cast<CropZone>(third(x, n.left, n.right) * 3 + third(y, n.top, n.bottom));
}

bool ZoneMoves(CropZone zone, bool ratioFixed) {
    const bool edge = zone == ZONE_LEFT || zone == ZONE_RIGHT || zone == ZONE_TOP || zone == ZONE_BOTTOM;
    return !(edge && ratioFixed);
}

SelectionRect DragZone(const SelectionRect& r, CropZone zone, int fromX, int fromY, int x, int y, int a, int b) {
    SelectionRect n = NormalisedSelection(r);
    const bool ratioFixed = a > 0 && b > 0;
    if (!ZoneMoves(zone, ratioFixed)) return n;
    // A corner follows the pointer; the opposite corner stays.
    auto corner = [&](int* cx, int* cy, int ox, int oy) {
        int dw = x - ox, dh = y - oy;
        ApplyCropAspect(a, b, &dw, &dh);
        *cx = ox + dw;
        *cy = oy + dh;
    };
    switch (zone) {
        case ZONE_MOVE:
            n.left += x - fromX;
            n.right += x - fromX;
            n.top += y - fromY;
            n.bottom += y - fromY;
            break;
        case ZONE_LEFT: n.left = x; break;
        case ZONE_RIGHT: n.right = x; break;
        case ZONE_TOP: n.top = y; break;
        case ZONE_BOTTOM: n.bottom = y; break;
        case ZONE_TOP_LEFT: corner(&n.left, &n.top, n.right, n.bottom); break;
        case ZONE_TOP_RIGHT: corner(&n.right, &n.top, n.left, n.bottom); break;
        case ZONE_BOTTOM_LEFT: corner(&n.left, &n.bottom, n.right, n.top); break;
        case ZONE_BOTTOM_RIGHT: corner(&n.right, &n.bottom, n.left, n.top); break;
    }
    return NormalisedSelection(n);
}

CropRect SelectionToPicture(const SelectionMapping& m, const PointMapping& p, const SelectionRect& r,
                            CropPurpose purpose, int a, int b) {
    SelectionRect n = NormalisedSelection(r);
    auto clip = [&n](int left, int top, int right, int bottom) {
        n.left = std::max(n.left, left);
        n.top = std::max(n.top, top);
        n.right = std::min(n.right, right);
        n.bottom = std::min(n.bottom, bottom);
    };
    clip(0, 0, p.clientWidth, p.clientHeight);
    if (m.mode == MODE_BEST_FIT_NO_BORDER || m.mode == MODE_FIXED_WINDOW)
        clip(m.originX, m.originY, m.originX + p.displayWidth, m.originY + p.displayHeight);
    int width = n.right - n.left, height = n.bottom - n.top;
    if (width <= 0 || height <= 0) return {};
    if (purpose == CROP_ICON) width = height = std::min(width, height);
    // Mapped, then cut down to the picture: a selection reaching past an edge takes what
    // lies on the picture.
    const long long left = SelectionImageX(m, n.left), top = SelectionImageY(m, n.top);
    const long long right = std::min<long long>(left + SelectionImageLength(m, width, true), p.pictureWidth);
    const long long bottom = std::min<long long>(top + SelectionImageLength(m, height, false), p.pictureHeight);
    CropRect crop;
    crop.left = static_cast<int>(std::max(0LL, left));
    crop.top = static_cast<int>(std::max(0LL, top));
    crop.width = static_cast<int>(std::max(0LL, right - crop.left));
    crop.height = static_cast<int>(std::max(0LL, bottom - crop.top));
    if (purpose != CROP_LOSSLESS) ApplyCropAspect(a, b, &crop.width, &crop.height);
    return crop;
}

CropRect StoredRect(const CropRect& r, int shownWidth, int shownHeight, int orientation) {
    const int right = shownWidth - (r.left + r.width), bottom = shownHeight - (r.top + r.height);
    switch (orientation) {
        case 2: return {right, r.top, r.width, r.height};
        case 3: return {right, bottom, r.width, r.height};
        case 4: return {r.left, bottom, r.width, r.height};
        case 5: return {r.top, r.left, r.height, r.width};
        case 6: return {r.top, right, r.height, r.width};
        case 7: return {bottom, right, r.height, r.width};
        case 8: return {bottom, r.left, r.height, r.width};
        default: return r;
    }
}
