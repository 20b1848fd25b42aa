// The frame tools around playback: the animation builder, which turns the pictures of
// the current folder into the frames of one animation, and the decomposer, which writes
// every frame of an animation as a numbered picture file.
#pragma once

#include <cstdint>
#include <string>

#include "core/filetype.h"

// The builder's dialog values, kept for the run.
struct BuildAnimationOptions {
    int delayMs = 10;        // every frame's delay in milliseconds
    bool ascending = true;   // the folder's list first to last; else last to first
};
extern BuildAnimationOptions buildAnimationOptions;

// The delay box: a whole number of milliseconds, 0 to 65535, blanks around it allowed.
bool ParseFrameDelay(const std::string& text, int* delayMs);

// Loads every picture of the current folder's list (GIFs as their first frame only) and
// makes them the frames of a new animation, which then plays; the program is busy while
// it runs, and Escape ends it with the frames read so far. A picture of another size than
// the first, or one that cannot be read, is left out and the user is asked whether to go
// on. 0, or -1 when no frame could be had.
int BuildAnimation();

// The decomposer's choices: the output types it offers, in the order of its buttons.
enum DecomposeType { DECOMPOSE_BMP = 0, DECOMPOSE_JPEG = 1, DECOMPOSE_TGA = 2, DECOMPOSE_PNG = 3 };
FileType DecomposeFileType(DecomposeType type);
// The button chosen first, from the type the picture would be saved in.
DecomposeType DecomposeTypeFor(FileType saveType);
// The base name offered: the current file's path without its extension.
std::string DecomposeBaseName(const std::string& currentPath);
// The name of frame `index`: base, four digits, the type's extension.
std::string DecomposeFrameName(const std::string& base, int index, DecomposeType type);

// Writes frame i of the animation to DecomposeFrameName(base, i, type) for every frame;
// the first frame that cannot be written ends it with one message. Afterwards the
// picture, its title and save type are as before, and a playing animation plays on from
// its first frame. 0, or -1 after reporting.
int DecomposeAnimation(const std::string& base, DecomposeType type);
