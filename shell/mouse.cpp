#include "shell/mouse.h"

#include <algorithm>

#include "edit/animation.h"
#include "base/appstate.h"
#include "core/current_image.h"
#include "platform/host.h"
#include "core/report.h"
#include "core/title.h"
#include "ops/preview.h"
#include "shell/crop_tool.h"
#include "shell/display.h"
#include "shell/metadata_dialogs.h"
#include "shell/insert_image.h"
#include "base/ids.h"
#include "shell/startup.h"

RgbColour pickedColour;
bool pixelColourPicked = false;
DisplayPoint pickedPoint;

namespace {

// What the button held down is doing: dragging a crop selection, moving or resizing one,
// placing an inserted item, panning.
enum Gesture { GESTURE_NONE, GESTURE_SELECT, GESTURE_ZONE, GESTURE_PLACE, GESTURE_PAN };

struct GestureState {
    Gesture kind = GESTURE_NONE;
    POINT anchor = {0, 0};
    bool panWithLeft = false;  // Shift+left pans and ends with the left button
    int panStartX = 0;         // scroll positions when panning began
    int panStartY = 0;
    int itemWidth = 0;  // size on the screen of the item being placed
    int itemHeight = 0;
};
GestureState gesture;

// The outline of an item being placed, drawn inverted on the screen, if any.
struct Outline {
    bool shown = false;
    RECT rect = {0, 0, 0, 0};
};
Outline outline;

void InvertRectangle(HWND window, const RECT& r) {
    HDC dc = GetDC(window);
    if (dc == nullptr) return;
    const int oldMode = SetROP2(dc, R2_NOT);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SetROP2(dc, oldMode);
    ReleaseDC(window, dc);
}

void HideOutline(HWND window) {
    if (!outline.shown) return;
    InvertRectangle(window, outline.rect);
    outline.shown = false;
}

void ShowOutline(HWND window, const RECT& r) {
    HideOutline(window);
    outline.rect = r;
    InvertRectangle(window, r);
    outline.shown = true;
}

// Ends the gesture under way. The state is cleared before the capture goes, because
// releasing it sends WM_CAPTURECHANGED at once.
void EndGesture() {
    const bool captured = gesture.kind != GESTURE_NONE;
    gesture.kind = GESTURE_NONE;
    if (captured && GetCapture() != nullptr) ReleaseCapture();
}

// The crop tool releases its own capture.
void DropSelection(HWND window) {
    if (gesture.kind == GESTURE_SELECT || gesture.kind == GESTURE_ZONE) gesture.kind = GESTURE_NONE;
    CancelCropSelection(window);
}

bool ClientContains(HWND window, int x, int y) {
    RECT client;
    if (!GetClientRect(window, &client)) return false;
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

// --- panning ---

void StartPanning(HWND window, int x, int y, bool withLeft) {
    gesture.kind = GESTURE_PAN;
    gesture.anchor = {x, y};
    gesture.panWithLeft = withLeft;
    gesture.panStartX = GetScrollPos(window, SB_HORZ);
    gesture.panStartY = GetScrollPos(window, SB_VERT);
    SetCapture(window);
}

// The picture follows the pointer: moving the pointer left by n pixels shows what lay n
// pixels further right.
void Pan(HWND window, int x, int y) {
    ScrollBarTo(window, SB_HORZ, gesture.panStartX - (x - gesture.anchor.x));
    ScrollBarTo(window, SB_VERT, gesture.panStartY - (y - gesture.anchor.y));
}

void EndPanning() {
    EndGesture();
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

// --- colour picking (states 4 to 9) ---

// The colour under a client point: false when the point is beside the picture.
bool ColourUnder(HWND window, int x, int y, RgbColour* colour, DisplayPoint* point) {
    const PointMapping mapping = CurrentPointMapping(window);
    const DisplayPoint p = ClientToPicture(mapping, x, y);
    if (!PointOnPicture(mapping, p) || !PictureColourAt(CurrentImage.dib, p.x, p.y, colour)) return false;
    *point = p;
    return true;
}

void ShowColourUnder(HWND window, int x, int y) {
    RgbColour colour;
    DisplayPoint point;
    if (ColourUnder(window, x, y, &colour, &point)) HostSetTitle(ColourPickTitle(CurrentImage.dib, point.x, point.y));
    else ShowTitle();
}

// The command whose dialog a picking state reopens with the colour taken (0: none).
int ReopenCommandFor(int state) {
    switch (state) {
        case EDIT_PICK_BACKGROUND: return IDM_ROTATE_BACKGROUND;
        case EDIT_PICK_ROTATE: return IDM_ROTATE_ANGLE;
        case EDIT_PICK_TRAPEZOID: return IDM_TRAPEZOID;
        case EDIT_PICK_PARALLELOGRAM: return IDM_PARALLELOGRAM;
        case EDIT_PICK_SPHERICAL: return IDM_SPHERICAL;
        case EDIT_PICK_PIXEL: return IDM_PIXEL_COLOUR;
        default: return 0;
    }
}

// A click while picking: a click beside the picture takes nothing and picking goes on.
void TakeColour(HWND window, int x, int y) {
    RgbColour colour;
    DisplayPoint point;
    if (!ColourUnder(window, x, y, &colour, &point)) return;
    const int state = EditState;
    pickedColour = colour;
    pickedPoint = point;
    // "Get Pixel Colour" (state 5) only takes the colour; the other states make it the
    // background of the rotation and the perspective corrections.
    if (state != EDIT_PICK_PIXEL) BackgroundColour = colour;
    else pixelColourPicked = true;
    EditState = EDIT_NONE;
    ShowTitle();
    // Posted: the dialog must not run inside this button message.
    if (const int command = ReopenCommandFor(state)) PostMessageW(window, WM_COMMAND, command, 0);
}

// --- placing an inserted picture (states 14 and 17) ---

void StartPlacement(HWND window, int x, int y) {
    int width = 0, height = 0;
    if (EditState != EDIT_PLACE_IMAGE || !PlacementItemSize(&width, &height)) return;
    const PointMapping mapping = CurrentPointMapping(window);
    gesture.kind = GESTURE_PLACE;
    gesture.itemWidth = PictureLengthOnClient(mapping, width, true);
    gesture.itemHeight = PictureLengthOnClient(mapping, height, false);
    SetCapture(window);
    ShowOutline(window, RECT{x, y, x + gesture.itemWidth, y + gesture.itemHeight});
}

void EndPlacement(HWND window) {
    HideOutline(window);
    const RECT at = outline.rect;
    EndGesture();
    FinishPlacement(window, at.left, at.top);
}

}  // namespace

void OnMouseMove(HWND window, int x, int y) {
    switch (gesture.kind) {
        case GESTURE_PLACE: ShowOutline(window, RECT{x, y, x + gesture.itemWidth, y + gesture.itemHeight}); break;
        case GESTURE_SELECT: DragCropSelection(window, x, y); break;
        case GESTURE_ZONE: MoveOverCropSelection(window, x, y); return;
        case GESTURE_PAN: Pan(window, x, y); break;
        case GESTURE_NONE:
            if (CropSelectionMoving()) {
                // The cursor names what a press here would do to the selection.
                MoveOverCropSelection(window, x, y);
                return;
            }
            if (IsColourPickState(EditState)) ShowColourUnder(window, x, y);
            break;
    }
    if (ClientContains(window, x, y)) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void OnLeftButtonDown(HWND window, WPARAM keys, int x, int y) {
    if (gesture.kind != GESTURE_NONE || CropQuestionOpen()) return;
    if (CropSelectionMoving()) {
        gesture.kind = GESTURE_ZONE;
        PressOnCropSelection(window, x, y);
        return;
    }
    ClipCursor(nullptr);
    if (EditState == EDIT_PLACE_TEXT || EditState == EDIT_PLACE_IMAGE) {
        StartPlacement(window, x, y);
        return;
    }
    if (OnZoomClick(window, x, y, true)) return;
    if ((keys & MK_SHIFT) && RunMode != RUN_QUICKVIEW) {
        StartPanning(window, x, y, true);
        return;
    }
    ShowCursorCounted(true);
    if (IsColourPickState(EditState)) {
        TakeColour(window, x, y);
        return;
    }
    if (RunMode == RUN_QUICKVIEW) return;
    gesture.kind = GESTURE_SELECT;
    StartCropSelection(window, x, y);
}

void OnLeftButtonUp(HWND window, int x, int y) {
    switch (gesture.kind) {
        case GESTURE_PAN:
            if (gesture.panWithLeft) EndPanning();
            break;
        case GESTURE_PLACE: EndPlacement(window); break;
        case GESTURE_SELECT:
            // Cleared first: the crop question may run from here.
            gesture.kind = GESTURE_NONE;
            EndCropSelection(window, x, y);
            break;
        case GESTURE_ZONE:
            gesture.kind = GESTURE_NONE;
            ReleaseCropSelection(window);
            break;
        case GESTURE_NONE: break;
    }
}

void OnDoubleClick(HWND window) {
    if (CropQuestionOpen()) return;
    if (gesture.kind == GESTURE_ZONE) gesture.kind = GESTURE_NONE;
    FinishMovingCropSelection(window);
}

void OnRightButtonDown(HWND window, int x, int y) {
    if (gesture.kind != GESTURE_NONE || CropQuestionOpen() || CropSelectionMoving()) return;
    if (OnZoomClick(window, x, y, false)) return;
    // Sheet browsing (run mode 2) opens the thumbnail's file here once sheets exist.
    if (RunMode != RUN_QUICKVIEW) OpenFileInformation(window);
}

void OnMiddleButtonDown(HWND window, int x, int y) {
    if (gesture.kind != GESTURE_NONE || CropQuestionOpen() || CropSelectionMoving()) return;
    StartPanning(window, x, y, false);
}

void OnMiddleButtonUp(HWND) {
    if (gesture.kind == GESTURE_PAN && !gesture.panWithLeft) EndPanning();
}

void OnCaptureChanged(HWND window, HWND newOwner) {
    if (newOwner == window || gesture.kind == GESTURE_NONE) return;
    // The gesture cannot be finished without the mouse: a selection or placement being
    // dragged is dropped (the placement state stays, so the next press starts it again).
    if (gesture.kind == GESTURE_PLACE) HideOutline(window);
    if (gesture.kind == GESTURE_SELECT || gesture.kind == GESTURE_ZONE) CancelCropSelection(window);
    gesture.kind = GESTURE_NONE;
}

void HideOutlineForPaint(HWND window) {
    if (outline.shown) InvertRectangle(window, outline.rect);
    HideCropMarksForPaint(window);
}

void ShowOutlineAfterPaint(HWND window) {
    if (outline.shown) InvertRectangle(window, outline.rect);
    ShowCropMarksAfterPaint(window);
}

void EndMouseGesture(HWND window) {
    DropSelection(window);
    // A lossless or icon selection not yet made is given up too.
    if (EditState == EDIT_LOSSLESS_CROP || EditState == EDIT_ICON_AREA) EditState = EDIT_NONE;
}
