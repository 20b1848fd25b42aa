// The crop tool on the main window: a press draws a crosshair through the picture point,
// a drag shows the selected area inverted with its size in the title, the release asks
// "Crop Image" (crop, don't crop, move or resize the selection first); the selection can
// then be moved and resized by its nine zones until a double click brings the question
// back. The same selection serves the lossless JPEG crop into another file.
#pragma once

#include <windows.h>

// --- a selection being dragged ---
void StartCropSelection(HWND window, int x, int y);
void DragCropSelection(HWND window, int x, int y);
// The button went up: a selection of 5 window pixels or more either way is offered for
// cropping; a smaller one is taken for a click.
void EndCropSelection(HWND window, int x, int y);

// --- moving or resizing the selection (EditState EDIT_MOVE_SELECTION) ---
bool CropSelectionMoving();
// A press picks the zone under the pointer; moves drag it; the release keeps the mode.
void PressOnCropSelection(HWND window, int x, int y);
// A move without the button shows the zone's cursor; with it, drags the zone.
void MoveOverCropSelection(HWND window, int x, int y);
void ReleaseCropSelection(HWND window);
// A double click ends moving and asks "Crop Image" again.
void FinishMovingCropSelection(HWND window);

// True while the "Crop Image" question is open: the mouse on the main window does nothing.
bool CropQuestionOpen();

// Escape, Enter, a lost capture: the selection goes, the picture shows as it is.
void CancelCropSelection(HWND window);

// The marks are drawn by inverting screen pixels: taken off before a paint, drawn again
// after it (dropped when the paint showed another picture).
void HideCropMarksForPaint(HWND window);
void ShowCropMarksAfterPaint(HWND window);
