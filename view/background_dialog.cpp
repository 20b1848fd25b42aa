#include "view/background_dialog.h"

#include "base/colour.h"
#include "base/settings.h"

namespace {

// The box is read through a buffer of this many characters.
constexpr size_t kColourChars = 9;

RgbColour& ColourOf(BackgroundKind kind) {
    return kind == BackgroundKind::Png ? PNGBackgroundColour : WEBPBackgroundColour;
}

int& SwitchOf(BackgroundKind kind) { return kind == BackgroundKind::Png ? PNGUserPackground : WEBPUserPackground; }

}  // namespace

BackgroundDialogValues OpenBackgroundDialog(BackgroundKind kind) {
    BackgroundDialogValues values;
    values.colour = HexColourText(ColourOf(kind));
    values.use = SwitchOf(kind) != 0;
    return values;
}

bool ApplyBackgroundDialog(BackgroundKind kind, const BackgroundDialogValues& values) {
    RgbColour colour;
    if (!ParseHexColour(values.colour.substr(0, kColourChars), &colour)) return false;
    ColourOf(kind) = colour;
    SwitchOf(kind) = values.use ? 1 : 0;
    return true;
}
