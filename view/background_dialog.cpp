#include "view/background_dialog.h"

#include "base/colour.h"
#include "base/settings.h"

namespace {

// The box is read through a buffer of this many characters.
constexpr size_t kColourChars = 9;

}  // namespace

BackgroundDialogValues OpenPngBackgroundDialog() {
    BackgroundDialogValues values;
    values.colour = HexColourText(PNGBackgroundColour);
    values.use = PNGUserPackground != 0;
    return values;
}

bool ApplyPngBackgroundDialog(const BackgroundDialogValues& values) {
    RgbColour colour;
    if (!ParseHexColour(values.colour.substr(0, kColourChars), &colour)) return false;
    PNGBackgroundColour = colour;
    PNGUserPackground = values.use ? 1 : 0;
    return true;
}
