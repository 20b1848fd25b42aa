// The filter edits of the current picture: an entry of the filter table loaded, then
// run as one edit (undo step, wait cursor, "Processing Filter:" in the title).
#pragma once

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
