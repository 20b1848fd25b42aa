// Point operations on 24-bit pictures (each output pixel depends on the same input pixel
// only): negative, greyscale, channel swaps and rotation, monochrome threshold, channel
// offsets, lookup tables with contrast and the automatic contrast stretch, gamma curves,
// hue/saturation/lightness; and the colour histogram with its drawings. Each returns 0,
// or -1 for a picture that is not 24 bits (left as it was).
#pragma once

#include <cstdint>

#include "core/dib.h"

// Brightness of a pixel: (R x 299 + G x 587 + B x 114) / 1000.
inline int Brightness(int red, int green, int blue) { return (red * 299 + green * 587 + blue * 114) / 1000; }

int NegativeImage(CDib& image);   // every channel v -> 255 - v
int GreyscaleImage(CDib& image);  // R = G = B = brightness

// The channel operations, by the codes that name them in menus and batch runs.
enum ChannelOperation {
    SWAP_RED_BLUE = 45,
    SWAP_RED_GREEN = 46,
    SWAP_GREEN_BLUE = 47,
    ROTATE_COLOURS = 48,  // new R = old G, new G = old B, new B = old R
};
// -1 also for a code that names no channel operation.
int SwapChannels(CDib& image, int operation);

// (R + G + B) / 3 above `level`: white, else black.
int MonochromeImage(CDib& image, int level);
// Adds the offsets to the channels, clamped to 0..255.
int AdjustRgb(CDib& image, int dr, int dg, int db);

// t[i] = trunc((i - low) x factor) (a value within 1e-9 of a whole number counts as it),
// 256 or more -> 255, negative -> 0.
void LookupTable(double factor, int low, uint8_t table[256]);
// Every channel v -> t[v]; only the channels enabled (blue, green, red order: `mask` bits
// 1 = blue, 2 = green, 4 = red) when a mask is given.
int ApplyTable(CDib& image, const uint8_t table[256], unsigned mask = 7);
int ApplyLookup(CDib& image, double factor, int low);
// Contrast k: ApplyLookup(e^(k / 80), 0).
int ContrastImage(CDib& image, int k);
// Stretches the brightness range between its 0.5 % ends over 0..255: low is the first
// value whose cumulative count exceeds total / 200, high the last from the top whose
// cumulative count stays below total - total / 200; then ApplyLookup(255 / (high - low),
// low). When high <= low (a uniform picture) the picture is left as it is.
int AutoContrast(CDib& image);

// The gamma curves: 'P' power, 'S' sine, 'T' tangent, 's' the second sine, 'u' the user
// curve through 17 control values at the inputs 0, 16, ..., 256.
constexpr int kGammaControls = 17;
void GammaTable(char function, int powerPercent, const int controls[kGammaControls], uint8_t table[256]);

// Hue shift (percent of the circle), saturation and lightness factors (percent), in the
// floating-point model that reads the bytes divided by 256 and writes them times 255.
int AdjustHsl(CDib& image, int hue, int saturation, int value);

// The colour histogram of a picture and its drawings.
struct CHist {
    uint32_t red[256] = {}, green[256] = {}, blue[256] = {}, bright[256] = {};
    uint32_t largestColour = 0;  // the largest red, green or blue count
    uint32_t largestBright = 0;
    CDib drawing;

    void Count(const CDib& image);
    // The full drawing: 300 wide, 500 high (both x scaling / 100): red, green and blue
    // graphs on baselines 20, 130 and 240 from the bottom and brightness on 350, over dark
    // grey. Throws kDibAllocFailure when the drawing cannot be held.
    void DrawFull(int scalingPercent = 100);
    // The small drawing of brightness alone: 300 x 170 (scaled), baseline 20.
    void DrawSmall(int scalingPercent = 100);
};
