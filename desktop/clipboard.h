// The system clipboard: text handed to it by the dialogs that offer "Copy text to
// Clipboard".
#pragma once

#include <windows.h>

// Puts `text` (with its terminator) on the clipboard as CF_UNICODETEXT, owned by `window`.
// 0, also for a null text (nothing happens then); -1 when the memory for it cannot be had
// or the clipboard cannot be opened within half a second.
int CopyTextToClipboard(HWND window, const WCHAR* text);
