// The colour dialogs: "Adjust Colours", "Adjust Brightness", "Monochrome", "Adjust Hue,
// Saturation and Value", "Colour Histogram" and "Display Pixel RGB Colour Value".
#pragma once

#include <windows.h>

#include "base/colour.h"

void OnAdjustColours(HWND window);
void OnBrightness(HWND window);
void OnMonochrome(HWND window);
void OnAdjustHsl(HWND window);
void OnHistogram(HWND window);
// Shows the colour "Get Pixel Colour" took; the click state is back to none after it.
void ShowPixelColour(HWND window, const RgbColour& colour);
