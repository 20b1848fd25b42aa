// The filter dialogs, apart from the dialogs: "Select Filter Type" (which entry, which
// channels, weighting) and the user-defined filter dialogs of 3x3, 5x5 and 7x7 (the
// kernel, bias, divisor and channels of entries 23, 33 and 37).
#pragma once

#include <string>
#include <vector>

#include "edit/filters.h"

// "Select Filter Type": radio buttons 6100..6139 for the entries, boxes 6039..6042.
struct FilterChoice {
    int entry = 0;
    ChannelMask channels;
    bool weighted = false;
};
// Opening: the entry last chosen, the channels and weighting of the run.
FilterChoice OpenFilterDialog();
// OK: the boxes are stored for the run; the entry chosen is returned (the caller loads and
// runs it).
int ApplyFilterDialog(const FilterChoice& choice);

// The user filter dialog of an editable entry (23, 33, 37), as texts.
struct UserFilterValues {
    std::vector<std::string> kernel;  // side x side, row by row: edits 11, 12, ...
    std::string bias;                 // 6037
    std::string divisor;              // 6036
    std::string kernelSum;            // 6038, the calculated divisor
    ChannelMask channels;             // 6039..6041
};
// The edit id of the first kernel value; the others follow row by row.
constexpr int kUserFilterFirstEdit = 11;
// The dialog template of an editable entry, or null for an entry that has none.
const char* UserFilterDialogName(int entry);

// Opening, after SelectFilter loaded the entry: the entry's kernel, the loaded bias and
// divisor, the kernel's sum, the run's channels.
UserFilterValues OpenUserFilterDialog(int entry);
// A kernel value was edited: the sum follows it and the divisor field becomes 0.
void UserKernelEdited(UserFilterValues& values);
// OK: the kernel is written into the entry and loaded; the channels stored; the bias
// becomes the entry's offset and the loaded one; the divisor becomes the typed one when
// not 0, else the kernel's sum when not 0, else stays as loaded, and is stored in the
// entry too. Values that are no number count as 0; kernel values are clamped to 16 bits.
void ApplyUserFilterDialog(int entry, const UserFilterValues& values);
