// Process-wide settings, named after their LUM.INI keys, with their built-in defaults.
// Every part of the program reads and changes them directly; the configuration file
// reads them at start-up and writes them back at exit.
#pragma once

#include <cstdint>
#include <string>

#include "base/colour.h"

enum DefaultView { VIEW_NORMAL = 0, VIEW_FULL = 1, VIEW_BIG = 2, VIEW_HALF = 3, VIEW_QUARTER = 4 };
enum SaveDirMode { SAVEDIR_USER = 0, SAVEDIR_LASTREAD = 1, SAVEDIR_CURRENT = 2 };
enum SortOrderValue {
    SORT_UNSORTED = 0, SORT_ALPHA = 1, SORT_WIDTH = 2, SORT_EXT = 3,
    SORT_RAND = 4, SORT_SIZE = 5, SORT_TIME = 6
};

// Two numbers stored under one key (an aspect ratio, a width and height).
using Int32Pair = int32_t[2];
using Uint16Pair = uint16_t[2];

#define LUM_KEY(kind, reset, type, name, value, comment) extern type name;
#define LUM_VALUE(reset, type, name, value) extern type name;
#include "base/settings_keys.def"
#undef LUM_KEY
#undef LUM_VALUE

// Which settings go back to their defaults (the `reset` column of settings_keys.def).
enum SettingsReset {
    RESET_ALL,   // every setting: program start and tests
    RESET_LOAD,  // those a configuration load starts from afresh
    RESET_READ   // those each configuration text read starts from afresh
};

// Puts the settings of `which` back to their built-in defaults.
void ResetSettingsToDefaults(SettingsReset which = RESET_ALL);
