// The command table and the dispatch of WM_COMMAND. Each row names a command's handler and
// its flags; blocking, the commands not built yet and (in shell/menu.cpp) the grey menu
// items all come from the flags, so a command's rules are written once, in its row.
#include "shell/command_table.h"

#include <iterator>

#include "base/appstate.h"
#include "base/ids.h"
#include "core/current_image.h"
#include "core/filetype.h"
#include "core/report.h"
#include "platform/host.h"
#include "edit/animation.h"
#include "settings/history.h"
#include "view/command_rules.h"
#include "shell/animation_dialogs.h"
#include "shell/background_dialogs.h"
#include "shell/commands.h"
#include "shell/display.h"
#include "shell/info_dialogs.h"
#include "shell/insert_image.h"
#include "shell/metadata_dialogs.h"
#include "shell/resize_dialog.h"
#include "shell/rotate_dialog.h"
#include "shell/settings_dialogs.h"
#include "shell/startup.h"
#include "shell/view_setup_dialog.h"

namespace {

// Handlers whose work lives in a dialog or another module of its own.
LRESULT OnNotImplemented(HWND, int) {
    ShowWarning("This File Menu Option Not Yet Implemented!", "Viewer", kMbOk | kMbIconWarning);
    return 0;
}
LRESULT OnDisplayModeCommand(HWND window, int id) {
    OnDisplayCommand(window, id);
    return 0;
}
LRESULT OnFileInfo(HWND window, int) {
    OpenFileInformation(window);
    return 0;
}
LRESULT OnSystemInfo(HWND window, int) {
    ShowSystemInformation(window);
    return 0;
}
LRESULT OnAbout(HWND window, int) {
    ShowAboutBox(window);
    return 0;
}
LRESULT OnRotateAngle(HWND window, int) {
    OnRotateVariableAngle(window);
    return 0;
}
LRESULT OnInsert(HWND window, int) {
    OnInsertImage(window);
    return 0;
}
LRESULT OnPreferences(HWND window, int) {
    ShowPreferences(window);
    return 0;
}
LRESULT OnResize(HWND window, int) {
    OnResizeCommand(window);
    return 0;
}
LRESULT OnViewSetup(HWND window, int) {
    OnViewSetupCommand(window);
    return 0;
}
LRESULT OnSingleStep(HWND, int) {
    AnimationSingleStep();
    return 0;
}
LRESULT OnResume(HWND, int) {
    AnimationResume();
    return 0;
}
LRESULT OnAnimationSetupCommand(HWND window, int) {
    OnAnimationSetup(window);
    return 0;
}
LRESULT OnBuildAnimationCommand(HWND window, int) {
    OnBuildAnimation(window);
    return 0;
}
LRESULT OnDecomposeCommand(HWND window, int) {
    OnDecompose(window);
    return 0;
}
LRESULT OnGifBackgroundCommand(HWND window, int) {
    OnGifBackground(window);
    return 0;
}
LRESULT OnPngBackgroundCommand(HWND window, int) {
    OnPngBackground(window);
    return 0;
}
LRESULT OnWebpBackgroundCommand(HWND window, int) {
    OnWebpBackground(window);
    return 0;
}

constexpr unsigned kChanges = CMD_CHANGES_PICTURE;
constexpr unsigned kNotBuilt = CMD_NOT_BUILT;
// A command not built yet that, once built, changes the picture.
constexpr unsigned kNotBuiltChanges = CMD_NOT_BUILT | CMD_CHANGES_PICTURE;
// The lossless JPEG commands: change the file's picture, need a JPEG file.
constexpr unsigned kLosslessJpeg = CMD_CHANGES_PICTURE | CMD_NEEDS_JPEG;

// One row per command id. Commands not built yet have no handler; the history entries
// (IDM_FOLDER_HISTORY_FIRST + i, IDM_FILE_HISTORY_FIRST + i) are ranges and dispatched in
// OnCommand; an id without a row does nothing.
constexpr CommandRow kCommands[] = {
    // --- file ---
    {IDM_NOT_IMPLEMENTED, OnNotImplemented, 0},
    {IDM_OPEN, OnOpen, 0},
    {IDM_REOPEN, OnReOpen, 0},
    {IDM_SAVE, OnSave, kChanges},
    {IDM_SAVE_AS, OnSaveAs, 0},  // writes what is shown, or an animation's frames, also while it plays
    {IDM_QUICK_JPEG, OnQuickJpegSave, kChanges},
    {IDM_DELETE_FILE, OnDeleteFile, 0},
    {IDM_WALLPAPER, OnWallpaper, kChanges},
    {IDM_EXIT, OnExit, CMD_QUICK_VIEW},
    {IDM_PRINT, nullptr, kNotBuilt},
    {IDM_PRINT_SETUP, nullptr, kNotBuilt},
    {IDM_EMAIL, nullptr, kNotBuilt},
    {IDM_RUN_BATCH, nullptr, kNotBuilt},
    {IDM_BATCH, nullptr, kNotBuilt},
    {IDM_TIFF_NEXT_PAGE, OnNextPage, CMD_NEEDS_TIFF},
    {IDM_TIFF_PAGE_NUMBER, OnPageNumber, CMD_NEEDS_TIFF},
    // --- information ---
    {IDM_FILE_INFO, OnFileInfo, 0},
    {IDM_SYSTEM_INFO, OnSystemInfo, 0},
    {IDM_ABOUT, OnAbout, 0},
    {IDM_COLOUR_COUNT, OnColourCount, 0},
    {IDM_HISTOGRAM, OnColourDialog, kChanges},
    {IDM_PIXEL_COLOUR, OnPixelColour, kChanges},
    {IDM_EDIT_COMMENT, OnEditComment, kChanges},
    {IDM_HELP, nullptr, kNotBuilt},
    {IDM_WEBSITE, OnWebsite, 0},
    // --- navigation and slide show ---
    {IDM_LOAD_NEXT, OnNavigate, 0},
    {IDM_LOAD_PREVIOUS, OnNavigate, 0},
    {IDM_LOAD_FIFTH, OnNavigate, 0},
    {IDM_LOAD_BACK_FIVE, OnNavigate, 0},
    {IDM_BEGINNING_OF_LIST, OnNavigate, 0},
    {IDM_SLIDE_SHOW, OnSlideShow, 0},
    {IDM_START_DEVE, nullptr, kNotBuilt | CMD_QUICK_VIEW},
    // --- display modes (shell/display.cpp) ---
    {IDM_BEST_FIT, OnDisplayModeCommand, 0},
    {IDM_ZOOM, OnDisplayModeCommand, 0},
    {IDM_ZOOM_SAME_ASPECT, OnDisplayModeCommand, 0},
    {IDM_NO_BORDER, OnDisplayModeCommand, 0},
    {IDM_HALF, OnDisplayModeCommand, 0},
    {IDM_DOUBLE, OnDisplayModeCommand, 0},
    {IDM_QUADRUPLE, OnDisplayModeCommand, 0},
    {IDM_QUARTER, OnDisplayModeCommand, 0},
    {IDM_NORMAL, OnDisplayModeCommand, 0},
    {IDM_FULL_SCREEN, OnDisplayModeCommand, 0},
    {IDM_WHEEL_ZOOM, OnDisplayModeCommand, 0},
    {IDM_FIXED_WINDOW, OnDisplayModeCommand, 0},
    {IDM_FIXED_SIZE, OnDisplayModeCommand, 0},
    {IDM_WHEEL_RATE, OnDisplayModeCommand, 0},
    // --- picture: transforms, undo, size, colours ---
    {IDM_ROTATE_90, OnTransform, kChanges},
    {IDM_ROTATE_180, OnTransform, kChanges},
    {IDM_ROTATE_270, OnTransform, kChanges},
    {IDM_FLIP_HORIZONTAL, OnTransform, kChanges},
    {IDM_FLIP_VERTICAL, OnTransform, kChanges},
    {IDM_ROTATE_ANGLE, OnRotateAngle, kChanges},
    {IDM_EDIT_UNDO, OnUndo, kChanges | CMD_NEEDS_UNDO},
    {IDM_IMAGE_UNDO, OnUndo, kChanges | CMD_NEEDS_UNDO},
    // Image > Redo is greyed with an empty undo history; Edit > Redo is not.
    {IDM_EDIT_REDO, OnRedo, kChanges},
    {IDM_IMAGE_REDO, OnRedo, kChanges | CMD_NEEDS_UNDO},
    {IDM_INSERT_IMAGE, OnInsert, kChanges},
    {IDM_RESIZE, OnResize, kChanges},
    {IDM_COLOUR_DEPTH, OnColourDepth, kChanges},
    {IDM_CROP_ASPECT, OnCropAspect, kChanges},
    {IDM_PAD_ASPECT, nullptr, kNotBuiltChanges},
    {IDM_TRAPEZOID, nullptr, kNotBuiltChanges},
    {IDM_PARALLELOGRAM, nullptr, kNotBuiltChanges},
    {IDM_SPHERICAL, nullptr, kNotBuiltChanges},
    {IDM_MAPPING, nullptr, kNotBuiltChanges},
    {IDM_BORDERS, nullptr, kNotBuiltChanges},
    {IDM_ADD_TEXT, nullptr, kNotBuiltChanges},
    {IDM_MOSAIC, nullptr, kNotBuiltChanges},
    {IDM_COLOURS_RGB, OnColourDialog, kChanges},
    {IDM_COLOURS_HSV, OnColourDialog, kChanges},
    {IDM_NEGATIVE, OnColourCommand, kChanges},
    {IDM_GREYSCALE, OnColourCommand, kChanges},
    {IDM_MONOCHROME, OnColourDialog, kChanges},
    {IDM_SWAP_RED_BLUE, OnColourCommand, kChanges},
    {IDM_SWAP_RED_GREEN, OnColourCommand, kChanges},
    {IDM_SWAP_GREEN_BLUE, OnColourCommand, kChanges},
    {IDM_ROTATE_COLOURS, OnColourCommand, kChanges},
    {IDM_GAMMA, OnColourDialog, kChanges},
    {IDM_BRIGHTNESS, OnColourDialog, kChanges},
    {IDM_BLUR, OnMenuFilter, kChanges},
    {IDM_SHARPEN, OnMenuFilter, kChanges},
    {IDM_EMBOSS_MEDIUM, OnMenuFilter, kChanges},
    {IDM_EMBOSS_COLOUR, OnMenuFilter, kChanges},
    {IDM_USER_FILTER, OnMenuFilter, kChanges},
    {IDM_OTHER_FILTERS, OnOtherFilters, kChanges},
    {IDM_BUILD_ICON, nullptr, kNotBuiltChanges},
    {IDM_BUILD_ANIMATION, OnBuildAnimationCommand, kChanges},
    // Writes the frames and gives the picture back as it was: it may run while the
    // animation plays.
    {IDM_DECOMPOSE, OnDecomposeCommand, 0},
    {IDM_COLLAGE, nullptr, kNotBuilt},
    {IDM_ROTATE_BACKGROUND, nullptr, kNotBuilt},
    {IDM_PNG_BACKGROUND, OnPngBackgroundCommand, 0},
    {IDM_WEBP_BACKGROUND, OnWebpBackgroundCommand, 0},
    {IDM_ZTREE_COLOUR, nullptr, kNotBuilt},
    // --- lossless JPEG ---
    {IDM_LOSSLESS_ROTATE_90, OnLosslessCommand, kLosslessJpeg},
    {IDM_LOSSLESS_ROTATE_180, OnLosslessCommand, kLosslessJpeg},
    {IDM_LOSSLESS_ROTATE_270, OnLosslessCommand, kLosslessJpeg},
    {IDM_LOSSLESS_FLIP_H, OnLosslessCommand, kLosslessJpeg},
    {IDM_LOSSLESS_FLIP_V, OnLosslessCommand, kLosslessJpeg},
    {IDM_LOSSLESS_TRANSPOSE, OnLosslessCommand, kLosslessJpeg},
    {IDM_LOSSLESS_TRANSVERSE, OnLosslessCommand, kLosslessJpeg},
    {IDM_LOSSLESS_NULL, OnLosslessCommand, kLosslessJpeg},
    {IDM_LOSSLESS_CROP, OnLosslessCrop, kLosslessJpeg},
    {IDM_AUTO_ORIENTATION, OnLosslessCommand, kLosslessJpeg},
    // --- clipboard, capture, thumbnails ---
    {IDM_COPY, nullptr, kNotBuilt},
    {IDM_PASTE, nullptr, kNotBuilt},
    {IDM_CAPTURE, nullptr, kNotBuilt},
    {IDM_CANCEL, nullptr, kNotBuilt},
    {IDM_BUILD_THUMBNAILS, nullptr, kNotBuilt},
    {IDM_THUMBNAIL_SETUP, nullptr, kNotBuilt},
    // --- animation ---
    {IDM_GIF_SINGLE_STEP, OnSingleStep, 0},
    {IDM_GIF_RESUME, OnResume, 0},
    {IDM_GIF_SETUP, OnAnimationSetupCommand, 0},
    {IDM_GIF_BACKGROUND, OnGifBackgroundCommand, 0},
    // --- setup ---
    {IDM_PREFERENCES, OnPreferences, 0},
    {IDM_VIEW_SETUP, OnViewSetup, CMD_NOT_IN_SLIDE_SHOW},
    {IDM_SAVE_DIRECTORY, OnSaveDirectory, 0},
    {IDM_SHOW_CURSOR, OnShowHideCursor, 0},
    {IDM_ALLOW_MULTIPLE, OnAllowMultiple, CMD_FIRST_INSTANCE_ONLY},
    {IDM_SAVE_HISTORY, OnToggleSetting, 0},
    {IDM_SAVE_DATE, OnToggleSetting, 0},
    {IDM_ALLOW_EXIT_ESC, OnToggleSetting, 0},
};

// The table's own rules, checked by the compiler: no id has two rows, and a row has a
// handler exactly when its command is built.
constexpr bool IdsAreUnique() {
    for (size_t i = 0; i < std::size(kCommands); ++i)
        for (size_t j = i + 1; j < std::size(kCommands); ++j)
            if (kCommands[i].id == kCommands[j].id) return false;
    return true;
}
constexpr bool HandlersMatchFlags() {
    for (const CommandRow& row : kCommands)
        if ((row.handler == nullptr) != ((row.flags & CMD_NOT_BUILT) != 0)) return false;
    return true;
}
static_assert(IdsAreUnique(), "a command id has two rows");
static_assert(HandlersMatchFlags(), "a built command needs a handler, one not built yet has none");

}  // namespace

