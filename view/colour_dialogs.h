// The colour dialogs, apart from the dialogs: their scroll bars (line 1, page 16, the ends,
// the thumb), the values the bars stand for, the settings kept for the run (monochrome
// level, the gamma curve), and the texts of the histogram and pixel colour dialogs.
#pragma once

#include <string>

#include "base/colour.h"
#include "view/display.h"  // ScrollRequest

// The position a scroll request (ScrollRequest) leads to, kept within low..high.
int ColourScrollPosition(int position, int request, int thumb, int low, int high);

// The offset bars of "Adjust Colours" and "Adjust Brightness" run -127..127 with the top
// at -127: moving a bar up makes its value larger.
constexpr int kOffsetBarLow = -127;
constexpr int kOffsetBarHigh = 127;
inline int OffsetFromBar(int position) { return -position; }

// "Monochrome": the level, kept for the run (initially 128); its bar runs 0..255 and the
// dialog shows 255 - level beside it.
extern int monochromeLevel;

// "Adjust Hue, Saturation and Value": hue -50..50, saturation and value 0..200; typed
// values are kept within them (a text that is no number counts as 0).
constexpr int kHueLow = -50, kHueHigh = 50, kFactorLow = 0, kFactorHigh = 200;
int TypedInRange(const std::string& text, int low, int high);

// "Gamma Correction" and "Manual Gamma Colour Values": power (percent, 0..300), the
// function ('P', 'S', 'T', 's', or 'u' for the user curve), the channels, and the user
// curve's 17 control values for the inputs 0, 16, ..., 256.
struct GammaSettings {
    int power = 100;
    char function = 'P';
    bool red = true, green = true, blue = true;
    int controls[17];
    GammaSettings();
};
extern GammaSettings gammaSettings;
constexpr int kGammaPowerHigh = 300;
// Power, function and control values back to 100, 'P' and the straight line (the
// channels stay).
void ResetGammaCurve();
// The straight line: c[k] = 16 k, c[16] = 255.
void StraightGammaLine(int controls[17]);
// The function the dialog opens checked: the last chosen, 'P' for the user curve.
char GammaDialogFunction();
// The channel mask of the gamma settings (1 blue, 2 green, 4 red).
unsigned GammaChannelMask();
// The user curve's bars: up means larger (position = 255 - value).
inline int ControlFromBar(int position) { return 255 - position; }

// "Colour Histogram": the pixel count and the largest red, green or blue count.
std::string HistogramPixelText(int width, int height);
std::string HistogramLargestText(unsigned largest);

// "Display Pixel RGB Colour Value": "%02X%02X%02X" and the three decimals.
struct PixelColourTexts {
    std::string hex, red, green, blue;
};
PixelColourTexts PixelColourDialogTexts(const RgbColour& colour);
