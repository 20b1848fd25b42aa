#include "shell/view_dialogs.h"

#include <string>

#include "view/display.h"
#include "base/text.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/wintext.h"

namespace {

struct FixedSizeRequest {
    int width;
    int height;
};

INT_PTR FixedSizeMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto* request = reinterpret_cast<const FixedSizeRequest*>(lParam);
            SetDlgItemInt(dialog, IDC_FIXED_WIDTH, static_cast<UINT>(request->width), TRUE);
            SetDlgItemInt(dialog, IDC_FIXED_HEIGHT, static_cast<UINT>(request->height), TRUE);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* request = reinterpret_cast<FixedSizeRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
                BOOL okWidth = FALSE, okHeight = FALSE;
                const int width = static_cast<int>(GetDlgItemInt(dialog, IDC_FIXED_WIDTH, &okWidth, TRUE));
                const int height = static_cast<int>(GetDlgItemInt(dialog, IDC_FIXED_HEIGHT, &okHeight, TRUE));
                // A box without area cannot hold the picture (and the point mapping divides
                // by its size): such a value keeps the size there was.
                if (okWidth && width > 0) request->width = width;
                if (okHeight && height > 0) request->height = height;
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK FixedSizeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return FixedSizeMessage(dialog, message, wParam, lParam); });
}

INT_PTR WheelRateMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const double rate = *reinterpret_cast<const double*>(lParam);
            SetDlgItemTextW(dialog, IDC_WHEEL_RATE, Widen(FormatText("%.2f", rate)).c_str());
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* rate = reinterpret_cast<double*>(GetWindowLongPtrW(dialog, DWLP_USER));
                *rate = ParseWheelRate(ItemText(dialog, IDC_WHEEL_RATE, 63));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK WheelRateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return WheelRateMessage(dialog, message, wParam, lParam); });
}

}  // namespace

bool AskFixedWindowSize(HWND owner, int* width, int* height) {
    FixedSizeRequest request = {*width, *height};
    const INT_PTR result = DialogBoxParamW(AppInstance, TEXT("FixedSizeDlg"), owner, FixedSizeProc,
                                           reinterpret_cast<LPARAM>(&request));
    if (result != IDOK) return false;
    *width = request.width;
    *height = request.height;
    return true;
}

bool AskWheelRate(HWND owner, double* rate) {
    double value = *rate;
    const INT_PTR result =
        DialogBoxParamW(AppInstance, TEXT("ZoomRateDlg"), owner, WheelRateProc, reinterpret_cast<LPARAM>(&value));
    if (result != IDOK) return false;
    *rate = value;
    return true;
}
