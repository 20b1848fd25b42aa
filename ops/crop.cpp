#include "ops/crop.h"

#include <algorithm>
#include <cstring>

CropRect ClampCropRect(int left, int top, int right, int bottom, int pictureWidth, int pictureHeight) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    left = std::clamp(left, 0, std::max(0, pictureWidth - 1));
    right = std::clamp(right, 0, pictureWidth);
    top = std::clamp(top, 0, std::max(0, pictureHeight - 1));
    bottom = std::clamp(bottom, 0, pictureHeight);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

int CropImage(CDib& image, const CropRect& r, OpProgress progress) {
    if (image.Empty() || r.width < 1 || r.height < 1 || r.left < 0 || r.top < 0 || r.left + r.width > image.width ||
        r.top + r.height > image.height)
        return -1;
    CDib holder;
    const CDib& source = Source24(image, holder);
    CDib cut;
    cut.Create(r.width, r.height, 24);
    // Storage rows count from the bottom: new row i is source row H - bottom + i.
    const int firstRow = source.height - (r.top + r.height);
    TenthsProgress tenths(progress, "Cropping Image:");
    for (int i = 0; i < r.height; ++i) {
        tenths.Step(r.height, i);
        std::memcpy(cut.Row(i), source.Row(firstRow + i) + 3 * static_cast<size_t>(r.left), 3 * static_cast<size_t>(r.width));
    }
    image.Swap(cut);
    image.Touch();
    return 0;
}
