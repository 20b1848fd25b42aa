// Text rendered into a picture through GDI: used by text insertion, printing and sheets.
#pragma once

#include <windows.h>

#include "core/dib.h"

// Draws `text` centred horizontally in `rect` (top-down picture coordinates) into `dib`
// with the given colours, font (null: the device context's own) and background mode
// (TRANSPARENT or OPAQUE). `dc` is the device the drawing is made compatible with (null:
// the screen). 0, or -1 when nothing was drawn.
int DibDrawText(CDib& dib, HDC dc, const RECT& rect, COLORREF textColour, COLORREF backColour, const LOGFONTW* font,
                int backMode, const WCHAR* text);
