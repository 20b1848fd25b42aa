#include "view/colour_dialogs.h"

#include <algorithm>
#include <cstdlib>

#include "base/ranges.h"
#include "base/text.h"

int monochromeLevel = 128;
GammaSettings gammaSettings;

namespace {

constexpr int kScrollPage = 16;

}  // namespace

int ColourScrollPosition(int position, int request, int thumb, int low, int high) {
    switch (request) {
        case SCROLL_LINE_UP: position -= 1; break;
        case SCROLL_LINE_DOWN: position += 1; break;
        case SCROLL_PAGE_UP: position -= kScrollPage; break;
        case SCROLL_PAGE_DOWN: position += kScrollPage; break;
        case SCROLL_THUMB_POSITION:
        case SCROLL_THUMB_TRACK: position = thumb; break;
        case SCROLL_TOP: position = low; break;
        case SCROLL_BOTTOM: position = high; break;
        default: break;
    }
    return std::clamp(position, low, high);
}

int TypedInRange(const std::string& text, int low, int high) {
    return LeadingIntClamped(text, IntRange{low, high});
}

void StraightGammaLine(int controls[17]) {
    for (int k = 0; k < 16; ++k) controls[k] = 16 * k;
    controls[16] = 255;
}

GammaSettings::GammaSettings() { StraightGammaLine(controls); }

void ResetGammaCurve() {
    gammaSettings.power = 100;
    gammaSettings.function = 'P';
    StraightGammaLine(gammaSettings.controls);
}

char GammaDialogFunction() { return gammaSettings.function == 'u' ? 'P' : gammaSettings.function; }

unsigned GammaChannelMask() {
    return (gammaSettings.blue ? 1u : 0u) | (gammaSettings.green ? 2u : 0u) | (gammaSettings.red ? 4u : 0u);
}

std::string HistogramPixelText(int width, int height) {
    return FormatText("%lld", static_cast<long long>(width) * height);
}

std::string HistogramLargestText(unsigned largest) { return FormatText("%u", largest); }

PixelColourTexts PixelColourDialogTexts(const RgbColour& c) {
    return {FormatText("%02X%02X%02X", c.red, c.green, c.blue), std::to_string(c.red), std::to_string(c.green),
            std::to_string(c.blue)};
}
