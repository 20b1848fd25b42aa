// The filter edits of the current picture: the table of the 40 named filters (the user
// entries keep what their dialogs stored), the entry last chosen with the channels and
// weighting in force, and the run of the loaded filter as one edit (undo step, wait
// cursor, "Processing Filter:" in the title).
#pragma once

#include "core/dib.h"
#include "ops/filters.h"

constexpr int kFilterCount = 40;

// The entries the user may edit (their 3x3, 5x5 and 7x7 kernels), and the two medians.
constexpr int kUserFilter3 = 23;
constexpr int kUserFilter5 = 33;
constexpr int kUserFilter7 = 37;
constexpr int kMedianFilter3 = 38;
constexpr int kMedianFilter5 = 39;

// The table as it stands for the run: the menu, the filter dialogs and batch runs all
// choose from it.
extern FilterTableEntry FilterTable[kFilterCount];
bool IsMedianFilter(int index);

// The run's filter: the entry last chosen and the kernel SelectFilter loaded from it, with
// the channels and the median's weighting the dialog set.
struct FilterSettings : FilterKernel {
    int selected = 0;
};
extern FilterSettings filterSettings;

// Loads entry `index` into filterSettings (KernelFromEntry). Returns the index, or -1 when
// the index is outside the table or a linear entry's divisor is still 0.
int SelectFilter(int index);
// The loaded filter on `image` (ApplyFilterKernel with filterSettings).
int ApplySelectedFilter(CDib& image, OpProgress progress);

// Loads entry `index` (SelectFilter). Returns 0, or -1 after showing "Linear filter
// initialisation failed!" (caption "Viewer").
int LoadFilter(int index);

// Where a filter was chosen: the failure text differs.
enum FilterOrigin {
    FILTER_FROM_MENU,    // a direct entry: "Linear filter failed!" (caption "Viewer")
    FILTER_FROM_DIALOG,  // "Select Filter Type": "Fatal Error in filter!" (caption
                         // "MedianFilter" or "LinearFilter")
};
// Runs the loaded filter on the current picture as one edit. Returns 0, or -1 after the
// failure was shown.
int ApplyLoadedFilter(FilterOrigin origin);
