// What Save, the quick JPEG save and the crop's immediate save may write over, decided from
// the names alone. Kept free of Win32 so that the engine tests can call them.
#pragma once

#include <string>

#include "core/filetype.h"

// True when `path` names a JPEG file by its extension (.jpg, .jpeg, ...).
bool NamesJpegFile(const std::string& path);

enum QuickSaveAction {
    QUICK_SAVE_NOTHING = 0,    // the save type is not JPEG, or no file is loaded
    QUICK_SAVE_OVER_FILE = 1,  // the file is a JPEG: written over at quality 90
    QUICK_SAVE_AS_SAVE = 2,    // any other file: Save's name rules and questions
};
// The quick JPEG save writes JPEG bytes without asking, so only over a JPEG file: a PNG,
// TIFF, GIF or camera file would otherwise be replaced by a JPEG under its own name.
QuickSaveAction QuickJpegSaveAction(FileType saveType, const std::string& currentPath);

// True when Save's target (the loaded name with the save type's extension) is another file
// than the loaded one. Names are compared as Windows compares them, ignoring the case of
// a-z: IMG_1.JPG saved as JPEG is written over itself as IMG_1.jpg.
bool SaveTargetIsAnotherFile(const std::string& loaded, const std::string& target);
