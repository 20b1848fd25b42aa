// Small pieces every dialog procedure of the program shares.
#pragma once

#include <windows.h>

#include <string>

#include "shell/mainwnd.h"
#include "shell/wintext.h"

// The state of a check box or radio button, and setting it.
inline bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline void Check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }
// A control's text as UTF-8, and the text of at most `units` UTF-16 units it holds.
inline void SetText(HWND dialog, int id, const std::string& text) { SetDlgItemTextW(dialog, id, Widen(text).c_str()); }
inline std::string ItemText(HWND dialog, int id, int units) {
    std::basic_string<WCHAR> buffer(static_cast<size_t>(units) + 1, 0);
    const UINT length = GetDlgItemTextW(dialog, id, &buffer[0], units + 1);
    return Narrow(buffer.c_str(), static_cast<int>(length));
}

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
