#include "ops/colour.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/numeric.h"
#include "ops/resize.h"

namespace {

bool Usable(const CDib& image) { return !image.Empty() && image.bitsPerPixel == 24; }

uint8_t Clamp255(long long v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// Runs `f(bgr)` on every pixel.
template <typename F>
int EachPixel(CDib& image, F f) {
    if (!Usable(image)) return -1;
    for (int y = 0; y < image.height; ++y) {
        uint8_t* p = image.Row(y);
        for (int x = 0; x < image.width; ++x, p += 3) f(p);
    }
    image.Touch();
    return 0;
}

constexpr double kHalfPi = 1.570796326794895;

}  // namespace

int NegativeImage(CDib& image) {
    return EachPixel(image, [](uint8_t* p) {
        p[0] = static_cast<uint8_t>(255 - p[0]);
        p[1] = static_cast<uint8_t>(255 - p[1]);
        p[2] = static_cast<uint8_t>(255 - p[2]);
    });
}

int GreyscaleImage(CDib& image) {
    return EachPixel(image, [](uint8_t* p) { p[0] = p[1] = p[2] = static_cast<uint8_t>(Brightness(p[2], p[1], p[0])); });
}

int SwapChannels(CDib& image, int operation) {
    // Stored blue, green, red: byte 0 is blue, 2 is red.
    switch (operation) {
        case SWAP_RED_BLUE: return EachPixel(image, [](uint8_t* p) { std::swap(p[0], p[2]); });
        case SWAP_RED_GREEN: return EachPixel(image, [](uint8_t* p) { std::swap(p[1], p[2]); });
        case SWAP_GREEN_BLUE: return EachPixel(image, [](uint8_t* p) { std::swap(p[0], p[1]); });
        case ROTATE_COLOURS:
            return EachPixel(image, [](uint8_t* p) {
                const uint8_t r = p[2], g = p[1], b = p[0];
                p[2] = g;
                p[1] = b;
                p[0] = r;
            });
        default: return -1;
    }
}

int MonochromeImage(CDib& image, int level) {
    return EachPixel(image, [level](uint8_t* p) {
        const uint8_t v = (p[0] + p[1] + p[2]) / 3 > level ? 255 : 0;
        p[0] = p[1] = p[2] = v;
    });
}

int AdjustRgb(CDib& image, int dr, int dg, int db) {
    return EachPixel(image, [=](uint8_t* p) {
        p[0] = Clamp255(p[0] + db);
        p[1] = Clamp255(p[1] + dg);
        p[2] = Clamp255(p[2] + dr);
    });
}

void LookupTable(double factor, int low, uint8_t table[256]) {
    for (int i = 0; i < 256; ++i) table[i] = Clamp255(TruncNear((i - low) * factor));
}

int ApplyTable(CDib& image, const uint8_t table[256], unsigned mask) {
    return EachPixel(image, [table, mask](uint8_t* p) {
        for (int c = 0; c < 3; ++c)
            if (mask & (1u << c)) p[c] = table[p[c]];
    });
}

int ApplyLookup(CDib& image, double factor, int low) {
    uint8_t table[256];
    LookupTable(factor, low, table);
    return ApplyTable(image, table);
}

int ContrastImage(CDib& image, int k) { return ApplyLookup(image, std::exp(k / 80.0), 0); }

int AutoContrast(CDib& image) {
    if (!Usable(image)) return -1;
    CHist hist;
    hist.Count(image);
    uint64_t cum[256];
    uint64_t running = 0;
    for (int i = 0; i < 256; ++i) cum[i] = running += hist.bright[i];
    const uint64_t total = cum[255], t = total / 200;
    int low = 256;
    for (int i = 0; i < 256; ++i)
        if (cum[i] > t) {
            low = i;
            break;
        }
    int high = 255;
    while (high > 0 && cum[high] >= total - t) --high;
    // A picture without a spread (high not above low) has nothing to stretch.
    if (high <= low) return 0;
    return ApplyLookup(image, 255.0 / (high - low), low);
}

void GammaTable(char function, int powerPercent, const int controls[kGammaControls], uint8_t table[256]) {
    const double p = powerPercent / 100.0, h = p / 2;
    for (int i = 0; i < 256; ++i) {
        double v = 0;
        switch (function) {
            case 'S': v = 255 * std::sin(i * h / 255 * kHalfPi); break;
            case 'T': v = 255 * std::tan(i * h / 511 * kHalfPi); break;
            case 's': v = 255 * 1.1547 * std::sin(i * h / 255 * kHalfPi / 1.5); break;
            case 'u': {
                const int k = i / 16, r = i % 16;
                v = controls[k] * (16 - r) / 16.0 + controls[k + 1] * r / 16.0;
                break;
            }
            default: v = 255 * std::pow(i / 255.0, p); break;
        }
        table[i] = Clamp255(TruncNear(v));
    }
}

int AdjustHsl(CDib& image, int hue, int saturation, int value) {
    return EachPixel(image, [=](uint8_t* px) {
        // The model's r is the blue byte and its b the red byte, both ways.
        double r = px[0] / 256.0, g = px[1] / 256.0, b = px[2] / 256.0;
        const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
        double L = (mx + mn) / 2, S = 0, H = 0;
        const double delta = mx - mn;
        if (L > 0 && delta > 0) {
            S = L <= 0.5 ? delta / (mx + mn) : delta / (2 - mx - mn);
            const double rr = (mx - r) / delta, gg = (mx - g) / delta, bb = (mx - b) / delta;
            if (r == mx) H = g == mn ? 5 + bb : 1 - gg;
            else if (g == mx) H = b == mn ? 1 + rr : 3 - bb;
            else H = r == mn ? 3 + gg : 5 - rr;
            H /= 6;
        }
        H += hue / 100.0;
        S *= saturation / 100.0;
        L *= value / 100.0;
        H -= std::floor(H);  // into 0..1: a negative H becomes 1 + its fraction
        S = std::clamp(S, 0.0, 1.0);
        L = std::clamp(L, 0.0, 1.0);
        const double m2 = L <= 0.5 ? L * (1 + S) : L + S - L * S;
        if (m2 <= 0) {
            px[0] = px[1] = px[2] = 0;
            return;
        }
        const double m1 = 2 * L - m2;
        const double h6 = 6 * H;
        const int sector = static_cast<int>(h6) % 6;
        const double d = (m2 - m1) * (h6 - std::floor(h6));
        switch (sector) {
            case 0: r = m2, g = m1 + d, b = m1; break;
            case 1: r = m2 - d, g = m2, b = m1; break;
            case 2: r = m1, g = m2, b = m1 + d; break;
            case 3: r = m1, g = m2 - d, b = m2; break;
            case 4: r = m1 + d, g = m1, b = m2; break;
            default: r = m2, g = m1, b = m2 - d; break;
        }
        px[0] = Clamp255(static_cast<long long>(r * 255));
        px[1] = Clamp255(static_cast<long long>(g * 255));
        px[2] = Clamp255(static_cast<long long>(b * 255));
    });
}

// ------------------------------------------------------------ the histogram

void CHist::Count(const CDib& image) {
    *this = CHist();
    if (!Usable(image)) return;
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* p = image.Row(y);
        for (int x = 0; x < image.width; ++x, p += 3) {
            ++blue[p[0]];
            ++green[p[1]];
            ++red[p[2]];
            ++bright[Brightness(p[2], p[1], p[0])];
        }
    }
    for (int i = 0; i < 256; ++i) {
        largestColour = std::max({largestColour, red[i], green[i], blue[i]});
        largestBright = std::max(largestBright, bright[i]);
    }
}

