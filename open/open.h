// A picture load as the user sees it: playback of the earlier picture stops, the new
// picture gets its display mode, an animation starts playing, a camera JPEG is turned
// upright, and the folder and file histories and the folder list follow what was opened.
// Everything that loads a picture for the user goes through here: the shell's commands,
// and the runs over many files (sheets/).
#pragma once

#include <string>

#include "core/loader.h"

// Loads the requested file into the current image: 0, or negative after reporting.
int LoadImageFile(const LoadRequest& request);

// Page `index` (0-based) of the current multi-page file, laid out as a new picture is:
// LoadPage's result.
int LoadPageOfPicture(int index);

// The BossAlert picture (Ctrl+Shift+F12): loaded in BestFitNoBorder without touching the
// histories; it comes from outside the folder list, which must be collected again before
// the next step. 0 or negative after reporting; 1 when no picture is set.
int LoadBossPicture();
