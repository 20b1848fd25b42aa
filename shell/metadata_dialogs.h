// The picture's metadata on the screen: the EXIF dialog with the EXIF block's thumbnail,
// the XMP dialog, the comment editor, and the file information dialog together with the
// dialog its EXIF or XMP button asks for.
#pragma once

#include <windows.h>

// "LUM JPEG Exif File Information": the file's lines and the EXIF text, the thumbnail.
void ShowExifDialog(HWND owner);
// "LUM JPEG XMP Information": the XMP packet as text.
void ShowXmpDialog(HWND owner);
// Command 1800 and the right click: the file information dialog, then the EXIF or XMP
// dialog when it was closed with one of those buttons.
void OpenFileInformation(HWND owner);
