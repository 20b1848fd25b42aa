// Small pieces every dialog procedure of the program shares.
#pragma once

#include <windows.h>

#include "shell/mainwnd.h"

// Runs a dialog's message handler so that no exception escapes into the dialog manager
// (it would end the process): the text of one is shown instead.
template <typename Handler>
INT_PTR Guarded(Handler handler) {
    try {
        return handler();
    } catch (const char* text) {
        ShowEscapedException(text);
    } catch (...) {
        ShowUnknownException();
    }
    return FALSE;
}

// Cancel closes the dialog without storing anything; TRUE when the command was Cancel.
inline INT_PTR CloseOnCancel(HWND dialog, WPARAM wParam) {
    if (LOWORD(wParam) != IDCANCEL) return FALSE;
    EndDialog(dialog, IDCANCEL);
    return TRUE;
}

// OK and Cancel close a dialog whose caller acts on the answer; TRUE when it was either.
inline INT_PTR CloseOnOkOrCancel(HWND dialog, WPARAM wParam) {
    if (LOWORD(wParam) != IDOK) return CloseOnCancel(dialog, wParam);
    EndDialog(dialog, IDOK);
    return TRUE;
}
