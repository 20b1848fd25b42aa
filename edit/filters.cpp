#include "edit/filters.h"

#include "core/report.h"
#include "platform/host.h"
#include "core/title.h"
#include "edit/edit.h"
#include "ops/filters.h"

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
