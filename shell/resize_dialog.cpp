#include "shell/resize_dialog.h"

#include <string>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/title.h"
#include "ops/resize.h"
#include "view/resize_dialog.h"
#include "shell/dialog_common.h"
#include "shell/display.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/wintext.h"
#include "edit/geometry.h"

namespace {

constexpr int kFieldUnits = 64;
const WCHAR kBadSizeText[] = TEXT("The width and height must be whole numbers of pixels.");

// Writing an edit makes it send EN_CHANGE back at once; the dialog state ignores that.
void WriteField(void* context, int field, const std::string& text) {
    SetDlgItemTextW(static_cast<HWND>(context), field, Widen(text).c_str());
}


INT_PTR ResizeMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<ResizeDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            state = reinterpret_cast<ResizeDialogState*>(lParam);
            for (int id : {IDC_RESIZE_WIDTH, IDC_RESIZE_HEIGHT, IDC_RESIZE_XSCALE, IDC_RESIZE_YSCALE})
                SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, kFieldUnits, 0);
            CheckDlgButton(dialog, IDC_RESIZE_INTERPOLATE, resizeInterpolate ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_RESIZE_ASPECT, resizeKeepAspect ? BST_CHECKED : BST_UNCHECKED);
            const CDib& dib = CurrentImage.dib;
            OpenResizeDialog(*state, dib.width, dib.height, resizeRequest, WriteField, dialog);
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (state == nullptr) return FALSE;
            if (id >= IDC_RESIZE_WIDTH && id <= IDC_RESIZE_YSCALE) {
                if (HIWORD(wParam) != EN_CHANGE || state->busy) return FALSE;
                // The aspect box is read at each change and remembered, checked or not.
                resizeKeepAspect = Checked(dialog, IDC_RESIZE_ASPECT) ? 1 : 0;
                ResizeDialogFieldChanged(*state, id, ItemText(dialog, id, kFieldUnits), resizeKeepAspect != 0);
                return TRUE;
            }
            if (id == IDOK) {
                ResizeRequest request;
                if (!ResizeDialogRequest(*state, ItemText(dialog, IDC_RESIZE_WIDTH, kFieldUnits),
                                         ItemText(dialog, IDC_RESIZE_HEIGHT, kFieldUnits), &request)) {
                    MessageBoxW(dialog, kBadSizeText, TEXT("Viewer"), MB_OK | MB_ICONWARNING);
                    return TRUE;
                }
                resizeInterpolate = Checked(dialog, IDC_RESIZE_INTERPOLATE) ? 1 : 0;
                resizeKeepAspect = Checked(dialog, IDC_RESIZE_ASPECT) ? 1 : 0;
                resizeRequest = request;
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        }
        default: return FALSE;
    }
}

INT_PTR CALLBACK ResizeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return ResizeMessage(dialog, message, wParam, lParam); });
}

}  // namespace

void OnResizeCommand(HWND window) {
    ResizeDialogState state;
    if (DialogBoxParamW(AppInstance, TEXT("RESIZEDLG"), window, ResizeProc, reinterpret_cast<LPARAM>(&state)) != IDOK)
        return;
    // The resize itself: wait cursor, undo step, progress in the title, "Resize failed!"
    // with a beep and the picture kept when it cannot be done, the title restored.
    if (ResizeCurrentImage() < 0) return;
    ApplyDisplayMode();
    if (RunMode != RUN_BATCH) PlaceWindow();
    RetitleWithNewSize();
    RedrawImage();
}
