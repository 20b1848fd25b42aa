// The mouse on the main window: what a button or a move means depends on the click state
// (EditState): panning, picking a colour from the picture, placing an inserted picture,
// or the crop tool (shell/crop_tool.h).
#pragma once

#include <windows.h>

#include "view/display.h"
#include "base/settings.h"


// What the last colour pick took: its colour and its picture point.
extern RgbColour pickedColour;
// "Get Pixel Colour" took a colour: its command shows it next instead of picking again.
extern bool pixelColourPicked;
extern DisplayPoint pickedPoint;

void OnMouseMove(HWND window, int x, int y);
void OnLeftButtonDown(HWND window, WPARAM keys, int x, int y);
void OnLeftButtonUp(HWND window, int x, int y);
// Left or right double click.
void OnDoubleClick(HWND window);
void OnRightButtonDown(HWND window, int x, int y);
void OnMiddleButtonDown(HWND window, int x, int y);
void OnMiddleButtonUp(HWND window);
// WM_CAPTURECHANGED: another window took the mouse; a gesture under way ends.
void OnCaptureChanged(HWND window, HWND newOwner);

// The outline being dragged is drawn by inverting pixels: it is taken off the screen
// before a repaint and drawn again after it, so that it never ends up inverted twice.
// Enter and Escape end a selection being made or moved (and its marks), and a lossless or
// icon selection asked for.
void EndMouseGesture(HWND window);
void HideOutlineForPaint(HWND window);
void ShowOutlineAfterPaint(HWND window);
