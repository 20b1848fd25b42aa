// The animation settings ("Animation Control", GIFANIMATIONDLG) and the GIF background
// colour (GIFBACKGROUNDDLG) dialogs and the commands around them.
#pragma once

#include <windows.h>

// "Setup GIF Animation": speed, animation on/off, frame numbers. Turning animation on or
// off reloads a GIF on the screen so that it shows all its frames or only the first.
void OnAnimationSetup(HWND window);
// "Enter a Background Colour for GIF Files".
void OnGifBackground(HWND window);
