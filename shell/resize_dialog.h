// "Re&size": the "Resize Image" dialog (RESIZEDLG) and the command around it.
#pragma once

#include <windows.h>

// Shows the dialog; on OK resizes the current picture with the request it made and lays
// the window out for the new size. Cancel changes nothing.
void OnResizeCommand(HWND window);
