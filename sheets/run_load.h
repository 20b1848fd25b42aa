// The load of one input file of a run over many files (a batch run, a movie made of the
// file list): the user's load, with the histories left as they are and only the first
// frame of an animation decoded. The run itself puts GIFAnimation back when it ends.
#pragma once

#include <string>

// 0, or negative after the load reported.
int LoadRunInput(const std::string& path);
