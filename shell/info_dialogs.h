// The reporting dialogs: "LUM File Information" with its colour-count worker, the system
// information box and the about box.
#pragma once

#include <windows.h>

// The file information dialog (opened through OpenFileInformation, which acts on its
// result). Returns 1 (closed), 2 (show the EXIF data) or 3 (show the XMP data).
int ShowFileInformation(HWND owner);
// Command 400: memory, system and drive facts in a message box.
void ShowSystemInformation(HWND owner);
// Command 112.
void ShowAboutBox(HWND owner);
