#include "shell/filter_dialogs.h"

#include <string>

#include "base/ids.h"
#include "edit/filters.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "shell/wintext.h"
#include "view/filter_dialogs.h"

namespace {


void ShowChannels(HWND dialog, const ChannelMask& channels) {
    Check(dialog, IDC_FILTER_RED, channels.red);
    Check(dialog, IDC_FILTER_GREEN, channels.green);
    Check(dialog, IDC_FILTER_BLUE, channels.blue);
}

ChannelMask ReadChannels(HWND dialog) {
    ChannelMask channels;
    channels.red = Checked(dialog, IDC_FILTER_RED);
    channels.green = Checked(dialog, IDC_FILTER_GREEN);
    channels.blue = Checked(dialog, IDC_FILTER_BLUE);
    return channels;
}

// ------------------------------------------------------------ "Select Filter Type"

constexpr int kLastEntryButton = IDC_FILTER_FIRST_ENTRY + kFilterCount - 1;

INT_PTR FilterMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const FilterChoice choice = OpenFilterDialog();
            CheckRadioButton(dialog, IDC_FILTER_FIRST_ENTRY, kLastEntryButton, IDC_FILTER_FIRST_ENTRY + choice.entry);
            ShowChannels(dialog, choice.channels);
            Check(dialog, IDC_FILTER_WEIGHTED, choice.weighted);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                FilterChoice choice;
                choice.entry = -1;
                for (int id = IDC_FILTER_FIRST_ENTRY; id <= kLastEntryButton; ++id)
                    if (Checked(dialog, id)) choice.entry = id - IDC_FILTER_FIRST_ENTRY;
                if (choice.entry < 0) return TRUE;  // nothing chosen: the dialog stays
                choice.channels = ReadChannels(dialog);
                choice.weighted = Checked(dialog, IDC_FILTER_WEIGHTED);
                EndDialog(dialog, ApplyFilterDialog(choice));
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, -1);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

INT_PTR CALLBACK FilterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return FilterMessage(dialog, message, wParam); });
}

// ------------------------------------------------------------ the user filters

struct UserFilterDialog {
    int entry;
    int count;            // kernel values
    bool filling = true;  // the fields are being filled: their notifications mean nothing
};

UserFilterValues ReadUserValues(HWND dialog, const UserFilterDialog& d) {
    UserFilterValues values;
    for (int i = 0; i < d.count; ++i) values.kernel.push_back(DialogItemText(dialog, kUserFilterFirstEdit + i));
    values.bias = DialogItemText(dialog, IDC_USERFILTER_BIAS);
    values.divisor = DialogItemText(dialog, IDC_USERFILTER_DIVISOR);
    values.kernelSum = DialogItemText(dialog, IDC_USERFILTER_SUM);
    values.channels = ReadChannels(dialog);
    return values;
}


INT_PTR UserFilterMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* d = reinterpret_cast<UserFilterDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (d == nullptr) return FALSE;
    switch (message) {
        case WM_INITDIALOG: {
            const UserFilterValues values = OpenUserFilterDialog(d->entry);
            for (int i = 0; i < d->count; ++i) SetText(dialog, kUserFilterFirstEdit + i, values.kernel[i]);
            SetText(dialog, IDC_USERFILTER_BIAS, values.bias);
            SetText(dialog, IDC_USERFILTER_DIVISOR, values.divisor);
            SetText(dialog, IDC_USERFILTER_SUM, values.kernelSum);
            ShowChannels(dialog, values.channels);
            d->filling = false;
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id >= kUserFilterFirstEdit && id < kUserFilterFirstEdit + d->count) {
                if (HIWORD(wParam) != EN_CHANGE || d->filling) return FALSE;
                UserFilterValues values = ReadUserValues(dialog, *d);
                UserKernelEdited(values);
                d->filling = true;
                SetText(dialog, IDC_USERFILTER_SUM, values.kernelSum);
                SetText(dialog, IDC_USERFILTER_DIVISOR, values.divisor);
                d->filling = false;
                return TRUE;
            }
            if (id == IDOK) {
                ApplyUserFilterDialog(d->entry, ReadUserValues(dialog, *d));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        }
        default: return FALSE;
    }
}

INT_PTR CALLBACK UserFilterProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return UserFilterMessage(dialog, message, wParam, lParam); });
}

}  // namespace

int AskFilterEntry(HWND owner) {
    return static_cast<int>(DialogBoxParamW(AppInstance, TEXT("FILTERDLG"), owner, FilterProc, 0));
}

bool AskUserFilter(HWND owner, int entry) {
    const char* name = UserFilterDialogName(entry);
    if (name == nullptr) return true;
    UserFilterDialog d{entry, FilterTable[entry].side * FilterTable[entry].side};
    return DialogBoxParamW(AppInstance, Widen(name).c_str(), owner, UserFilterProc, reinterpret_cast<LPARAM>(&d)) ==
           IDOK;
}
