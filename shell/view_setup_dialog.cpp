#include "shell/view_setup_dialog.h"

#include <algorithm>
#include <string>

#include "base/appstate.h"
#include "base/settings.h"
#include "settings/view_setup.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/wintext.h"

namespace {

constexpr int kFileSpecUnits = 250;
constexpr int kDurationUnits = 32;

// The sort buttons and the order each stands for.
struct SortButton {
    int id;
    int key;
};
constexpr SortButton kSortButtons[] = {
    {IDC_SETUP_SORT_UNSORTED, SORT_UNSORTED}, {IDC_SETUP_SORT_ALPHA, SORT_ALPHA}, {IDC_SETUP_SORT_WIDTH, SORT_WIDTH},
    {IDC_SETUP_SORT_EXT, SORT_EXT},           {IDC_SETUP_SORT_RANDOM, SORT_RAND}, {IDC_SETUP_SORT_SIZE, SORT_SIZE},
    {IDC_SETUP_SORT_DATE, SORT_TIME},
};
// The display-size buttons in DefaultView order (NORMAL, FULL, BIG, HALF, QUARTER).
constexpr int kViewButtons[] = {IDC_SETUP_VIEW_NORMAL, IDC_SETUP_VIEW_FULL, IDC_SETUP_VIEW_BIG, IDC_SETUP_VIEW_HALF,
                                IDC_SETUP_VIEW_QUARTER};

struct FlagBox {
    int id;
    bool ViewSetupValues::*value;
};
constexpr FlagBox kFlagBoxes[] = {
    {IDC_SETUP_REVERSE, &ViewSetupValues::reverse},
    {IDC_SETUP_SLIDE_CURSOR, &ViewSetupValues::slideShowCursor},
    {IDC_SETUP_SLIDE_BORDER, &ViewSetupValues::slideShowBorder},
    {IDC_SETUP_NEXT_CURSOR, &ViewSetupValues::nextFileCursor},
    {IDC_SETUP_NEXT_BORDER, &ViewSetupValues::nextFileBorder},
    {IDC_SETUP_FORCE_ORDER, &ViewSetupValues::forceListOrder},
    {IDC_SETUP_START_AGAIN, &ViewSetupValues::startListAgain},
    {IDC_SETUP_SHORT_TITLE, &ViewSetupValues::shortTitle},
};


void CheckAllTypes(HWND dialog, bool on) {
    for (int id = IDC_SETUP_TYPE_FIRST; id <= IDC_SETUP_TYPE_LAST; ++id) Check(dialog, id, on);
}

void Fill(HWND dialog, const ViewSetupValues& v) {
    SetDlgItemTextW(dialog, IDC_SETUP_DURATION, Widen(v.duration).c_str());
    SetDlgItemTextW(dialog, IDC_SETUP_FILE_SPEC, Widen(v.fileSpec).c_str());
    for (int i = 0; i < kSetupTypeCount; ++i) Check(dialog, IDC_SETUP_TYPE_FIRST + i, v.types[i]);
    CheckRadioButton(dialog, IDC_SETUP_VIEW_NORMAL, IDC_SETUP_VIEW_QUARTER,
                     kViewButtons[std::clamp(v.defaultView, 0, 4)]);
    for (const SortButton& b : kSortButtons) Check(dialog, b.id, b.key == v.sortKey);
    for (const FlagBox& f : kFlagBoxes) Check(dialog, f.id, v.*f.value);
}

ViewSetupValues Collect(HWND dialog) {
    ViewSetupValues v = ReadViewSetup();  // the view and the order stay when no button is checked
    v.duration = ItemText(dialog, IDC_SETUP_DURATION, kDurationUnits);
    v.fileSpec = ItemText(dialog, IDC_SETUP_FILE_SPEC, kFileSpecUnits);
    for (int i = 0; i < kSetupTypeCount; ++i) v.types[i] = Checked(dialog, IDC_SETUP_TYPE_FIRST + i);
    for (int view = 0; view < 5; ++view)
        if (Checked(dialog, kViewButtons[view])) v.defaultView = view;
    for (const SortButton& b : kSortButtons)
        if (Checked(dialog, b.id)) v.sortKey = b.key;
    for (const FlagBox& f : kFlagBoxes) v.*f.value = Checked(dialog, f.id);
    return v;
}

INT_PTR ViewSetupMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SendDlgItemMessageW(dialog, IDC_SETUP_FILE_SPEC, EM_LIMITTEXT, kFileSpecUnits, 0);
            SendDlgItemMessageW(dialog, IDC_SETUP_DURATION, EM_LIMITTEXT, kDurationUnits, 0);
            Fill(dialog, ReadViewSetup());
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SETUP_ALL_ON: CheckAllTypes(dialog, true); return TRUE;
                case IDC_SETUP_ALL_OFF: CheckAllTypes(dialog, false); return TRUE;
                case IDC_SETUP_DEFAULTS:
                    RestoreViewSetupDefaults();
                    Fill(dialog, ReadViewSetup());
                    return TRUE;
                case IDOK: {
                    const ViewSetupValues values = Collect(dialog);
                    const int check = CheckViewSetup(values);
                    if (check != VIEW_SETUP_OK) {
                        const char* text = check == VIEW_SETUP_NO_TYPES ? kNoValidFileTypesText : kBadDurationText;
                        MessageBoxW(dialog, Widen(text).c_str(), TEXT("Viewer"), MB_OK);
                        return TRUE;
                    }
                    *reinterpret_cast<ViewSetupValues*>(GetWindowLongPtrW(dialog, DWLP_USER)) = values;
                    EndDialog(dialog, IDOK);
                    return TRUE;
                }
                default: return CloseOnCancel(dialog, wParam);
            }
        default: return FALSE;
    }
}

INT_PTR CALLBACK ViewSetupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return ViewSetupMessage(dialog, message, wParam, lParam); });
}

}  // namespace

void OnViewSetupCommand(HWND window) {
    // The menu greys the command during a slide show; the key X must not get past that.
    if (RunMode == RUN_SLIDESHOW) return;
    ViewSetupValues values;
    if (DialogBoxParamW(AppInstance, TEXT("ViewSetupDlg"), window, ViewSetupProc, reinterpret_cast<LPARAM>(&values)) !=
        IDOK)
        return;
    // Stored once the dialog is gone: the folder is collected with messages pumped, which
    // must not reach a dialog that could then be confirmed a second time.
    StoreViewSetup(values);
}
