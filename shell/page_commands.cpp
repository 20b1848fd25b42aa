// The pages of a multi-page (TIFF) file: Space and Shift+Space step through them, the page
// dialog (TIFFPAGEDLG) goes to a page by its number.
#include "shell/command_table.h"

#include <string>

#include "base/ids.h"
#include "core/current_image.h"
#include "platform/host.h"
#include "open/open.h"
#include "view/page_dialog.h"
#include "shell/dialog_common.h"
#include "shell/display.h"
#include "shell/startup.h"
#include "shell/wintext.h"

namespace {

void ShowPage(int page) {
    if (!ConfirmLeaveImage()) return;
    if (LoadPageOfPicture(page) >= 0) RememberPictureSize();
}

// The typed page, kept from the dialog's OK until the dialog is gone.
int chosenPage = -1;

// The box keeps as many characters as a page number can have.
constexpr int kPageUnits = 10;

INT_PTR PageMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const PageDialogValues values = OpenPageDialog(CurrentImage.page, CurrentImage.pageCount);
            SetDlgItemTextW(dialog, IDC_TIFF_PAGE, Widen(values.page).c_str());
            SendDlgItemMessageW(dialog, IDC_TIFF_PAGE, EM_LIMITTEXT, kPageUnits, 0);
            SetDlgItemTextW(dialog, IDC_TIFF_PAGE_COUNT, Widen(values.count).c_str());
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                WCHAR buffer[kPageUnits + 1] = {};
                const UINT length = GetDlgItemTextW(dialog, IDC_TIFF_PAGE, buffer, kPageUnits + 1);
                chosenPage = PageFromDialog(Narrow(buffer, static_cast<int>(length)), CurrentImage.pageCount);
                if (chosenPage < 0) {
                    const std::string text =
                        "Enter a page number from 1 to " + OpenPageDialog(0, CurrentImage.pageCount).count + ".";
                    MessageBoxW(dialog, Widen(text).c_str(), TEXT("Viewer"), MB_OK | MB_ICONWARNING);
                    return TRUE;
                }
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK PageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return PageMessage(dialog, message, wParam); });
}

}  // namespace

void StepPage(HWND, int step) {
    const int page = SteppedPage(CurrentImage.page, CurrentImage.pageCount, step);
    if (page < 0) {
        HostBeep();
        return;
    }
    ShowPage(page);
}

LRESULT OnNextPage(HWND window, int) {
    StepPage(window, 1);
    return 0;
}

LRESULT OnPageNumber(HWND window, int) {
    if (CurrentImage.pageCount < 1) return 0;
    chosenPage = -1;
    if (DialogBoxParamW(AppInstance, TEXT("TIFFPAGEDLG"), window, PageProc, 0) != IDOK || chosenPage < 0) return 0;
    ShowPage(chosenPage);
    return 0;
}
