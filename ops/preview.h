// The preview the operation dialogs show: a reduced 24-bit copy of the current picture
// in a box of 220 x 177 pixels (scaled by WindowsScaling), to which a dialog applies its
// operation until OK; and the title text shown while a colour is picked from the picture.
#pragma once

#include <string>

#include "core/dib.h"
#include "base/settings.h"

constexpr int kPreviewBoxWidth = 220;
constexpr int kPreviewBoxHeight = 177;

struct PreviewSize {
    int width = 0;
    int height = 0;
};

// The box for a WindowsScaling of `scaling` percent: 220 x 177, or 220 x s / 100 by
// 177 x s / 100 when s is not 100; never below 1 pixel either way.
PreviewSize PreviewBoxSize(int scaling);
// The copy's size: the picture times k = min(box width / picture width, box height /
// picture height), truncated; at least 1 and at most 65535 pixels either way.
PreviewSize PreviewImageSize(int pictureWidth, int pictureHeight, PreviewSize box);

class CPreview {
public:
    CDib image;  // the reduced copy
    PreviewSize box;

    CPreview() = default;
    CPreview(const CPreview&) = delete;
    CPreview& operator=(const CPreview&) = delete;
    virtual ~CPreview() = default;

    // Builds the copy of `picture` for the current WindowsScaling: filled white, then every
    // pixel (x, y) (storage rows) taken from the picture's pixel (x x W / w, y x H / h),
    // integer division. Returns 0, or -1 for an empty picture. Throws kDibAllocFailure.
    int Build(const CDib& picture);
    // Inverts the bytes of the rows and columns at one, two and three quarters of the
    // copy's height and width. Each line is inverted once, so where two cross the pixel is
    // inverted twice and shows unchanged.
    void DrawGuideLines();
    // Where the copy is drawn for a box the dialog places at (boxX, boxY): that position
    // (scaled by WindowsScaling when it is not 100) plus the centring offset.
    void DrawOrigin(int boxX, int boxY, int* x, int* y) const;
    void Free() { image.Free(); }
};

// "Colour <%02X,%02X,%02X> at %d, %d" (red, green, blue, x, y) for picture point (x, y),
// counted from the top-left; empty when the point lies outside the picture.
std::string ColourPickTitle(const CDib& picture, int x, int y);
// The colour at picture point (x, y) from the top-left; false outside the picture.
bool PictureColourAt(const CDib& picture, int x, int y, RgbColour* colour);
