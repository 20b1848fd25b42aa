#include "shell/rotate_dialog.h"

#include <cmath>
#include <string>

#include "base/appstate.h"
#include "core/current_image.h"
#include "platform/host.h"
#include "core/report.h"
#include "base/text.h"
#include "ops/preview.h"
#include "ops/rotate.h"
#include "shell/dialog_common.h"
#include "shell/display.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/wintext.h"
#include "edit/geometry.h"
#include "view/rotate_dialog.h"
#include "base/ranges.h"

namespace {

// What the dialog closes with: the command then acts on it.
enum RotateAnswer { ROTATE_CANCEL = 0, ROTATE_OK = 1, ROTATE_GET_COLOUR = 2 };

// Where the preview box lies in the dialog's client area, in pixels at 100 % scaling.
constexpr int kPreviewX = 10;
constexpr int kPreviewY = 10;

struct RotateDialog {
    CPreview preview;
};

RotateDialog* DialogState(HWND dialog) {
    return reinterpret_cast<RotateDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

RECT PreviewBox(const CPreview& preview) {
    const int scaledX = WindowsScaling == 100 ? kPreviewX : kPreviewX * WindowsScaling / 100;
    const int scaledY = WindowsScaling == 100 ? kPreviewY : kPreviewY * WindowsScaling / 100;
    return RECT{scaledX, scaledY, scaledX + preview.box.width, scaledY + preview.box.height};
}

// The preview is made again from the picture and turned by the angle now set.
void RefreshPreview(HWND dialog) {
    RotateDialog* state = DialogState(dialog);
    if (state == nullptr || CurrentImage.dib.Empty()) return;
    RotatePreview(state->preview, CurrentImage.dib, rotateAngle, rotateGuideLines != 0);
    const RECT box = PreviewBox(state->preview);
    InvalidateRect(dialog, &box, TRUE);
}

void PaintPreview(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    RotateDialog* state = DialogState(dialog);
    if (dc != nullptr && state != nullptr && !state->preview.image.Empty()) {
        const CDib& image = state->preview.image;
        int x = 0, y = 0;
        state->preview.DrawOrigin(kPreviewX, kPreviewY, &x, &y);
        SetDIBitsToDevice(dc, x, y, image.width, image.height, 0, 0, 0, image.height, image.bits,
                          reinterpret_cast<const BITMAPINFO*>(image.info), DIB_RGB_COLORS);
    }
    EndPaint(dialog, &paint);
}

void ShowAngle(HWND dialog) {
    SetDlgItemTextW(dialog, IDC_ROTATE_ANGLE, Widen(FormatText("%3.1f", rotateAngle)).c_str());
}

void OnInit(HWND dialog, LPARAM lParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    HWND bar = GetDlgItem(dialog, IDC_ROTATE_SCROLL);
    SetScrollRange(bar, SB_CTL, kRotateScrollRange.low, kRotateScrollRange.high, FALSE);
    SetScrollPos(bar, SB_CTL, static_cast<int>(std::trunc(rotateAngle)), TRUE);
    ShowAngle(dialog);
    CheckDlgButton(dialog, IDC_ROTATE_FINE, rotateFineSteps ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_ROTATE_GUIDE, rotateGuideLines ? BST_CHECKED : BST_UNCHECKED);
    RefreshPreview(dialog);
}

void OnScroll(HWND dialog, WPARAM wParam, HWND bar) {
    if (bar == nullptr || GetDlgCtrlID(bar) != IDC_ROTATE_SCROLL) return;
    const int request = LOWORD(wParam);
    if (request == SB_ENDSCROLL) return;
    // The thumb's position travels as a signed 16-bit value.
    const int thumb = static_cast<short>(HIWORD(wParam));
    const int position = RotateScrollPosition(GetScrollPos(bar, SB_CTL), request, thumb);
    SetScrollPos(bar, SB_CTL, position, TRUE);
    rotateAngle = AngleFromScroll(position, rotateFineSteps != 0);
    ShowAngle(dialog);
    RefreshPreview(dialog);
}

// OK takes the typed angle; a text that is no number keeps the dialog open.
void OnOk(HWND dialog) {
    WCHAR text[64] = {};
    GetDlgItemTextW(dialog, IDC_ROTATE_ANGLE, text, 64);
    double degrees = 0;
    if (!ParseRotateAngle(Narrow(text), &degrees)) {
        ShowMessage("The rotation angle must be a number of degrees from -360 to 360.", "Viewer",
                    kMbOk | kMbIconWarning);
        SetFocus(GetDlgItem(dialog, IDC_ROTATE_ANGLE));
        return;
    }
    rotateAngle = degrees;
    EndDialog(dialog, ROTATE_OK);
}

INT_PTR RotateMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: OnInit(dialog, lParam); return TRUE;
        case WM_HSCROLL: OnScroll(dialog, wParam, reinterpret_cast<HWND>(lParam)); return TRUE;
        case WM_PAINT: PaintPreview(dialog); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: OnOk(dialog); return TRUE;
                case IDCANCEL: EndDialog(dialog, ROTATE_CANCEL); return TRUE;
                case IDC_ROTATE_GET_COLOUR: EndDialog(dialog, ROTATE_GET_COLOUR); return TRUE;
                case IDC_ROTATE_FINE:
                    rotateFineSteps = IsDlgButtonChecked(dialog, IDC_ROTATE_FINE) == BST_CHECKED;
                    return TRUE;
                case IDC_ROTATE_GUIDE:
                    rotateGuideLines = IsDlgButtonChecked(dialog, IDC_ROTATE_GUIDE) == BST_CHECKED;
                    RefreshPreview(dialog);
                    return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

INT_PTR CALLBACK RotateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return RotateMessage(dialog, message, wParam, lParam); });
}

}  // namespace

void OnRotateVariableAngle(HWND window) {
    if (CurrentImage.dib.Empty()) return;
    // The preview lives as long as the dialog and goes with it.
    RotateDialog state;
    const INT_PTR answer =
        DialogBoxParamW(AppInstance, TEXT("ROTATEDLG"), window, RotateProc, reinterpret_cast<LPARAM>(&state));
    switch (answer) {
        case ROTATE_OK:
            RotateVariableAngleOk();
            PlaceWindow();
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            break;
        case ROTATE_GET_COLOUR: EditState = EDIT_PICK_ROTATE; break;
        default: EditState = EDIT_NONE; break;
    }
}
