#include "sheets/run_load.h"

#include "base/settings.h"
#include "open/open.h"

int LoadRunInput(const std::string& path) {
    // A run works on still pictures: an animation would start playing and replace the
    // picture under the run's operations.
    GIFAnimation = 0;
    return LoadImageFile(LoadRequest(path, HISTORY_NONE));
}
