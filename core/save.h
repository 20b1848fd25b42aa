// Writing the current picture: the one dispatcher every write goes through, the names it
// proposes, and the Save-As filter lists.
#pragma once

#include <functional>
#include <string>

#include "core/filetype.h"
#include "core/formats.h"

// The last path chosen for writing.
extern std::string outputPath;
// Quality for the JPEG writer.
extern int jpegQuality;
// Quality (1..100) and the lossless choice for the WebP writer; kept for the run only.
extern float webpQuality;
extern bool webpLossless;

// Writes the current picture to `path` in CurrentImage.saveType: 0, or -1 after reporting.
// The file is replaced only when the whole write succeeded.
// `beforeReplace` (may be empty) runs once the new file is complete, just before it
// replaces an existing one (Save offers the old file to the recycle bin there).
int WriteImageFile(const std::string& path, const std::function<void()>& beforeReplace = {});
// Writes the current picture to `path` after checking that it can be created there
// ("Error in Opening file: " naming it otherwise, also for a path too long for one):
// used once per frame when an animation is taken apart. 0, or -1 after one report.
int WriteCurrentImageTo(const std::string& path);

// The save folder and the current file's name without its extension; an empty save
// folder first becomes the last folder read from.
std::string ProposeSaveName(const std::string& currentPath);
// The current path with its extension replaced by the one of `type`.
std::string SaveNameWithType(const std::string& currentPath, FileType type);
// Extension (without the dot) a file of `type` is written with.
const char* SaveExtension(FileType type);
// The Save-As dialog's list (kSaveFilterCount entries in the order of core/formats.h).
const FileType* SaveFilterOrder(bool tnsBrowsing);

// After the Save-As dialog: cuts the typed extension, remembers the folder, maps the
// chosen filter entry (1-based) to saveType and appends its extension. 0, or -1 after
// reporting an entry without a type.
int CompleteSaveName(const std::string& chosen, int filterIndex, bool tnsBrowsing, std::string* path);
// Asks before replacing an existing file: 0 = go ahead, -1 = the user declined.
int ConfirmOverwrite(const std::string& path);


// "Set Up Write Directory": the save folder typed by the user, as it is stored. At most
// 260 characters are taken; trailing line feeds, returns and spaces go, and a "\" ends it.
// False (and `folder` untouched) when the result is empty or too long for a path.
bool SaveFolderFromText(const std::string& text, std::string* folder);
// Applies the dialog's OK: the type (0 typed folder, 1 last input folder, 2 current
// directory) and the folder it gives.
void ApplySaveFolderChoice(int type, const std::string& typed, const std::string& currentDirectory);
