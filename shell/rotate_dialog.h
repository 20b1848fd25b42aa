// "Rotate Variable Angle": the dialog with its rotated preview, and what its answer leads to.
#pragma once

#include <windows.h>

// The command (Shift+R): OK rotates the picture, "Get Colour" starts picking the
// background colour from the picture (the click reopens the dialog), Cancel ends.
void OnRotateVariableAngle(HWND window);
