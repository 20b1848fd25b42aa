#include "ops/flip.h"

#include <algorithm>


namespace {

const char* const kRotatingLabel = "Rotating Image:";

void MirrorRow(uint8_t* row, int width, int bytesPerPixel) {
    uint8_t* l = row;
    uint8_t* r = row + static_cast<size_t>(width - 1) * bytesPerPixel;
    if (bytesPerPixel == 3) {
        for (; l < r; l += 3, r -= 3) {
            std::swap(l[0], r[0]);
            std::swap(l[1], r[1]);
            std::swap(l[2], r[2]);
        }
        return;
    }
    for (; l < r; l += bytesPerPixel, r -= bytesPerPixel) std::swap_ranges(l, l + bytesPerPixel, r);
}

// Destination rows the transposition fills together. It walks down the source reading a
// run of this many pixels from each row and appends one pixel to each of these rows, so
// the writes run front to back and the source lines read stay cached for the next run.
constexpr int kTile = 16;

// out (x = j, y = i) = src (x = i, y = j) for every pixel, with the destination rows
// (mirrorRows) or columns (mirrorColumns) taken in reverse: the transposition and the two
// quarter turns it composes with a mirror.
void TransposeInto(const CDib& src, CDib& out, bool mirrorRows, bool mirrorColumns, OpProgress progress) {
    const int W = src.width, H = src.height;  // out is H x W
    TenthsProgress report(progress, kRotatingLabel);
    uint8_t* rows[kTile];
    for (int i0 = 0; i0 < W; i0 += kTile) {
        report.Step(W, i0);
        const int n = std::min(kTile, W - i0);
        for (int k = 0; k < n; ++k) rows[k] = out.Row(mirrorRows ? W - 1 - (i0 + k) : i0 + k);
        for (int j = 0; j < H; ++j) {
            const uint8_t* s = src.Row(j) + static_cast<size_t>(i0) * 3;
            const size_t column = static_cast<size_t>(mirrorColumns ? H - 1 - j : j) * 3;
            for (int k = 0; k < n; ++k, s += 3) {
                uint8_t* d = rows[k] + column;
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        }
    }
}

void TurnQuarter(CDib& image, bool mirrorRows, bool mirrorColumns, OpProgress progress) {
    if (image.Empty()) return;
    CDib holder;
    const CDib& src = Source24(image, holder);
    CDib out;
    out.Create(src.height, src.width, 24);
    TransposeInto(src, out, mirrorRows, mirrorColumns, progress);
    image.Swap(out);
}

}  // namespace

int FlipHorizontal(CDib& image) {
    if (image.Empty()) return 0;
    if (image.bitsPerPixel < 8) {
        try {
            CDib holder;
            Source24(image, holder);
            image.Swap(holder);
        } catch (const char*) {
            return -1;
        }
    }
    const int bytesPerPixel = image.bitsPerPixel / 8;
    for (int y = 0; y < image.height; ++y) MirrorRow(image.Row(y), image.width, bytesPerPixel);
    image.Touch();
    return 0;
}

int FlipVertical(CDib& image) {
    image.FlipRows();
    return 0;
}

void TransposeDib(CDib& image, OpProgress progress) { TurnQuarter(image, false, false, progress); }
void Rotate90Dib(CDib& image, OpProgress progress) { TurnQuarter(image, true, false, progress); }
void Rotate270Dib(CDib& image, OpProgress progress) { TurnQuarter(image, false, true, progress); }

void Rotate180Dib(CDib& image) {
    if (image.Empty()) return;
    if (image.bitsPerPixel != 24) {
        CDib holder;
        Source24(image, holder);
        image.Swap(holder);
    }
    // Row i and row height - 1 - i exchange places, each mirrored; an odd middle row is
    // only mirrored.
    const int W = image.width;
    for (int i = 0, j = image.height - 1; i <= j; ++i, --j) {
        uint8_t* a = image.Row(i);
        uint8_t* b = image.Row(j);
        if (i == j) {
            MirrorRow(a, W, 3);
            break;
        }
        uint8_t* bEnd = b + static_cast<size_t>(W - 1) * 3;
        for (int x = 0; x < W; ++x, a += 3, bEnd -= 3) {
            std::swap(a[0], bEnd[0]);
            std::swap(a[1], bEnd[1]);
            std::swap(a[2], bEnd[2]);
        }
    }
    image.Touch();
}
