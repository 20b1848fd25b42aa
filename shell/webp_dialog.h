// "Enter WebP Information": the quality and the lossless choice asked before a picture is
// saved as WebP.
#pragma once

#include <windows.h>

// Shows the dialog; OK stores its choices (view/webp_dialog.h) and gives true, Cancel
// changes nothing and gives false.
bool AskWebpInformation(HWND owner);
