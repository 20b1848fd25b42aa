// The background colour dialogs for transparent pixels, apart from the dialog: what they
// open with and what their OK stores.
#pragma once

#include <string>

// The colour box and the check box of the PNG background dialog.
struct BackgroundDialogValues {
    std::string colour;  // "RRGGBB"
    bool use = false;    // compose alpha onto the colour instead of black
};

// Opening: PNGBackgroundColour as "%02X%02X%02X" and PNGUserPackground.
BackgroundDialogValues OpenPngBackgroundDialog();
// OK: the first 9 characters typed must be six hex digits RRGGBB (blanks around them
// allowed); then PNGBackgroundColour and PNGUserPackground take the values and true is
// returned. False leaves both settings as they were.
bool ApplyPngBackgroundDialog(const BackgroundDialogValues& values);
