#include "shell/background_dialogs.h"

#include <string>

#include "base/ids.h"
#include "shell/dialog_common.h"
#include "shell/wintext.h"
#include "view/background_dialog.h"

namespace {

// The box keeps 9 characters, as many as its OK reads.
constexpr int kColourUnits = 9;

INT_PTR BackgroundMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // The kind comes with WM_INITDIALOG and stays with the dialog.
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    const auto kind = static_cast<BackgroundKind>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            const BackgroundDialogValues values = OpenBackgroundDialog(kind);
            SetDlgItemTextW(dialog, IDC_BACKGROUND_COLOUR, Widen(values.colour).c_str());
            SendDlgItemMessageW(dialog, IDC_BACKGROUND_COLOUR, EM_LIMITTEXT, kColourUnits, 0);
            CheckDlgButton(dialog, IDC_BACKGROUND_USE, values.use ? BST_CHECKED : BST_UNCHECKED);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                WCHAR buffer[kColourUnits + 1] = {};
                const UINT length = GetDlgItemTextW(dialog, IDC_BACKGROUND_COLOUR, buffer, kColourUnits + 1);
                BackgroundDialogValues values;
                values.colour = Narrow(buffer, static_cast<int>(length));
                values.use = IsDlgButtonChecked(dialog, IDC_BACKGROUND_USE) == BST_CHECKED;
                if (!ApplyBackgroundDialog(kind, values)) {
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

INT_PTR CALLBACK BackgroundProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return BackgroundMessage(dialog, message, wParam, lParam); });
}

}  // namespace

void OnPngBackground(HWND window) {
    DialogBoxParamW(AppInstance, TEXT("PNGBACKGROUNDDLG"), window, BackgroundProc,
                    static_cast<LPARAM>(BackgroundKind::Png));
}

void OnWebpBackground(HWND window) {
    DialogBoxParamW(AppInstance, TEXT("WEBPBACKGROUNDDLG"), window, BackgroundProc,
                    static_cast<LPARAM>(BackgroundKind::Webp));
}
