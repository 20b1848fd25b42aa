// The animation dialogs and the commands around them: settings ("Animation Control",
// GIFANIMATIONDLG), GIF background colour (GIFBACKGROUNDDLG), the builder
// (CREATEGIFANIMDLG) and the decomposer (DECOMPOSEDLG).
#pragma once

#include <windows.h>

// "Setup GIF Animation": speed, animation on/off, frame numbers. Turning animation on or
// off reloads a GIF on the screen so that it shows all its frames or only the first.
void OnAnimationSetup(HWND window);
// "Enter a Background Colour for GIF Files".
void OnGifBackground(HWND window);
// "Build an Animated GIF or MPEG File": the "Create GIF Animation" dialog, then the
// build from the current folder's pictures.
void OnBuildAnimation(HWND window);
// "Decompose Animation": the "Decompose Animation Frames" dialog, then every frame
// written as a numbered file.
void OnDecompose(HWND window);
