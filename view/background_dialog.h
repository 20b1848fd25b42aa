// The background colour dialogs for transparent pixels, apart from the dialogs: what they
// open with and what their OK stores. PNG and WebP files each have their own colour and
// switch; the two dialogs differ only in which pair they edit.
#pragma once

#include <string>

enum class BackgroundKind { Png, Webp };

// The colour box and the check box of a background dialog.
struct BackgroundDialogValues {
    std::string colour;  // "RRGGBB"
    bool use = false;    // use the colour (PNG: compose alpha onto it instead of black)
};

// Opening: the kind's colour as "%02X%02X%02X" and its switch (PNGBackgroundColour and
// PNGUserPackground, or WEBPBackgroundColour and WEBPUserPackground).
BackgroundDialogValues OpenBackgroundDialog(BackgroundKind kind);
// OK: the first 9 characters typed must be six hex digits RRGGBB (blanks around them
// allowed); then the kind's colour and switch take the values and true is returned.
// False leaves both settings as they were.
bool ApplyBackgroundDialog(BackgroundKind kind, const BackgroundDialogValues& values);
