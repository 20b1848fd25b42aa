#include "ops/preview.h"

#include <algorithm>
#include <memory>
#include <new>

#include "base/text.h"
#include "ops/op_support.h"

namespace {

int ClampSide(long long v) { return static_cast<int>(std::min<long long>(std::max<long long>(v, 1), kMaxDibSide)); }

int ScaleByWindowsScaling(int v, int scaling) {
    return scaling == 100 ? v : static_cast<int>(static_cast<long long>(v) * scaling / 100);
}

void InvertPixel(uint8_t* p) {
    p[0] = static_cast<uint8_t>(~p[0]);
    p[1] = static_cast<uint8_t>(~p[1]);
    p[2] = static_cast<uint8_t>(~p[2]);
}

}  // namespace

PreviewSize PreviewBoxSize(int scaling) {
    PreviewSize box;
    box.width = ClampSide(ScaleByWindowsScaling(kPreviewBoxWidth, scaling));
    box.height = ClampSide(ScaleByWindowsScaling(kPreviewBoxHeight, scaling));
    return box;
}

PreviewSize PreviewImageSize(int W, int H, PreviewSize box) {
    PreviewSize size;
    if (W <= 0 || H <= 0) return size;
    const double k = std::min(static_cast<double>(box.width) / W, static_cast<double>(box.height) / H);
    // A very thin picture would otherwise shrink to no rows or columns at all.
    size.width = ClampSide(TruncNear(W * k));
    size.height = ClampSide(TruncNear(H * k));
    return size;
}

int CPreview::Build(const CDib& picture) {
    if (picture.Empty()) return -1;
    CDib holder;
    const CDib& src = Source24(picture, holder);
    box = PreviewBoxSize(WindowsScaling);
    const PreviewSize size = PreviewImageSize(src.width, src.height, box);
    const int W = src.width, H = src.height, w = size.width, h = size.height;
    image.Create(w, h, 24);
    image.FillRGB(0xFFFFFF);
    std::unique_ptr<uint32_t[]> columns(new (std::nothrow) uint32_t[w]);
    if (!columns) throw kDibAllocFailure;
    for (int x = 0; x < w; ++x) columns[x] = static_cast<uint32_t>(static_cast<uint64_t>(x) * W / w * 3);
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = src.Row(static_cast<int>(static_cast<uint64_t>(y) * H / h));
        uint8_t* d = image.Row(y);
        for (int x = 0; x < w; ++x, d += 3) {
            const uint8_t* p = s + columns[x];
            d[0] = p[0];
            d[1] = p[1];
            d[2] = p[2];
        }
    }
    return 0;
}

void CPreview::DrawGuideLines() {
    if (image.Empty()) return;
    const int w = image.width, h = image.height;
    for (int q = 1; q <= 3; ++q) {
        uint8_t* row = image.Row(q * h / 4);
        for (int x = 0; x < w; ++x) InvertPixel(row + 3 * x);
    }
    for (int q = 1; q <= 3; ++q) {
        const size_t column = static_cast<size_t>(q * w / 4) * 3;
        for (int y = 0; y < h; ++y) InvertPixel(image.Row(y) + column);
    }
    image.Touch();
}

void CPreview::DrawOrigin(int boxX, int boxY, int* x, int* y) const {
    *x = ScaleByWindowsScaling(boxX, WindowsScaling) + (box.width - image.width) / 2;
    *y = ScaleByWindowsScaling(boxY, WindowsScaling) + (box.height - image.height) / 2;
}

bool PictureColourAt(const CDib& picture, int x, int y, RgbColour* colour) {
    if (picture.Empty() || picture.bitsPerPixel != 24) return false;
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return false;
    const uint8_t* p = picture.Row(picture.height - 1 - y) + static_cast<size_t>(x) * 3;
    colour->blue = p[0];
    colour->green = p[1];
    colour->red = p[2];
    return true;
}

std::string ColourPickTitle(const CDib& picture, int x, int y) {
    RgbColour c;
    if (!PictureColourAt(picture, x, y, &c)) return std::string();
    return FormatText("Colour <%02X,%02X,%02X> at %d, %d", c.red, c.green, c.blue, x, y);
}
