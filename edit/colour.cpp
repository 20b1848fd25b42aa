#include "edit/colour.h"

#include <functional>

#include "edit/edit.h"
#include "ops/colour.h"

int RunColourCommand(int command) {
    switch (command) {
        case COLOUR_NEGATIVE:
        case COLOUR_GREYSCALE:
        case COLOUR_SWAP_RED_BLUE:
        case COLOUR_SWAP_RED_GREEN:
        case COLOUR_SWAP_GREEN_BLUE:
        case COLOUR_ROTATE: break;
        default: return -1;
    }
    EditRules rules;
    rules.caption = "Viewer";
    return RunEdit(rules, [command](CDib& dib) {
        if (command == COLOUR_NEGATIVE) return NegativeImage(dib);
        if (command == COLOUR_GREYSCALE) return GreyscaleImage(dib);
        return SwapChannels(dib, command);
    });
}

namespace {

int RunColourEdit(const std::function<int(CDib&)>& kernel) {
    EditRules rules;
    rules.caption = "Viewer";
    return RunEdit(rules, kernel);
}

}  // namespace

int AdjustColoursOk(int dr, int dg, int db) {
    if (dr == 0 && dg == 0 && db == 0) return 0;
    return RunColourEdit([=](CDib& dib) { return AdjustRgb(dib, dr, dg, db); });
}

void PreviewBrightnessContrast(CDib& preview, int brightness, int contrast) {
    if (brightness != 0) AdjustRgb(preview, brightness, brightness, brightness);
    ContrastImage(preview, contrast);
}

int BrightnessContrastOk(int brightness, int contrast) {
    if (brightness == 0 && contrast == 0) return 0;
    return RunColourEdit([=](CDib& dib) {
        if (brightness != 0 && AdjustRgb(dib, brightness, brightness, brightness) < 0) return -1;
        return ContrastImage(dib, contrast);
    });
}

int BrightnessAutoContrastOk(int brightness) {
    return RunColourEdit([=](CDib& dib) {
        if (brightness != 0 && AdjustRgb(dib, brightness, brightness, brightness) < 0) return -1;
        return AutoContrast(dib);
    });
}

int MonochromeOk(int level) {
    return RunColourEdit([=](CDib& dib) { return MonochromeImage(dib, level); });
}

int HslOk(int hue, int saturation, int value) {
    return RunColourEdit([=](CDib& dib) { return AdjustHsl(dib, hue, saturation, value); });
}

int GammaOk(char function, int powerPercent, const int* controls, unsigned mask) {
    uint8_t table[256];
    GammaTable(function, powerPercent, controls, table);
    return RunColourEdit([&](CDib& dib) { return ApplyTable(dib, table, mask); });
}