namespace {

constexpr int kDrawingWidth = 300;
constexpr int kFullHeight = 500;
constexpr int kSmallHeight = 170;
constexpr uint8_t kBackground = 0x30;

// A bar of `height` pixels at column x standing on `baseline` (rows from the bottom: the
// storage order of the drawing).
void Bar(CDib& d, int x, int baseline, long long height, const uint8_t bgr[3]) {
    if (x < 0 || x >= d.width) return;
    for (long long y = baseline; y < baseline + height && y < d.height; ++y) {
        uint8_t* p = d.Row(static_cast<int>(y)) + 3 * x;
        p[0] = bgr[0];
        p[1] = bgr[1];
        p[2] = bgr[2];
    }
}

void Start(CDib& d, int height) {
    d.Create(kDrawingWidth, height, 24);
    d.Fill(kBackground, kBackground, kBackground);
}

// The drawing at another scaling: made at 100 % and resized.
void Scale(CDib& d, int percent) {
    if (percent == 100 || percent <= 0) return;
    ResizeRequest request;
    request.useSize = 1;
    request.width = std::max(1, d.width * percent / 100);
    request.height = std::max(1, d.height * percent / 100);
    request.xScale = request.yScale = percent / 100.0;
    ResizeImage(d, request, false, nullptr);
}

}  // namespace

void CHist::DrawFull(int scalingPercent) {
    Start(drawing, kFullHeight);
    const uint8_t redBgr[3] = {0, 0, 255}, greenBgr[3] = {0, 255, 0}, blueBgr[3] = {255, 0, 0};
    const uint8_t white[3] = {255, 255, 255};
    for (int j = 0; j < 256; ++j) {
        if (largestColour > 0) {
            Bar(drawing, j + 22, 20, red[j] * 90LL / largestColour, redBgr);
            Bar(drawing, j + 22, 130, green[j] * 90LL / largestColour, greenBgr);
            Bar(drawing, j + 22, 240, blue[j] * 90LL / largestColour, blueBgr);
        }
        if (largestBright > 0) Bar(drawing, j + 23, 350, bright[j] * 130LL / largestBright, white);
    }
    Scale(drawing, scalingPercent);
}

void CHist::DrawSmall(int scalingPercent) {
    Start(drawing, kSmallHeight);
    const uint8_t white[3] = {255, 255, 255};
    if (largestBright > 0)
        for (int i = 0; i < 256; ++i) Bar(drawing, i + 20, 20, bright[i] * 130LL / largestBright, white);
    Scale(drawing, scalingPercent);
}
