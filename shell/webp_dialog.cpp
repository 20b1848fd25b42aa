#include "shell/webp_dialog.h"

#include "base/ids.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "shell/wintext.h"
#include "view/webp_dialog.h"

namespace {

// The quality field takes a few characters; more would never be a quality.
constexpr int kQualityUnits = 8;

INT_PTR WebpMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const WebpDialogValues values = OpenWebpDialog();
            SendDlgItemMessageW(dialog, IDC_WEBP_QUALITY, EM_LIMITTEXT, kQualityUnits, 0);
            SetDlgItemTextW(dialog, IDC_WEBP_QUALITY, Widen(values.quality).c_str());
            CheckDlgButton(dialog, IDC_WEBP_LOSSLESS, values.lossless ? BST_CHECKED : BST_UNCHECKED);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                WebpDialogValues typed;
                typed.quality = DialogItemText(dialog, IDC_WEBP_QUALITY);
                typed.lossless = IsDlgButtonChecked(dialog, IDC_WEBP_LOSSLESS) == BST_CHECKED;
                ApplyWebpDialog(typed);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK WebpProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return WebpMessage(dialog, message, wParam); });
}

}  // namespace

bool AskWebpInformation(HWND owner) {
    return DialogBoxParamW(AppInstance, TEXT("WEBPQualityDlg"), owner, WebpProc, 0) == IDOK;
}