const char kNotBuiltText[] = "This command is not available yet.";

const CommandRow* FindCommandRow(int id) {
    for (const CommandRow& row : kCommands)
        if (row.id == id) return &row;
    return nullptr;
}

unsigned CommandFlagsOf(int id) {
    const CommandRow* row = FindCommandRow(id);
    return row != nullptr ? row->flags : 0;
}

CommandState CurrentCommandState() {
    CommandState state;
    state.runMode = RunMode;
    state.playbackBlocks = AnimationPlaying();
    state.jpegFile = CurrentImage.fileType == FT_JPEG;
    state.tiffFile = CurrentImage.fileType == FT_TIFF;
    state.undoEmpty = CurrentImage.undoTop < 0;
    state.firstInstance = instanceLink.isFirst;
    state.busyWriting = EditState == EDIT_WRITING_ANIMATION;
    return state;
}

bool CommandIsBlocked(int id) { return CommandBlocked(CommandFlagsOf(id), CurrentCommandState()); }

LRESULT OnCommand(HWND window, int id) {
    // The cursor follows "Show/Hide Cursor", except while the slide show decides it.
    if (RunMode != RUN_SLIDESHOW) ShowCursorCounted(cursorVisibleFlag);
    // Blocked commands do nothing.
    if (CommandIsBlocked(id)) return 0;
    if (id >= IDM_FOLDER_HISTORY_FIRST && id < IDM_FOLDER_HISTORY_FIRST + kHistoryEntries) {
        OnFolderHistory(window, id - IDM_FOLDER_HISTORY_FIRST);
        return 0;
    }
    if (id >= IDM_FILE_HISTORY_FIRST && id < IDM_FILE_HISTORY_FIRST + kHistoryEntries) {
        OnFileHistory(window, id - IDM_FILE_HISTORY_FIRST);
        return 0;
    }
    const CommandRow* row = FindCommandRow(id);
    if (row == nullptr) return 0;
    if (row->flags & CMD_NOT_BUILT) {
        ShowMessage(kNotBuiltText, "Viewer", kMbOk | kMbIconWarning);
        return 0;
    }
    return row->handler(window, id);
}
