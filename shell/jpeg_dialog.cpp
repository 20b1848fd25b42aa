#include "shell/jpeg_dialog.h"

#include <string>

#include "base/ids.h"
#include "base/text.h"
#include "view/jpeg_dialog.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "shell/wintext.h"

namespace {

// The quality field takes a few digits; more would never be a quality.
constexpr int kQualityUnits = 8;


INT_PTR JpegMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto* values = reinterpret_cast<const JpegDialogValues*>(lParam);
            SendDlgItemMessageW(dialog, IDC_JPEG_QUALITY, EM_LIMITTEXT, kQualityUnits, 0);
            SendDlgItemMessageW(dialog, IDC_JPEG_COMMENT, EM_LIMITTEXT, kCommentBytes, 0);
            SetDlgItemTextW(dialog, IDC_JPEG_QUALITY, Widen(values->quality).c_str());
            Check(dialog, IDC_JPEG_SAVE_EXIF, values->saveExif);
            Check(dialog, IDC_JPEG_SAVE_DATE, values->saveDate);
            Check(dialog, IDC_JPEG_DELETE_COMMENT, values->deleteComment);
            SetDlgItemTextW(dialog, IDC_JPEG_COMMENT, Widen(CutToUtf16Units(values->comment, kCommentBytes)).c_str());
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                JpegDialogValues typed;
                typed.quality = DialogItemText(dialog, IDC_JPEG_QUALITY);
                typed.saveExif = Checked(dialog, IDC_JPEG_SAVE_EXIF);
                typed.saveDate = Checked(dialog, IDC_JPEG_SAVE_DATE);
                typed.deleteComment = Checked(dialog, IDC_JPEG_DELETE_COMMENT);
                typed.comment = DialogItemText(dialog, IDC_JPEG_COMMENT);
                ApplyJpegDialog(typed);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK JpegProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return JpegMessage(dialog, message, wParam, lParam); });
}

}  // namespace

bool AskJpegInformation(HWND owner) {
    JpegDialogValues values = OpenJpegDialog();
    return DialogBoxParamW(AppInstance, TEXT("JPEGQualityDlg"), owner, JpegProc, reinterpret_cast<LPARAM>(&values)) ==
           IDOK;
}
