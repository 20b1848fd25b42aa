// "Insert Image": the second picture is chosen and loaded by a first call, swapped in as
// the picture to insert by a second call, and then placed with the mouse.
#pragma once

#include <windows.h>

// The command (Shift+I).
void OnInsertImage(HWND window);
// The size in picture pixels of what is being placed (state 17); false when there is
// nothing to place.
bool PlacementItemSize(int* width, int* height);
// The button went up with the item's top-left corner at client point (x, y): asks
// "Insert image?"; OK pastes the item there, Cancel takes the picture back. Either way
// the placement ends.
void FinishPlacement(HWND window, int x, int y);
// Leaving the program between the two calls: the base picture comes back first, so
// that the question about a changed picture is asked about it and not about the
// picture loaded for insertion.
void BringBackPendingBase();
