// Process-wide state of the running program that the engine and the shell both read.
#pragma once

#include <string>

// What the program is doing as a whole; decides where reports go and which keys work.
enum RunModeValue {
    RUN_NORMAL = 0,
    RUN_QUICKVIEW = 1,
    RUN_TNS_BROWSE = 2,
    RUN_FROM_TNS = 3,
    RUN_BATCH = 4,
    RUN_SLIDESHOW = 5,
    RUN_STEPPING = 6,
    RUN_LONG_OPERATION = 7,
    RUN_LONG_RAW = 8,
    RUN_SECONDARY = 9,
};
extern int RunMode;

// True while a long colour reduction or a camera RAW decode runs (run modes 7 and 8). Such
// work pumps messages so that Escape can end it; nothing else may start meanwhile, since
// it would load or change the picture and the file the work is still reading.
inline bool LongWorkRunning(int runMode) { return runMode == RUN_LONG_OPERATION || runMode == RUN_LONG_RAW; }

// Sets the run mode of long work for its lifetime and puts back the mode it found, however
// the work ends. The work polls Cancelled() between its steps.
class LongWorkScope {
public:
    explicit LongWorkScope(int mode) : mode_(mode), previous_(RunMode) { RunMode = mode; }
    ~LongWorkScope() { RunMode = previous_; }
    LongWorkScope(const LongWorkScope&) = delete;
    LongWorkScope& operator=(const LongWorkScope&) = delete;
    // Escape (CancelLongWork) ended the work.
    bool Cancelled() const { return RunMode != mode_; }

private:
    int mode_;
    int previous_;
};

// Escape during long work: the run mode goes back to normal, which the work sees and
// stops at its next step. False when no long work runs.
bool CancelLongWork();

// What the next mouse click on the picture means; 0 = nothing special.
enum EditStateValue {
    EDIT_NONE = 0,
    EDIT_RED_EYE_AREA = 1,         // the selection is for red-eye reduction
    EDIT_MOVE_SELECTION = 2,       // a crop selection is being moved or resized
    EDIT_PICK_BACKGROUND = 4,      // pick the background colour for trapezoid and rotate
    EDIT_PICK_PIXEL = 5,           // pick a pixel's colour
    EDIT_PICK_ROTATE = 6,          // pick a colour for the variable rotation, then reopen it
    EDIT_PICK_TRAPEZOID = 7,       // ... for the trapezoid correction
    EDIT_PICK_PARALLELOGRAM = 8,   // ... for the parallelogram correction
    EDIT_PICK_SPHERICAL = 9,       // ... for the spherical correction
    EDIT_LOSSLESS_CROP = 10,       // lossless JPEG crop selection
    EDIT_ICON_AREA = 11,           // icon area selection
    EDIT_WRITING_ANIMATION = 12,   // an animation or movie is being written
    EDIT_PLACE_TEXT = 14,          // placing inserted text
    EDIT_PLACE_IMAGE = 17,         // placing an inserted picture
};
// States 4 to 9: moving the mouse shows the colour under it, a click takes it.
inline bool IsColourPickState(int state) { return state >= EDIT_PICK_BACKGROUND && state <= EDIT_PICK_SPHERICAL; }
extern int EditState;

// The display modes by their character codes, as DisplayMode and LUM.INI hold them.
enum DisplayModeCode : char {
    MODE_NORMAL = 'N',
    MODE_DOUBLE = 'D',
    MODE_QUADRUPLE = '4',
    MODE_HALF = 'H',
    MODE_QUARTER = 'Q',
    MODE_BEST_FIT = 'I',
    MODE_BEST_FIT_NO_BORDER = 'B',
    MODE_FULL_SCREEN_STRETCH = 'F',
    MODE_ZOOM = 'Z',
    MODE_ZOOM_SAME_ASPECT = 'O',
    MODE_WHEEL_ZOOM = 'W',
    MODE_FIXED_WINDOW = 'X',
};
// The display mode in force: one of the codes above.
extern char DisplayMode;
// Size at which the picture is drawn.
extern int displayWidth;
extern int displayHeight;

// Work area of the monitor and the window's border sizes, measured by the shell.
extern int workAreaWidth;
extern int workAreaHeight;
extern int borderWidth;
extern int borderHeight;

// Depth for the next write: 1, 4, 8 or 24.
extern int saveDepth;
// Folder of the last file chosen in the Open dialog, ending with a separator.
extern std::string lastReadFolder;

// Frames of the animation in the frame store; more than one means it plays.
extern int animFrameCount;
// Playback speed in percent of the frames' delays (higher is slower) and direction; every
// load sets them back to 100 and forward.
extern double animSpeed;
extern bool animForward;
