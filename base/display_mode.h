// The display mode a new picture starts in, and the wheel zoom's state, which every load
// starts again: both are needed by the load as the user sees it (open/) as well as by the
// display arithmetic (view/display.h) and the shell's painting.
#pragma once

#include <cstdint>

#include "base/appstate.h"

// The mode a newly loaded picture starts in, from DefaultViewFull (0 NORMAL, 1 FULL, 2 BIG,
// 3 HALF, 4 QUARTER). BestFitNoBorder and FixedWindow are kept.
// `workWidth` x `workHeight` is the work area, `borderW` x `borderH` the window's borders.
char ModeForNewPicture(char currentMode, int defaultView, int pictureWidth, int pictureHeight, int workWidth,
                       int workHeight, int borderW, int borderH);

// Wheel zoom: the shrink factor, the step of one notch and the picture rectangle shown.
struct WheelZoomState {
    double factor = 1.0;
    double rate = 1.2;
    // Picture rectangle shown: x, y counted from the bottom row (as StretchDIBits takes a
    // bottom-up source), width, height.
    int sourceX = 0, sourceY = 0, sourceWidth = 0, sourceHeight = 0;
    // The zoom centre in picture pixels (y from the bottom); held in 32 bits so that
    // pictures wider than 32767 pixels keep their centre.
    int32_t centreX = 0, centreY = 0;
    bool centreSet = false;  // false: the next step captures the centre from its point
    int lastX = 0, lastY = 0;
};
extern WheelZoomState wheelZoom;

// The factor goes back to 1 and the centre is captured again (after a load, and whenever
// the picture is painted in a scaled or fitted mode).
void ResetWheelZoom();
