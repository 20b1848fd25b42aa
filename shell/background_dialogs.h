// The background colour dialogs of PNG and WebP files (PNGBACKGROUNDDLG, WEBPBACKGROUNDDLG).
#pragma once

#include <windows.h>

// "Enter a Background Colour for PNG Files": the colour alpha is composed onto and
// whether it is used instead of black. Applies from the next PNG load.
void OnPngBackground(HWND window);
// "Enter a Background Colour for WEBP Files": the colour fully transparent pixels take
// and whether it is used instead of white. Applies from the next WebP load.
void OnWebpBackground(HWND window);
