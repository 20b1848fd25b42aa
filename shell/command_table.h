// The command table and the handlers its rows name. Every command id the program answers
// has one row: its handler and its flags (view/command_rules.h), from which the dispatch,
// the blocking during playback and quick view, the grey menu items and the answer of the
// commands not built yet all follow. The handlers live in files by subject.
#pragma once

#include <windows.h>

#include <string>

#include "view/command_rules.h"

// A command's handler: 0, or -1 when Save As was cancelled or failed. `id` tells apart
// the commands one handler serves.
using CommandHandler = LRESULT (*)(HWND window, int id);

struct CommandRow {
    int id;
    CommandHandler handler;  // null exactly for the commands not built yet
    unsigned flags;          // CommandFlag bits
};

// The row of command `id`, or null when it has none (the history entries, which are ranges,
// and the ids that no command answers).
const CommandRow* FindCommandRow(int id);
// The flags of command `id`; 0 for an id without a row.
unsigned CommandFlagsOf(int id);
// The program's state now, as the blocking and greying rules see it.
CommandState CurrentCommandState();

// --- shell/file_commands.cpp: open, reopen, save, delete, wallpaper ---
LRESULT OnOpen(HWND window, int id);
LRESULT OnReOpen(HWND window, int id);
LRESULT OnSave(HWND window, int id);
LRESULT OnSaveAs(HWND window, int id);
LRESULT OnQuickJpegSave(HWND window, int id);
LRESULT OnDeleteFile(HWND window, int id);
LRESULT OnWallpaper(HWND window, int id);
LRESULT OnExit(HWND window, int id);
// Loads a file the user chose (Open, ReOpen, a file history entry) in Normal mode, ending
// a slide show; a failed load offers the Open dialog again.
void LoadChosenFile(HWND window, std::string path);
// The next Open dialog starts on `path` (when it fits the dialog's buffer).
void ProposeOpenPath(const std::string& path);
// The picture Save-As dialog: 0 with the path to write (the save type set), -1 when
// cancelled or refused.
int ChooseSaveName(HWND owner, std::string* path);

// --- shell/navigation_commands.cpp: stepping through the folder, slide show, histories ---
// Next, previous, fifth next, back five and the beginning of the folder's list.
LRESULT OnNavigate(HWND window, int id);
LRESULT OnSlideShow(HWND window, int id);
// The folder (3000 + i) and file (3100 + i) history entries.
void OnFolderHistory(HWND window, int index);
void OnFileHistory(HWND window, int index);

// --- shell/page_commands.cpp: the pages of a multi-page (TIFF) file ---
// "Step to next TIFF Page" (Space).
LRESULT OnNextPage(HWND window, int id);
// "Get TIFF Page Number": the page dialog.
LRESULT OnPageNumber(HWND window, int id);
// One page forwards (+1) or back (-1); a beep past the first or last page.
void StepPage(HWND window, int step);

// --- shell/picture_commands.cpp: transforms, undo, colour count and depth, filters ---
LRESULT OnTransform(HWND window, int id);
LRESULT OnUndo(HWND window, int id);
LRESULT OnRedo(HWND window, int id);
LRESULT OnColourCount(HWND window, int id);
LRESULT OnColourDepth(HWND window, int id);
LRESULT OnMenuFilter(HWND window, int id);
LRESULT OnOtherFilters(HWND window, int id);
LRESULT OnColourCommand(HWND window, int id);
LRESULT OnColourDialog(HWND window, int id);
LRESULT OnPixelColour(HWND window, int id);
LRESULT OnLosslessCommand(HWND window, int id);

// --- shell/crop_tool.cpp: the crop's aspect ratio, the lossless crop selection ---
LRESULT OnCropAspect(HWND window, int id);
LRESULT OnLosslessCrop(HWND window, int id);

// What a command not built yet answers.
extern const char kNotBuiltText[];

// --- shell/metadata_dialogs.cpp: the picture's comment ---
LRESULT OnEditComment(HWND window, int id);

// --- shell/setup_commands.cpp: setting toggles, cursor, save folder, web site ---
LRESULT OnToggleSetting(HWND window, int id);
LRESULT OnAllowMultiple(HWND window, int id);
LRESULT OnShowHideCursor(HWND window, int id);
LRESULT OnSaveDirectory(HWND window, int id);
LRESULT OnWebsite(HWND window, int id);
