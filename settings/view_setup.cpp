#include "settings/view_setup.h"

#include <cmath>
#include <cstdlib>

#include "base/ranges.h"
#include "base/text.h"
#include "core/title.h"
#include "settings/filelist.h"
#include "base/settings.h"

const char* const kNoValidFileTypesText = "There are no valid file types set";
const char* const kBadDurationText = "The slide show duration must be a number of seconds";

namespace {

constexpr long long kLongestTimerMs = 0x7FFFFFFF;
constexpr size_t kFileSpecUnits = 250;

}  // namespace

long long DurationFromText(const std::string& seconds) {
    double value = 0;
    if (!WholeFieldReal(seconds, &value)) return -1;
    if (value <= 0) return 0;
    // A product that is a whole number on paper (0.29 x 1000) may lie just below it in
    // binary floating point.
    const double ms = value * 1000.0 + 1e-9;
    return ms >= static_cast<double>(kLongestTimerMs) ? kLongestTimerMs : static_cast<long long>(ms);
}

ViewSetupValues ReadViewSetup() {
    ViewSetupValues v;
    v.duration = FormatText("%3.2f", SlideShowDuration / 1000.0);
    v.fileSpec = fileSpec;
    for (int i = 0; i < kSetupTypeCount; ++i) v.types[i] = typePatternEnabled[i];
    v.defaultView = DefaultViewFull;
    v.sortKey = std::abs(SortOrder);
    v.reverse = SortOrder < 0;
    v.slideShowCursor = SlideShowCursor != 0;
    v.slideShowBorder = SlideShowBorder != 0;
    v.nextFileCursor = NextFileCursor != 0;
    v.nextFileBorder = NextFileBorder != 0;
    v.forceListOrder = ForceListOrder != 0;
    v.startListAgain = StartListAgain != 0;
    v.shortTitle = UseShortTitle != 0;
    return v;
}

void RestoreViewSetupDefaults() {
    SlideShowDuration = 3000;
    SortOrder = SORT_ALPHA;
    fileSpec.clear();
    DefaultViewFull = VIEW_BIG;
    for (int i = 0; i < kSetupTypeCount; ++i) EnableTypePattern(i, true);
    SlideShowCursor = SlideShowBorder = NextFileCursor = NextFileBorder = 0;
    UseShortTitle = 0;
    StartListAgain = 1;
    DefaultJPEGQuality = 90;
    FileList.stale = true;
}

int CheckViewSetup(const ViewSetupValues& v) {
    bool anyType = false;
    for (bool on : v.types) anyType = anyType || on;
    if (!anyType) return VIEW_SETUP_NO_TYPES;
    if (DurationFromText(v.duration) < 0) return VIEW_SETUP_BAD_DURATION;
    return VIEW_SETUP_OK;
}

void StoreViewSetup(const ViewSetupValues& v) {
    fileSpec = CutToUtf16Units(v.fileSpec, kFileSpecUnits);
    const long long ms = DurationFromText(v.duration);
    if (ms >= 0) SlideShowDuration = static_cast<uint32_t>(ms);
    for (int i = 0; i < kSetupTypeCount; ++i) EnableTypePattern(i, v.types[i]);
    if (v.defaultView >= VIEW_NORMAL && v.defaultView <= VIEW_QUARTER) DefaultViewFull = v.defaultView;
    SlideShowCursor = v.slideShowCursor ? 1 : 0;
    SlideShowBorder = v.slideShowBorder ? 1 : 0;
    NextFileCursor = v.nextFileCursor ? 1 : 0;
    NextFileBorder = v.nextFileBorder ? 1 : 0;
    ForceListOrder = v.forceListOrder ? 1 : 0;
    StartListAgain = v.startListAgain ? 1 : 0;
    UseShortTitle = v.shortTitle ? 1 : 0;

    if (v.sortKey >= SORT_UNSORTED && v.sortKey <= SORT_TIME) {
        const int order = v.reverse ? -v.sortKey : v.sortKey;
        if (order != SortOrder) {
            SortOrder = order;
            SortFileList();
        }
    }
    ResetListPosition();
    // The whole folder, even in the normal run mode, where a collection otherwise stops at
    // the first file: the list is marked fresh, so the next step must find all of it.
    if (!FileList.fromListFile) BuildFileList(true);
    SortFileList();
    FileList.stale = false;
}
