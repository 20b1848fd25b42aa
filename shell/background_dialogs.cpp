#include "shell/background_dialogs.h"

#include <string>

#include "base/ids.h"
#include "shell/dialog_common.h"
#include "shell/wintext.h"
#include "view/background_dialog.h"

namespace {

// The box keeps 9 characters, as many as its OK reads.
constexpr int kColourUnits = 9;

INT_PTR PngBackgroundMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const BackgroundDialogValues values = OpenPngBackgroundDialog();
            SetDlgItemTextW(dialog, IDC_PNGBG_COLOUR, Widen(values.colour).c_str());
            SendDlgItemMessageW(dialog, IDC_PNGBG_COLOUR, EM_LIMITTEXT, kColourUnits, 0);
            CheckDlgButton(dialog, IDC_PNGBG_USE, values.use ? BST_CHECKED : BST_UNCHECKED);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                WCHAR buffer[kColourUnits + 1] = {};
                const UINT length = GetDlgItemTextW(dialog, IDC_PNGBG_COLOUR, buffer, kColourUnits + 1);
                BackgroundDialogValues values;
                values.colour = Narrow(buffer, static_cast<int>(length));
                values.use = IsDlgButtonChecked(dialog, IDC_PNGBG_USE) == BST_CHECKED;
                if (!ApplyPngBackgroundDialog(values)) {
                    MessageBoxW(dialog, TEXT("Enter the colour as six hex digits RRGGBB, for example FF8000."),
                                TEXT("Viewer"), MB_OK | MB_ICONWARNING);
                    return TRUE;
                }
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK PngBackgroundProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return PngBackgroundMessage(dialog, message, wParam); });
}

}  // namespace

void OnPngBackground(HWND window) {
    DialogBoxParamW(AppInstance, TEXT("PNGBACKGROUNDDLG"), window, PngBackgroundProc, 0);
}
