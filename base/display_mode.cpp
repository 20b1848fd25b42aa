#include "base/display_mode.h"

WheelZoomState wheelZoom;

char ModeForNewPicture(char currentMode, int defaultView, int w, int h, int workWidth, int workHeight, int borderW,
                       int borderH) {
    if (currentMode == MODE_BEST_FIT_NO_BORDER || currentMode == MODE_FIXED_WINDOW) return currentMode;
    switch (defaultView) {
        case 1: return MODE_BEST_FIT;
        case 2:
            return (w > workWidth - borderW || h > workHeight - borderH) ? MODE_BEST_FIT : MODE_NORMAL;
        case 3: return MODE_HALF;
        case 4: return MODE_QUARTER;
        default: return MODE_NORMAL;
    }
}

void ResetWheelZoom() {
    wheelZoom.factor = 1.0;
    wheelZoom.centreSet = false;
    // Until the next step there is no rectangle to show: a stale one would belong to the
    // picture or the zoom of before.
    wheelZoom.sourceX = wheelZoom.sourceY = wheelZoom.sourceWidth = wheelZoom.sourceHeight = 0;
}
