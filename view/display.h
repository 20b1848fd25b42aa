// Display arithmetic: how big the picture is drawn in each of the twelve display modes,
// where the main window goes, the scroll ranges, and how a point in the window maps back
// to a picture pixel. Pure functions of their inputs plus the display state below; the
// Win32 side (shell/display.cpp) measures the screen, calls these and applies the result.
#pragma once

#include <cstdint>
#include <string>

#include "base/display_mode.h"

// Normal, Double, Quadruple, Half, Quarter: a fixed factor of the picture size.
bool IsScaledMode(char mode);
// BestFitNoBorder, BestFit, ZoomSameAspect, WheelZoom, Zoom: the picture never scrolls.
bool IsNonScrollingMode(char mode);
// Whether painting in `mode` starts the wheel zoom again from the whole picture: the
// scaled modes and the fitted ones do, the zooms and the fixed window keep it.
bool PaintResetsWheelZoom(char mode);

struct DisplaySize {
    int width = 0;
    int height = 0;
};
struct DisplayRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
struct DisplayPoint {
    int x = 0;
    int y = 0;
};

// What the layout depends on, measured by the shell (MeasureScreen and the system metrics).
struct ScreenMetrics {
    DisplayRect work{0, 0, 1024, 768};     // work area of the window's monitor
    DisplayRect monitor{0, 0, 1024, 768};  // the whole monitor
    int borderWidth = 16;                   // 4 x frame width
    int borderHeight = 60;                  // caption + 4 x frame height + menu
    int screenWidth = 1024;                 // primary screen (SM_CXSCREEN, SM_CYSCREEN)
    int screenHeight = 768;
    int frameWidth = 4;  // SM_CXFRAME, SM_CYFRAME
    int frameHeight = 4;
    int captionHeight = 20;  // SM_CYCAPTION
    int menuHeight = 20;     // SM_CYMENU
    int vScrollWidth = 17;   // SM_CXVSCROLL
    int hScrollHeight = 17;  // SM_CYHSCROLL
};
extern ScreenMetrics screenMetrics;

// --- display state (process-wide, like the rest of the program's state) ---
extern uint16_t paintWidth;   // picture size remembered after a load and at every paint
extern uint16_t paintHeight;
extern uint16_t clientWidth;  // client size, from WM_SIZE
extern uint16_t clientHeight;
extern int leftMargin;        // offset of a picture narrower than MinimumWidth
extern double scaleX;         // picture pixels per screen pixel in the fitted modes
extern double scaleY;
extern char previousMode;     // mode before WheelZoom
extern int fixedWidth;        // client box of FixedWindow
extern int fixedHeight;
extern int fixedX;            // screen position of the fixed window
extern int fixedY;
extern int drawnX;            // where the picture was drawn in BestFitNoBorder and FixedWindow
extern int drawnY;

// --- sizes per mode ---

// Normal 1x, Double 2x, Quadruple 4x, Half and Quarter by shifting right.
DisplaySize ScaledDisplaySize(char mode, int pictureWidth, int pictureHeight);
// Largest size with the picture's aspect inside the box: full box width first, then, when
// too high, full box height (integer arithmetic, multiply before divide).
DisplaySize FitIntoBox(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);
// BestFit: the work area less the window's borders.
DisplaySize BestFitSize(int pictureWidth, int pictureHeight, const ScreenMetrics& m);
// FullScreenStretch: the work area less the borders (one row less), aspect ratio lost.
DisplaySize FullScreenStretchSize(const ScreenMetrics& m);
// BestFitNoBorder: natural size when it fits the screen (enlarged to the screen width when
// `fullView`), else fitted; centred on the screen.
DisplayRect NoBorderPictureRect(int pictureWidth, int pictureHeight, const ScreenMetrics& m, bool fullView);
// FixedWindow: 1:1 when smaller than the box both ways, else fitted; centred in the box.
DisplayRect FixedWindowPictureRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);
// Offset of a display narrower than MinimumWidth in the modes whose window is fitted to
// the picture (scaled modes, BestFit, FullScreenStretch); 0 elsewhere.
int LeftMarginFor(char mode, int displayWidth, int minimumWidth);


