// The background colour dialog of PNG files (PNGBACKGROUNDDLG).
#pragma once

#include <windows.h>

// "Enter a Background Colour for PNG Files": the colour alpha is composed onto and
// whether it is used instead of black. Applies from the next PNG load.
void OnPngBackground(HWND window);
