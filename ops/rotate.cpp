#include "ops/rotate.h"

#include <cmath>

#include "ops/preview.h"

namespace {

const char* const kRotatingLabel = "Rotating Image:";

// Position of a sampled coordinate: the whole part toward zero and the weight of the
// next pixel in percent. For a coordinate below 0 the weight counts from the other side,
// which keeps it within 1..100. Both come from one truncation of |v| x 100, so a value
// that the near-integer rule rounds up moves the whole part and the weight together.
struct SamplePosition {
    long long whole;
    unsigned weight;
};
inline SamplePosition Position(double v) {
    const long long hundredths = TruncNear(std::fabs(v) * 100);
    SamplePosition p;
    p.whole = v < 0 ? -(hundredths / 100) : hundredths / 100;
    p.weight = static_cast<unsigned>(hundredths % 100);
    if (p.whole < 0) p.weight = 100 - p.weight;
    return p;
}

inline unsigned Blend(unsigned a, unsigned b, unsigned c, unsigned d, unsigned fx, unsigned fy) {
    return ((a * (100 - fx) + b * fx) * (100 - fy) + (c * (100 - fx) + d * fx) * fy) / 10000;
}

}  // namespace

bool RotatedCanvasSize(int W, int H, double degrees, int* w, int* h) {
    const double a = degrees / kDegreesPerRadian;
    const double c = std::cos(a), s = std::sin(a);
    const long long nw = TruncNear(std::fabs(W * c) + std::fabs(H * s));
    const long long nh = TruncNear(std::fabs(W * s) + std::fabs(H * c));
    if (!PictureSideFits(nw) || !PictureSideFits(nh)) return false;
    *w = static_cast<int>(nw);
    *h = static_cast<int>(nh);
    return true;
}

void RotateInto(const CDib& src, double degrees, const RgbColour& background, CDib& dest, OpProgress progress) {
    const int W = src.width, H = src.height;
    const int Wn = dest.width, Hn = dest.height;
    // The transform p' = p x T(-W'/2, -H'/2) x R(theta) x T(W/2, H/2) with
    // theta = 360 degrees - a, written out for the two coordinates.
    const double theta = (360.0 - degrees) / kDegreesPerRadian;
    const double c = std::cos(theta), s = std::sin(theta);
    const double halfW = W / 2.0, halfH = H / 2.0;
    const double halfWn = Wn / 2.0, halfHn = Hn / 2.0;
    const uint8_t bg[3] = {background.blue, background.green, background.red};
    TenthsProgress report(progress, kRotatingLabel);
    for (int y = 0; y < Hn; ++y) {
        report.Step(Hn, y);
        const double dy = y - halfHn;
        uint8_t* d = dest.Row(y);
        for (int x = 0; x < Wn; ++x, d += 3) {
            const double dx = x - halfWn;
            const SamplePosition px = Position(dx * c + dy * s + halfW);
            const SamplePosition py = Position(-dx * s + dy * c + halfH);
            const long long ix = px.whole, iy = py.whole;
            const uint8_t *a, *b, *cc, *dd;
            if (ix >= 0 && ix + 1 < W && iy >= 0 && iy + 1 < H) {
                a = src.Row(static_cast<int>(iy)) + ix * 3;
                b = a + 3;
                cc = src.Row(static_cast<int>(iy) + 1) + ix * 3;
                dd = cc + 3;
            } else {
                auto at = [&](long long col, long long row) -> const uint8_t* {
                    if (col < 0 || col >= W || row < 0 || row >= H) return bg;
                    return src.Row(static_cast<int>(row)) + col * 3;
                };
                a = at(ix, iy);
                b = at(ix + 1, iy);
                cc = at(ix, iy + 1);
                dd = at(ix + 1, iy + 1);
            }
            for (int k = 0; k < 3; ++k)
                d[k] = static_cast<uint8_t>(Blend(a[k], b[k], cc[k], dd[k], px.weight, py.weight));
        }
    }
}

void RotatePreview(CPreview& preview, const CDib& picture, double degrees, bool guideLines) {
    preview.Build(picture);
    CDib turned;
    turned.Create(preview.image.width, preview.image.height, 24);
    RotateInto(preview.image, degrees, BackgroundColour, turned, nullptr);
    preview.image.Swap(turned);
    if (guideLines) preview.DrawGuideLines();
}