// --- the window ---

// Where PlaceWindow puts the window for a display of displayWidth x displayHeight:
// d = max(displayWidth, MinimumWidth) wide plus the borders, limited to the work area,
// centred where the window was, kept inside the work area.
DisplayRect PlaceWindowRect(const DisplayRect& window, int displayWidth, int displayHeight, int minimumWidth,
                            const ScreenMetrics& m);

// --- scroll bars ---

struct ScrollRange {
    int max = 0;
    int page = 0;
};
struct ScrollRanges {
    ScrollRange horizontal;
    ScrollRange vertical;
};
// On WM_SIZE; the client size is given with visible scroll bars added back.
ScrollRanges ClientScrollRanges(char mode, int clientW, int clientH, int displayW, int displayH);
// After a mode command, measured against the work area.
ScrollRanges WorkAreaScrollRanges(char mode, int displayW, int displayH, const ScreenMetrics& m);

enum ScrollRequest {
    SCROLL_LINE_UP = 0,  // the SB_ codes
    SCROLL_LINE_DOWN = 1,
    SCROLL_PAGE_UP = 2,
    SCROLL_PAGE_DOWN = 3,
    SCROLL_THUMB_POSITION = 4,
    SCROLL_THUMB_TRACK = 5,
    SCROLL_TOP = 6,
    SCROLL_BOTTOM = 7,
    SCROLL_END = 8,
};
struct ScrollBarState {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
    int trackPos = 0;
};
// The position a scroll request leads to, clamped to 0 ... max - page + 1.
int ScrollTarget(const ScrollBarState& bar, int request);

// --- mapping back to the picture ---

// What ScreenToPicture needs to know about the screen at the moment of the click.
struct PointMapping {
    char mode = MODE_NORMAL;
    int scrollX = 0, scrollY = 0;
    int pictureWidth = 0, pictureHeight = 0;
    int displayWidth = 0, displayHeight = 0;  // size drawn (the display size)
    int clientWidth = 0, clientHeight = 0;
    int leftMargin = 0;
    int minimumWidth = 280;
    int drawnX = 0, drawnY = 0;  // BestFitNoBorder: the centred picture's top-left
    int frameWidth = 4, captionHeight = 20;
    int fixedWidth = 400, fixedHeight = 300;
};
// Client point -> picture point (x from the left, y from the top), not limited to the
// picture: a point beside it maps outside 0..w-1 x 0..h-1. In the scaled modes the left
// margin of a picture narrower than MinimumWidth is taken off first, so the point maps to
// the pixel drawn under it.
DisplayPoint ClientToPicture(const PointMapping& p, int x, int y);
// ClientToPicture clamped to the picture in both directions.
DisplayPoint ScreenToPicture(const PointMapping& p, int x, int y);
// True when ClientToPicture's result lies on the picture.
bool PointOnPicture(const PointMapping& p, DisplayPoint point);
// How many client pixels `length` picture pixels cover in the mode, across
// (`horizontal`) or down: the inverse of ClientToPicture's scale, at least 1.
int PictureLengthOnClient(const PointMapping& p, int length, bool horizontal);

// --- wheel zoom ---

struct WheelZoomInputs {
    char previousMode = MODE_NORMAL;
    int scrollX = 0, scrollY = 0;
    int pictureWidth = 0, pictureHeight = 0;
    int displayWidth = 0, displayHeight = 0;
    double scaleX = 1.0, scaleY = 1.0;
    int drawnX = 0, drawnY = 0;  // BestFitNoBorder: the centred picture's top-left
};
// One step around client point (x, y): zoomIn divides the factor by the rate (the picture
// gets larger), otherwise multiplies. Updates the centre and the source rectangle.
void WheelZoomStep(WheelZoomState& z, const WheelZoomInputs& in, const ScreenMetrics& m, int x, int y, bool zoomIn);
// The rate typed into the "Setup Zoom Rate" dialog: above 1 and up to 2, else 1.2.
double ParseWheelRate(const std::string& text);
