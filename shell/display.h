// The Win32 side of the display: painting with one StretchDIBits, placing the window, the
// mode commands, scroll bars and the wheel zoom. The arithmetic is core/display.h's.
#pragma once

#include <windows.h>

#include "view/display.h"

// WM_PAINT.
void OnPaint(HWND window);
// Draws the current picture now in the current mode (after a load or an edit).
void RedrawImage();
// After the picture changed size: lays the window out again for the current mode.
void ApplyDisplayMode();
// Sizes and positions the window for the current display size.
void PlaceWindow();
// The View commands (mode changes, fixed window, wheel rate); false for other ids.
bool OnDisplayCommand(HWND window, int id);
// The picture size the mode commands scale: remembered after each successful load.
void RememberPictureSize();

void OnSize(HWND window, WPARAM kind, int width, int height);
void OnMove(HWND window);
void OnScroll(HWND window, int bar, WPARAM request);
void OnGetMinMaxInfo(MINMAXINFO* info);
// Wheel and clicks: true when the wheel zoom took them.
bool OnWheel(HWND window, int delta, int screenX, int screenY);
bool OnZoomClick(HWND window, int x, int y, bool zoomIn);
// What the point mapping needs to know about the window and the mode right now.
PointMapping CurrentPointMapping(HWND window);
// The picture pixel under a client point in the current mode (clamped to the picture).
DisplayPoint PictureAtClientPoint(HWND window, int x, int y);
// Moves a scroll bar to `position` (kept within its range) and scrolls the picture with it.
void ScrollBarTo(HWND window, int bar, int position);
// The scroll ranges of the current display size measured against the work area.
void SetScrollRangesForWorkArea(HWND window);
