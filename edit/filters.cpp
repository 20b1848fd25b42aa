#include "edit/filters.h"

#include "core/report.h"
#include "platform/host.h"
#include "core/title.h"
#include "edit/edit.h"

// clang-format off
FilterTableEntry FilterTable[kFilterCount] = {
    // 3x3 entries; a divisor of 0 is the kernel's sum.
    {"Blur slightly", "Low pass - low power", 3, {0, 1, 0, 1, 16, 1, 0, 1, 0}, 0, 0},
    {"Blur more", "Low pass", 3, {1, 1, 1, 1, 12, 1, 1, 1, 1}, 0, 0},
    {"Blur lots", "Low pass", 3, {1, 1, 1, 1, 4, 1, 1, 1, 1}, 0, 0},
    {"Blur average", "Low pass - high power", 3, {1, 1, 1, 1, 1, 1, 1, 1, 1}, 0, 0},
    {"Sharpen slightly", "High pass - low power", 3, {0, -1, 0, -1, 20, -1, 0, -1, 0}, 0, 0},
    {"Sharpen more", "High pass", 3, {0, -1, 0, -1, 10, -1, 0, -1, 0}, 0, 0},
    {"Sharpen lots", "High pass", 3, {-1, -1, -1, -1, 16, -1, -1, -1, -1}, 0, 0},
    {"Sharpen max", "High pass - high power", 3, {-1, -1, -1, -1, 10, -1, -1, -1, -1}, 0, 0},
    {"Invert", "Invert", 3, {0, 0, 0, 0, -1, 0, 0, 0, 0}, 1, 255},
    {"Emboss dark", "Emboss dark", 3, {-1, -2, -1, 0, 0, 0, 1, 2, 1}, 1, 128},
    {"Emboss medium", "Emboss medium", 3, {-1, -2, -1, 0, 0, 0, 1, 2, 1}, 1, 192},
    {"Emboss light", "Emboss light", 3, {0, -1, 0, 0, 0, 0, 0, 1, 0}, 1, 192},
    {"Unsharp Mask", "Unsharp mask", 3, {-1, -2, -1, -2, 16, -2, -1, -2, -1}, 0, 0},
    {"Edges strong", "Edges strong", 3, {1, 3, 1, 3, -16, 3, 1, 3, 1}, 1, 100},
    {"Edges weak", "Edges weak", 3, {0, 1, 0, 1, -4, 1, 0, 1, 0}, 1, 100},
    {"Prewitt edge detection", "Pewitt", 3, {1, 1, 1, 1, -2, 1, -1, -1, -1}, 1, 0},
    {"Emboss colour", "Emboss colour", 3, {-2, 0, 0, 0, 1, 0, 0, 0, 2}, 1, 0},
    {"Sobel-pass", "Sobel-pass", 3, {1, 2, 1, 0, 0, 0, -1, -2, -1}, 1, 0},
    {"Laplacian", "Laplacian", 3, {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1, 100},
    {"Laplacian hor/vert", "Laplacian hor/vert", 3, {0, -1, 0, -1, 4, -1, 0, -1, 0}, 1, 100},
    {"Directional sharpen", "Directional sharpen", 3, {-3, -3, -3, 0, 16, 0, 1, 1, 1}, 0, 0},
    {"Enhance edges", "Enhance edges", 3, {-1, -2, -1, -2, 16, -2, -1, -2, -1}, 0, 0},
    {"Etch", "Etch", 3, {-6, -2, -6, -1, 32, -1, -6, -2, -6}, 1, 100},
    {"User defined", "User defined", 3, {0, 0, 0, 0, 1, 0, 0, 0, 0}, 1, 0},
    // 5x5 entries.
    {"Blur", nullptr, 5, {0, 0, 1, 0, 0,  0, 1, 1, 1, 0,  1, 1, 1, 1, 1,  0, 1, 1, 1, 0,  0, 0, 1, 0, 0}, 13, 0},
    {"Sharpen", nullptr, 5,
     {-1, -1, -1, -1, -1,  -1, 2, 2, 2, -1,  -1, 2, 8, 2, -1,  -1, 2, 2, 2, -1,  -1, -1, -1, -1, -1}, 8, 0},
    {"Motion blur diagonally", nullptr, 5,
     {1, 0, 0, 0, 0,  0, 1, 0, 0, 0,  0, 0, 1, 0, 0,  0, 0, 0, 1, 0,  0, 0, 0, 0, 1}, 5, 0},
    {"Motion blur vertically", nullptr, 5,
     {0, 0, 1, 0, 0,  0, 0, 1, 0, 0,  0, 0, 1, 0, 0,  0, 0, 1, 0, 0,  0, 0, 1, 0, 0}, 5, 0},
    {"Motion blur horizontally", nullptr, 5,
     {0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  1, 1, 1, 1, 1,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 5, 0},
    {"Edge diagonal", nullptr, 5,
     {0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  -1, -1, 2, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 1, 0},
    {"Edge vertical", nullptr, 5,
     {0, 0, -1, 0, 0,  0, 0, -1, 0, 0,  0, 0, 4, 0, 0,  0, 0, -1, 0, 0,  0, 0, -1, 0, 0}, 1, 0},
    {"Edge horizontal", nullptr, 5,
     {-1, 0, 0, 0, 0,  0, -2, 0, 0, 0,  0, 0, 6, 0, 0,  0, 0, 0, -2, 0,  0, 0, 0, 0, -1}, 5, 0},
    {"Emboss strong", nullptr, 5,
     {-1, -1, -1, -1, 0,  -1, -1, -1, 0, 1,  -1, -1, 0, 1, 1,  -1, 0, 1, 1, 1,  0, 1, 1, 1, 1}, 1, 128},
    {"User defined", nullptr, 5,
     {0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 1, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 1, 0},
    // 7x7 entries.
    {"Blur", nullptr, 7,
     {0, 0, 1, 1, 1, 0, 0,  0, 1, 4, 7, 4, 1, 0,  1, 4, 16, 26, 16, 4, 1,  1, 7, 26, 41, 26, 7, 1,
      1, 4, 16, 26, 16, 4, 1,  0, 1, 4, 7, 4, 1, 0,  0, 0, 1, 1, 1, 0, 0}, 285, 0},
    {"Sharpen", nullptr, 7,
     {-2, -4, -5, -5, -5, -4, -2,  -4, -5, -3, 0, -3, -5, -4,  -5, -3, 12, 24, 12, -3, -5,
      -5, 0, 24, 40, 24, 0, -5,  -5, -3, 12, 24, 12, -3, -5,  -4, -5, -3, 0, -3, -5, -4,
      -2, -4, -5, -5, -5, -4, -2}, 40, 0},
    {"Diagonal Filter", nullptr, 7,
     {1, 0, 0, 0, 0, 0, 0,  0, 1, 0, 0, 0, 0, 0,  0, 0, 1, 0, 0, 0, 0,  0, 0, 0, 1, 0, 0, 0,
      0, 0, 0, 0, 1, 0, 0,  0, 0, 0, 0, 0, 1, 0,  0, 0, 0, 0, 0, 0, 1}, 7, 0},
    {"User defined", nullptr, 7,
     {0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 1, 0, 0, 0,
      0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0}, 1, 0},
    // Medians: the weights counted when weighting is on.
    {"3 * 3", nullptr, 3, {1, 2, 1, 2, 3, 2, 1, 2, 1}, 0, 0},
    {"5 * 5", nullptr, 5,
     {1, 2, 3, 2, 1,  2, 4, 6, 4, 2,  3, 6, 9, 6, 3,  2, 4, 6, 4, 2,  1, 2, 3, 2, 1}, 0, 0},
};
// clang-format on

FilterSettings filterSettings;

bool IsMedianFilter(int index) { return index == kMedianFilter3 || index == kMedianFilter5; }

int SelectFilter(int index) {
    if (index < 0 || index >= kFilterCount) return -1;
    filterSettings.selected = index;
    return KernelFromEntry(FilterTable[index], IsMedianFilter(index), &filterSettings) < 0 ? -1 : index;
}

int ApplySelectedFilter(CDib& image, OpProgress progress) { return ApplyFilterKernel(image, filterSettings, progress); }

int LoadFilter(int index) {
    if (SelectFilter(index) >= 0) return 0;
    ShowMessage(kFilterInitFailed, "Viewer", kMbOk | kMbIconWarning);
    return -1;
}

int ApplyLoadedFilter(FilterOrigin origin) {
    EditRules rules;
    if (origin == FILTER_FROM_MENU) {
        rules.caption = "Viewer";
        rules.failureText = "Linear filter failed!";
    } else {
        rules.caption = IsMedianFilter(filterSettings.selected) ? "MedianFilter" : "LinearFilter";
        rules.failureText = "Fatal Error in filter!";
    }
    return RunEdit(rules, [](CDib& dib) { return ApplySelectedFilter(dib, ShowPercentInTitle); });
}
