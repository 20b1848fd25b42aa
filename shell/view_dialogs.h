// The two small dialogs of the View setup: the fixed window's size and the wheel zoom rate.
#pragma once

#include <windows.h>

// "Fixed Size of Image": shows the box, OK stores both sizes. True when confirmed.
bool AskFixedWindowSize(HWND owner, int* width, int* height);
// "Setup Zoom Rate": OK stores the typed rate when it is above 1 and up to 2, else 1.2.
bool AskWheelRate(HWND owner, double* rate);
