// The setup commands: the setting toggles, Show/Hide Cursor, the save folder dialog and
// the web site.
#include "shell/command_table.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "base/appstate.h"
#include "base/ids.h"
#include "base/settings.h"
#include "base/text.h"
#include "core/report.h"
#include "platform/host.h"
#include "core/save.h"
#include "settings/config.h"
#include "shell/commands.h"
#include "shell/dialog_common.h"
#include "shell/display.h"
#include "shell/mainwnd.h"
#include "shell/startup.h"
#include "shell/wintext.h"

const WCHAR kWebAddress[] = TEXT("https://lumora.example.org/");
bool cursorVisibleFlag = true;

namespace {

void Toggle(int* flag) { *flag = *flag ? 0 : 1; }

// "Set Up Write Directory" (SavePathDlg): the save folder and where it comes from.
INT_PTR SavePathMessage(HWND dialog, UINT message, WPARAM wParam) {
    constexpr int kRadios[] = {IDC_SAVE_TYPED, IDC_SAVE_LAST_READ, IDC_SAVE_CURRENT};
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextW(dialog, IDC_SAVE_FOLDER, Widen(SaveDir).c_str());
            SendDlgItemMessageW(dialog, IDC_SAVE_FOLDER, EM_LIMITTEXT, 260, 0);
            CheckRadioButton(dialog, IDC_SAVE_TYPED, IDC_SAVE_CURRENT, kRadios[std::clamp(SaveDirType, 0, 2)]);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                int type = SAVEDIR_USER;
                if (IsDlgButtonChecked(dialog, IDC_SAVE_LAST_READ) == BST_CHECKED) type = SAVEDIR_LASTREAD;
                if (IsDlgButtonChecked(dialog, IDC_SAVE_CURRENT) == BST_CHECKED) type = SAVEDIR_CURRENT;
                WCHAR typed[262] = {};
                GetDlgItemTextW(dialog, IDC_SAVE_FOLDER, typed, 262);
                WCHAR current[MAX_PATH] = {};
                const DWORD units = GetCurrentDirectoryW(MAX_PATH, current);
                ApplySaveFolderChoice(type, Narrow(typed), units > 0 && units < MAX_PATH ? Narrow(current) : "");
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK SavePathProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return SavePathMessage(dialog, message, wParam); });
}

}  // namespace

LRESULT OnToggleSetting(HWND, int id) {
    switch (id) {
        case IDM_SAVE_HISTORY: Toggle(&SaveHistory); break;
        case IDM_SAVE_DATE: Toggle(&SaveDate); break;
        case IDM_ALLOW_EXIT_ESC: Toggle(&AllowExitESC); break;
        default: break;
    }
    return 0;
}

LRESULT OnAllowMultiple(HWND, int) {
    if (!instanceLink.isFirst) return 0;
    Toggle(&AllowMultipleInstance);
    instanceLink.SetAllowMultiple(AllowMultipleInstance != 0);
    return 0;
}

LRESULT OnShowHideCursor(HWND, int) {
    cursorVisibleFlag = !cursorVisibleFlag;
    ShowCursorCounted(cursorVisibleFlag);
    return 0;
}

LRESULT OnSaveDirectory(HWND window, int) {
    DialogBoxParamW(AppInstance, TEXT("SavePathDlg"), window, SavePathProc, 0);
    return 0;
}

LRESULT OnWebsite(HWND window, int) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(window, TEXT("open"), kWebAddress, nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        ShowMessage("Connection to the Web failed!", "Viewer", kMbOk | kMbIconWarning);
        MessageBeep(MB_OK);
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
    return 0;
}
