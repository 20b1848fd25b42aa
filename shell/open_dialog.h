// The Open dialog and the texts of its failures.
#pragma once

#include <windows.h>

// Shows the Open dialog for `pathBuffer` (MAX_PATH characters; its text is the initial
// file name). 0 with the chosen path in the buffer, or -1 after reporting (cancel reports nothing).
// The dialog has no title of its own: the system gives its "Open".
int ChooseFileToOpen(HWND owner, WCHAR* pathBuffer);
// Reports a common-dialog extended error code; cancel (0) and unknown codes report nothing.
void ReportOpenDialogError(DWORD code);
