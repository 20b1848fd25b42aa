// A picture load as the user sees it: playback of the earlier picture stops, the new
// picture gets its display mode, an animation starts playing, and the folder and file
// histories and the folder list follow what was opened.
#pragma once

#include <string>

#include "core/loader.h"

enum HistoryMode { HISTORY_NONE = 0, HISTORY_FOLDER_AND_FILE = 1, HISTORY_FOLDER = 2 };

// Loads `path` (cleaned in place) into the current image: 0, or negative after reporting.
int LoadImageFile(std::string& path, int historyMode);

// Page `index` (0-based) of the current multi-page file, laid out as a new picture is:
// LoadPage's result.
int LoadPageOfPicture(int index);

// The BossAlert picture (Ctrl+Shift+F12): loaded in BestFitNoBorder without touching the
// histories; it comes from outside the folder list, which must be collected again before
// the next step. 0 or negative after reporting; 1 when no picture is set.
int LoadBossPicture();
