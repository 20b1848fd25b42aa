// The settings of the "Setup Slide Show and View" dialog as plain data: read from the
// settings, checked, stored back, and the folder list rebuilt for them. The dialog
// procedure only moves these values to and from its controls.
#pragma once

#include <string>

// The check boxes cover the first 16 type patterns ("*.BMP" ... "*.RAW").
constexpr int kSetupTypeCount = 16;

struct ViewSetupValues {
    std::string duration;  // slide-show seconds as the dialog shows them ("%3.2f")
    std::string fileSpec;
    bool types[kSetupTypeCount] = {};
    int defaultView = 0;  // DefaultView
    int sortKey = 1;      // SortOrderValue, 0..6
    bool reverse = false;
    bool slideShowCursor = false;
    bool slideShowBorder = false;
    bool nextFileCursor = false;
    bool nextFileBorder = false;
    bool forceListOrder = false;
    bool startListAgain = false;
    bool shortTitle = false;
};

// The text shown when OK finds no file type ticked (caption "Viewer").
extern const char* const kNoValidFileTypesText;
// The text shown when OK finds a duration that is no number (caption "Viewer").
extern const char* const kBadDurationText;

// The values the dialog opens with.
ViewSetupValues ReadViewSetup();

// "Restore Defaults": changes the settings themselves at once (a later Cancel keeps them):
// 3 s slide shows, alphabetical order forward, no file pattern of the user, "Fit Screen if Big",
// every type on, the slide-show and next-file cursor and border off, the long title,
// wrapping at the ends of the list, JPEG quality 90. The folder list is rebuilt before
// the next step so that it follows them.
void RestoreViewSetupDefaults();

enum ViewSetupCheck { VIEW_SETUP_OK = 0, VIEW_SETUP_NO_TYPES = -1, VIEW_SETUP_BAD_DURATION = -2 };
// Whether OK may store `values`: no ticked type, or a duration that is no number, keep
// the dialog open with a message.
int CheckViewSetup(const ViewSetupValues& values);

// OK, once CheckViewSetup passed: stores every value (a negative duration becomes 0; the
// "RAW Files" flag also covers the camera RAW patterns and names without an extension),
// sorts the current list when the order changed, then collects the whole folder again
// (unless the list came from a list file), sorts it and marks it fresh. The position is
// before the first entry afterwards.
void StoreViewSetup(const ViewSetupValues& values);

// Milliseconds for a duration text in seconds: -1 when it is no number; a negative number
// gives 0; the result is capped at the longest timer interval, 0x7FFFFFFF ms.
long long DurationFromText(const std::string& seconds);
