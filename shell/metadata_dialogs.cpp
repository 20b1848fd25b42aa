// The picture's metadata on the screen: the comment editor (command 1125).

#include <string>

#include "base/ids.h"
#include "base/text.h"
#include "core/current_image.h"
#include "view/jpeg_dialog.h"
#include "shell/command_table.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "shell/wintext.h"

namespace {

INT_PTR CommentMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageW(dialog, IDC_COMMENT_TEXT, EM_LIMITTEXT, kCommentBytes, 0);
            SetDlgItemTextW(dialog, IDC_COMMENT_TEXT, Widen(CutToUtf16Units(CurrentImage.comment, kCommentBytes)).c_str());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                StoreEditedComment(DialogItemText(dialog, IDC_COMMENT_TEXT));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK CommentProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return CommentMessage(dialog, message, wParam); });
}

}  // namespace

LRESULT OnEditComment(HWND window, int) {
    DialogBoxParamW(AppInstance, TEXT("EditCommentDlg"), window, CommentProc, 0);
    return 0;
}
