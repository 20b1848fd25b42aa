#include "view/crop.h"

#include <cmath>
#include <cstdlib>
#include <numeric>

#include "base/numeric.h"
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
