// The test requests the end-to-end tests make of the program through WM_COPYDATA.
#pragma once

#include <windows.h>

// Test requests carried by WM_COPYDATA (dwData, numbered in base/ids.h). The end-to-end
// tests use them for what another process cannot do directly. The program answers them
// only when LUMORA_TEST_REQUESTS=1 is in its environment at start; otherwise each request
// returns FALSE and does nothing.
//   LUM_REQUEST_DROP_FILES    a file drop needs an HDROP of this process, so the program
//                             builds one from the names (UTF-16, each NUL-terminated, a
//                             final NUL) and posts itself WM_DROPFILES, which runs the real
//                             DragQueryFileW path
//   LUM_REQUEST_MARK_CHANGED  the picture counts as changed
//   LUM_REQUEST_MAP_POINT     two int32, a client point; the answer is 1 + x + 65536 * y of
//                             the picture pixel under it
//   LUM_REQUEST_DUMP_MENU     a file name (UTF-16, NUL-terminated); the menu is prepared as
//                             for showing and written there, one line per item: "DEPTH ID
//                             TEXT", " grey" and " checked" appended; separators "DEPTH sep"

// Reads LUMORA_TEST_REQUESTS from the Windows environment (a winelib program's C library
// sees only the Unix one): once, when the main window is created.
void EnableTestRequestsIfAsked();
// WM_COPYDATA: the request's answer; FALSE, doing nothing, unless the tests enabled them.
LRESULT OnTestRequest(HWND window, const COPYDATASTRUCT* data);
