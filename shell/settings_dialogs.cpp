#include "shell/settings_dialogs.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/appstate.h"
#include "core/quantise.h"
#include "base/text.h"
#include "base/settings.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/wintext.h"

namespace {

// --- "Enter Required Bits Per Pixel" ---

int DitherRadio(char method) {
    if (method == '1') return IDC_DITHER_ONE_PASS;
    if (method == '3') return IDC_DITHER_OPTIMAL;
    return IDC_DITHER_TWO_PASS;
}

INT_PTR ColourDepthMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemInt(dialog, IDC_DEPTH_BITS, static_cast<UINT>(saveDepth), TRUE);
            CheckRadioButton(dialog, IDC_DITHER_ONE_PASS, IDC_DITHER_OPTIMAL, DitherRadio(ditherMethod));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                // A text that is no number reads as 0 and so snaps to 1 bit.
                const int entered = static_cast<int>(GetDlgItemInt(dialog, IDC_DEPTH_BITS, nullptr, TRUE));
                saveDepth = SnapColourDepth(entered);
                // The radio buttons only move the check mark; the method is taken here.
                if (IsDlgButtonChecked(dialog, IDC_DITHER_ONE_PASS) == BST_CHECKED) ditherMethod = '1';
                else if (IsDlgButtonChecked(dialog, IDC_DITHER_OPTIMAL) == BST_CHECKED) ditherMethod = '3';
                else ditherMethod = '2';
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK ColourDepthProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return ColourDepthMessage(dialog, message, wParam); });
}

// --- "Preferences" ---

constexpr int kOpeningRadios[] = {IDC_PREF_OPENING_NONE, IDC_PREF_OPENING_DEFAULT, IDC_PREF_OPENING_USER};
constexpr int kPathUnits = 260;

struct PreferenceFlag {
    int id;
    int* setting;
};
const PreferenceFlag kPreferenceFlags[] = {
    {IDC_PREF_JPEG_AFTER_CROP, &SaveJPEGImmediate}, {IDC_PREF_HOT_SPOT, &CursorHotSpot},
    {IDC_PREF_CHANGE_INPUT_DIR, &ChangeInputDir},   {IDC_PREF_ORIENTATION, &AllowOrientationView},
    {IDC_PREF_SAVE_EXIF, &SaveExifHeaderToFile},     {IDC_PREF_MPEG_STATS, &AllowMPEGStats},
    {IDC_PREF_WARNINGS, &WarningFlag},              {IDC_PREF_BATCH_MESSAGES, &VerboseFlag},
    {IDC_PREF_CONFIRM_DELETE, &ConfirmDeleteFileFlag},
};


int SignedItem(HWND dialog, int id) { return static_cast<int>(GetDlgItemInt(dialog, id, nullptr, TRUE)); }

void FillPreferences(HWND dialog) {
    for (int id : {IDC_PREF_OPENING_PATH, IDC_PREF_BOSS_FILE, IDC_PREF_ZTREE_PATH})
        SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, kPathUnits, 0);
    SendDlgItemMessageW(dialog, IDC_PREF_MAX_PIXELS, EM_LIMITTEXT, 11, 0);
    CheckRadioButton(dialog, IDC_PREF_OPENING_NONE, IDC_PREF_OPENING_USER, kOpeningRadios[std::clamp(OpeningBitmap, 0, 2)]);
    SetText(dialog, IDC_PREF_OPENING_PATH, OpeningBitmap == 2 ? OpeningBitmapText : " ");
    SetText(dialog, IDC_PREF_BOSS_FILE, BossAlert);
    SetText(dialog, IDC_PREF_ZTREE_PATH, ZTreeWinPath);
    SetDlgItemInt(dialog, IDC_PREF_MINIMUM_WIDTH, static_cast<UINT>(MinimumWidth), TRUE);
    SetDlgItemInt(dialog, IDC_PREF_SCALING, static_cast<UINT>(WindowsScaling), TRUE);
    SetText(dialog, IDC_PREF_MAX_PIXELS, FormatText("%ld", static_cast<long>(MaxPixelSize)));
    SetDlgItemInt(dialog, IDC_PREF_DEVE_HORIZONTAL, static_cast<UINT>(ZTreeThumbnailHorOffset), TRUE);
    SetDlgItemInt(dialog, IDC_PREF_DEVE_VERTICAL, static_cast<UINT>(ZTreeThumbnailVertOffset), TRUE);
    for (const PreferenceFlag& flag : kPreferenceFlags)
        CheckDlgButton(dialog, flag.id, *flag.setting ? BST_CHECKED : BST_UNCHECKED);
}

void StorePreferences(HWND dialog) {
    int mode = 1;
    for (int i = 0; i < 3; ++i)
        if (IsDlgButtonChecked(dialog, kOpeningRadios[i]) == BST_CHECKED) mode = i;
    OpeningBitmap = mode;
    if (mode == 2) OpeningBitmapText = TrimEnd(ItemText(dialog, IDC_PREF_OPENING_PATH, kPathUnits));
    BossAlert = TrimEnd(ItemText(dialog, IDC_PREF_BOSS_FILE, kPathUnits));
    ZTreeWinPath = ItemText(dialog, IDC_PREF_ZTREE_PATH, kPathUnits);
    MinimumWidth = SignedItem(dialog, IDC_PREF_MINIMUM_WIDTH);
    if (MinimumWidth <= 0) MinimumWidth = 280;
    WindowsScaling = static_cast<uint16_t>(SignedItem(dialog, IDC_PREF_SCALING));
    const long pixels = std::strtol(ItemText(dialog, IDC_PREF_MAX_PIXELS, 11).c_str(), nullptr, 10);
    MaxPixelSize = static_cast<int32_t>(std::clamp<long>(pixels, INT32_MIN, INT32_MAX));
    ZTreeThumbnailHorOffset = SignedItem(dialog, IDC_PREF_DEVE_HORIZONTAL);
    ZTreeThumbnailVertOffset = SignedItem(dialog, IDC_PREF_DEVE_VERTICAL);
    for (const PreferenceFlag& flag : kPreferenceFlags)
        *flag.setting = IsDlgButtonChecked(dialog, flag.id) == BST_CHECKED ? 1 : 0;
}

INT_PTR PreferenceMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: FillPreferences(dialog); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                StorePreferences(dialog);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK PreferenceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return PreferenceMessage(dialog, message, wParam); });
}

}  // namespace

void ShowPreferences(HWND owner) { DialogBoxParamW(AppInstance, TEXT("PreferenceDlg"), owner, PreferenceProc, 0); }

bool AskColourDepth(HWND owner) {
    return DialogBoxParamW(AppInstance, TEXT("COLOURDEPTHDLG"), owner, ColourDepthProc, 0) == IDOK;
}
