// The colour dialogs: "Adjust Colours", "Adjust Brightness", "Monochrome", "Adjust Hue,
// Saturation and Value", "Gamma Correction" with "Manual Gamma Colour Values", "Colour
// Histogram" and "Display Pixel RGB Colour Value".
#pragma once

#include <windows.h>

#include "base/colour.h"

void OnAdjustColours(HWND window);
void OnBrightness(HWND window);
void OnMonochrome(HWND window);
void OnAdjustHsl(HWND window);
void OnHistogram(HWND window);
// "Gamma Correction", and "Manual Gamma Colour Values" after its "User Defined".
void OnGamma(HWND window);
// Shows the colour "Get Pixel Colour" took; the click state is back to none after it.
void ShowPixelColour(HWND window, const RgbColour& colour);
