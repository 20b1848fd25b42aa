// "Enter JPEG Information": the quality, EXIF, date and comment choices asked before a
// picture is saved as JPEG.
#pragma once

#include <windows.h>

// Shows the dialog; OK stores its choices (view/jpeg_dialog.h) and gives true, Cancel
// changes nothing and gives false.
bool AskJpegInformation(HWND owner);
