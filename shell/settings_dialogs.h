// The colour-depth dialog of "Reduce Colour Depth" and the "Preferences" dialog.
#pragma once

#include <windows.h>

// "Enter Required Bits Per Pixel": on OK saveDepth takes the snapped number and
// ditherMethod the checked method. True when confirmed.
bool AskColourDepth(HWND owner);
// "Preferences": every control filled from the settings; OK stores them all, Cancel
// changes nothing. Nothing is written to LUM.INI before the program closes.
void ShowPreferences(HWND owner);
