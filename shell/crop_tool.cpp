#include "shell/crop_tool.h"

#include <algorithm>
#include <string>

#include "base/appstate.h"
#include "base/ids.h"
#include "base/settings.h"
#include "core/current_image.h"
#include "core/filetype.h"
#include "core/report.h"
#include "core/save.h"
#include "core/title.h"
#include "edit/animation.h"
#include "edit/crop.h"
#include "libcodecs/jpeg_transform.h"
#include "platform/host.h"
#include "view/crop.h"
#include "view/display.h"
#include "view/lossless.h"
#include "open/open.h"
#include "view/save_rules.h"
#include "shell/command_table.h"
#include "shell/dialog_common.h"
#include "shell/display.h"
#include "shell/startup.h"
#include "shell/wintext.h"

namespace {

// A selection smaller than this either way is taken for a plain click and dropped.
constexpr int kMinimumSelection = 5;

// What is drawn inverted on the screen: the crosshair of a press and the selected area.
struct Marks {
    bool crosshair = false;
    RECT across = {0, 0, 0, 0};  // the crosshair's row band and column band
    RECT down = {0, 0, 0, 0};
    bool band = false;
    SelectionRect area;  // normalised
    uint64_t picture = 0;  // the picture they were drawn over
};
Marks marks;

struct Tool {
    bool dragging = false;     // a new selection is being dragged
    int anchorX = 0, anchorY = 0;
    SelectionRect selection;   // the last selection, normalised, in window pixels
    int purposeState = EDIT_NONE;  // the state the selection was made in (0, 10, 11)
    bool zoneDragging = false;     // moving or resizing, with the button down
    CropZone zone = ZONE_MOVE;
    int lastX = 0, lastY = 0;
    bool questionOpen = false;
};
Tool tool;

// The picture a lossless crop selection is made on, as read from its file when the command
// began: the file is cut where the selection lies on this picture.
uint64_t losslessPicture = 0;

// True when the picture is still the one read for the lossless crop; otherwise says why
// nothing is cut.
bool LosslessPictureIsTheFiles() {
    if (CurrentImage.dib.serial == losslessPicture && !ImageIsChanged()) return true;
    ShowMessage("The picture has changed since Lossless JPEG Cropping began, and the crop cuts the file "
                "itself: choose Lossless JPEG Cropping again.",
                "Lossless Crop", kMbOk | kMbIconWarning);
    return false;
}

RECT ToRect(const SelectionRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

CropPurpose PurposeOf(int state) {
    switch (state) {
        case EDIT_LOSSLESS_CROP: return CROP_LOSSLESS;
        case EDIT_ICON_AREA: return CROP_ICON;
        default: return CROP_PLAIN;
    }
}

bool RatioFixed() { return CropAspectRatio[0] > 0 && CropAspectRatio[1] > 0; }

SelectionMapping ScreenMapping(HWND window) {
    return SelectionMappingFor(CurrentPointMapping(window), scaleX, scaleY);
}

// Inverts a region of the window; inverting it again puts the screen back.
void InvertRegion(HWND window, HRGN region) {
    if (region == nullptr) return;
    if (HDC dc = GetDC(window)) {
        InvertRgn(dc, region);
        ReleaseDC(window, dc);
    }
}

HRGN RegionOf(const RECT& r) { return CreateRectRgn(r.left, r.top, r.right, r.bottom); }

void InvertCrosshair(HWND window) {
    HRGN region = RegionOf(marks.across);
    HRGN down = RegionOf(marks.down);
    if (region != nullptr && down != nullptr) CombineRgn(region, region, down, RGN_OR);
    InvertRegion(window, region);
    if (down != nullptr) DeleteObject(down);
    if (region != nullptr) DeleteObject(region);
}

void InvertArea(HWND window, const SelectionRect& r) {
    HRGN region = RegionOf(ToRect(r));
    InvertRegion(window, region);
    if (region != nullptr) DeleteObject(region);
}

// The band goes from one area to the next by inverting only where they differ.
void MoveBand(HWND window, const SelectionRect& to) {
    if (!marks.band) {
        InvertArea(window, to);
    } else {
        HRGN from = RegionOf(ToRect(marks.area));
        HRGN next = RegionOf(ToRect(to));
        if (from != nullptr && next != nullptr) {
            CombineRgn(from, from, next, RGN_XOR);
            InvertRegion(window, from);
        }
        if (next != nullptr) DeleteObject(next);
        if (from != nullptr) DeleteObject(from);
    }
    marks.band = true;
    marks.area = to;
    marks.picture = CurrentImage.dib.serial;
}

void EraseBand(HWND window) {
    if (marks.band) InvertArea(window, marks.area);
    marks.band = false;
}

void EraseCrosshair(HWND window) {
    if (marks.crosshair) InvertCrosshair(window);
    marks.crosshair = false;
}

// The crosshair through the picture point under (x, y): a row and a column of the picture,
// as thick as the display mode draws them, across the whole displayed picture.
void DrawCrosshair(HWND window, int x, int y) {
    const CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return;
    const SelectionMapping m = ScreenMapping(window);
    const int thickness = CrosshairThickness(m.mode);
    const int width = dib.width, height = dib.height;
    const int px = std::clamp(SelectionImageX(m, x), 0, width - 1);
    const int py = std::clamp(SelectionImageY(m, y), 0, height - 1);
    int left = 0, right = 0, top = 0, bottom = 0, columnFrom = 0, columnTo = 0, rowFrom = 0, rowTo = 0;
    SelectionClientSpan(m, 0, width, true, &left, &right);
    SelectionClientSpan(m, 0, height, false, &top, &bottom);
    SelectionClientSpan(m, px, std::min(px + thickness, width), true, &columnFrom, &columnTo);
    SelectionClientSpan(m, py, std::min(py + thickness, height), false, &rowFrom, &rowTo);
    marks.across = RECT{left, rowFrom, right, std::max(rowTo, rowFrom + 1)};
    marks.down = RECT{columnFrom, top, std::max(columnTo, columnFrom + 1), bottom};
    marks.crosshair = true;
    marks.picture = dib.serial;
    InvertCrosshair(window);
}

// The client x where the displayed picture ends.
int PictureRightEdge(HWND window) {
    int from = 0, to = 0;
    SelectionClientSpan(ScreenMapping(window), CurrentImage.dib.width, CurrentImage.dib.width, true, &from, &to);
    return from;
}

// The selection's corners from the anchor to the pointer, with the purpose's rules.
SelectionRect DraggedArea(HWND window, int x, int y) {
    DragCorner(ScreenMapping(window), PurposeOf(tool.purposeState), CropAspectRatio[0], CropAspectRatio[1],
               tool.anchorX, tool.anchorY, PictureRightEdge(window), &x, &y);
    return SelectionRect{tool.anchorX, tool.anchorY, x, y};
}

// The cursor is kept inside `r` (client pixels) while the selection is moved or resized.
void ConfineCursor(HWND window, const SelectionRect& r) {
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(window, nullptr, corners, 2);
    const RECT screen = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    ClipCursor(&screen);
}

void ConfineCursorToClient(HWND window) {
    RECT client;
    if (!GetClientRect(window, &client)) return;
    ConfineCursor(window, SelectionRect{client.left, client.top, client.right, client.bottom});
}

void EndState() {
    if (EditState == EDIT_MOVE_SELECTION || EditState == EDIT_LOSSLESS_CROP || EditState == EDIT_ICON_AREA)
        EditState = EDIT_NONE;
    tool.purposeState = EDIT_NONE;
}

// --- "Crop Image" ---

enum Answer { ANSWER_CROP, ANSWER_KEEP, ANSWER_MOVE };

// The selection's size in picture pixels, shown in the question.
CropRect selectionCrop;

INT_PTR QuestionMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemInt(dialog, IDC_CROP_WIDTH, static_cast<UINT>(selectionCrop.width), FALSE);
            SetDlgItemInt(dialog, IDC_CROP_HEIGHT, static_cast<UINT>(selectionCrop.height), FALSE);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_CROP_MOVE:
                case IDC_CROP_RED_EYE: EndDialog(dialog, LOWORD(wParam)); return TRUE;
                default: return CloseOnOkOrCancel(dialog, wParam);
            }
        default: return FALSE;
    }
}

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return QuestionMessage(dialog, message, wParam); });
}

// Asks until the user decides; the red-eye answer is not built yet and asks again.
Answer AskCrop(HWND window) {
    for (;;) {
        tool.questionOpen = true;
        const INT_PTR answer = DialogBoxParamW(AppInstance, TEXT("CROPMAINDLG"), window, QuestionProc, 0);
        tool.questionOpen = false;
        switch (answer) {
            case IDOK: return ANSWER_CROP;
            case IDC_CROP_MOVE: return ANSWER_MOVE;
            case IDC_CROP_RED_EYE: ShowMessage(kNotBuiltText, "Viewer", kMbOk | kMbIconWarning); break;
            default: return ANSWER_KEEP;
        }
    }
}

void ShowCroppedPicture() {
    ApplyDisplayMode();
    if (RunMode != RUN_BATCH) PlaceWindow();
    RetitleWithNewSize();
    RedrawImage();
}

// The lossless purpose: the same rectangle of the file goes, without decoding, to a file
// the user names; when it cannot, the crop shown is taken back.
// `r` is in the picture as shown, `shownWidth` x `shownHeight`, which may have been turned
// upright by its EXIF orientation: the file is cut in its stored coordinates.
void WriteLosslessCrop(HWND window, const std::string& source, const CropRect& r, int shownWidth, int shownHeight) {
    std::string target;
    const CropRect stored = StoredRect(r, shownWidth, shownHeight, CurrentImage.appliedOrientation);
    LosslessRegion region;
    region.x = stored.left;
    region.y = stored.top;
    region.width = stored.width;
    region.height = stored.height;
    if (ChooseSaveName(window, &target) < 0 || LosslessCrop(target, source, region) < 0) {
        Undo();
        ShowCroppedPicture();
    }
}

// "Crop now".
void CropNow(HWND window) {
    const CropPurpose purpose = PurposeOf(tool.purposeState);
    const std::string source = CurrentImage.fullPath;
    const bool jpegFile = CurrentImage.fileType == FT_JPEG;
    const int shownWidth = CurrentImage.dib.width, shownHeight = CurrentImage.dib.height;
    const CropRect r = SelectionToPicture(ScreenMapping(window), CurrentPointMapping(window), tool.selection, purpose,
                                          CropAspectRatio[0], CropAspectRatio[1]);
    EndState();
    if (purpose == CROP_LOSSLESS && !LosslessPictureIsTheFiles()) {
        ShowTitle();
        RedrawImage();
        return;
    }
    if (CropCurrentImageTo(r) < 0) {
        ShowTitle();
        RedrawImage();
        return;
    }
    ShowCroppedPicture();
    if (purpose == CROP_LOSSLESS) {
        WriteLosslessCrop(window, source, r, shownWidth, shownHeight);
    } else if (purpose == CROP_PLAIN && jpegFile && NamesJpegFile(source) && SaveJPEGImmediate) {
        // Saved at once, always as JPEG whatever type the last Save As left (as the
        // wallpaper is always BMP), and the program closes; a failed save keeps it open
        // with the crop.
        const FileType saved = CurrentImage.saveType;
        CurrentImage.saveType = FT_JPEG;
        const int written = WriteImageFile(source);
        CurrentImage.saveType = saved;
        if (written == 0) {
            CurrentImage.modified = false;
            ClearUndo();
            PostMessageW(window, WM_CLOSE, 0, 0);
            return;
        }
    }
    ShowTitle();
}

void EnterMoving(HWND window) {
    EditState = EDIT_MOVE_SELECTION;
    MoveBand(window, tool.selection);
    ConfineCursor(window, tool.selection);
}

// Shows the question for `tool.selection` and acts on the answer.
// The purpose (`tool.purposeState`) is the state the selection was made in.
void ConfirmCrop(HWND window) {
    EditState = tool.purposeState;
    selectionCrop = SelectionToPicture(ScreenMapping(window), CurrentPointMapping(window), tool.selection,
                                       PurposeOf(tool.purposeState), CropAspectRatio[0], CropAspectRatio[1]);
    switch (AskCrop(window)) {
        case ANSWER_CROP: CropNow(window); break;
        case ANSWER_MOVE: EnterMoving(window); break;
        case ANSWER_KEEP:
            EndState();
            ShowTitle();
            RedrawImage();
            break;
    }
}

}  // namespace

void StartCropSelection(HWND window, int x, int y) {
    CancelCropSelection(window);
    tool.purposeState = EditState == EDIT_LOSSLESS_CROP || EditState == EDIT_ICON_AREA ? EditState : EDIT_NONE;
    tool.dragging = true;
    tool.anchorX = x;
    tool.anchorY = y;
    DrawCrosshair(window, x, y);
    SetCapture(window);
}

void DragCropSelection(HWND window, int x, int y) {
    if (!tool.dragging) return;
    const SelectionRect area = DraggedArea(window, x, y);
    MoveBand(window, NormalisedSelection(area));
    HostSetTitle(SelectionSizeTitle(ScreenMapping(window), area));
}

void EndCropSelection(HWND window, int x, int y) {
    if (!tool.dragging) return;
    const SelectionRect area = NormalisedSelection(DraggedArea(window, x, y));
    tool.dragging = false;
    if (GetCapture() == window) ReleaseCapture();
    EraseCrosshair(window);
    EraseBand(window);
    ShowTitle();
    if (area.right - area.left < kMinimumSelection || area.bottom - area.top < kMinimumSelection) {
        RedrawImage();
        return;
    }
    if (AnimationPlaying()) {
        ShowMessage("Animated GIF! Turn off GIF animation and reload picture before scanning", "Viewer",
                    kMbOk | kMbIconWarning);
        return;
    }
    if (DisplayMode == MODE_ZOOM || DisplayMode == MODE_ZOOM_SAME_ASPECT || DisplayMode == MODE_WHEEL_ZOOM) {
        ShowMessage("Scanning is not available in this Zoom Mode", "Viewer", kMbOk | kMbIconWarning);
        return;
    }
    tool.selection = area;
    ConfirmCrop(window);
}

bool CropSelectionMoving() { return EditState == EDIT_MOVE_SELECTION; }

bool CropQuestionOpen() { return tool.questionOpen; }

void PressOnCropSelection(HWND window, int x, int y) {
    tool.zone = ZoneAt(tool.selection, x, y);
    tool.zoneDragging = true;
    tool.lastX = x;
    tool.lastY = y;
    // While a zone is dragged the pointer may leave the selection to make it larger.
    ConfineCursorToClient(window);
    SetCapture(window);
}

void MoveOverCropSelection(HWND window, int x, int y) {
    if (!tool.zoneDragging) {
        static const LPCWSTR kCursors[] = {IDC_SIZENWSE, IDC_SIZEWE, IDC_SIZENESW, IDC_SIZENS, IDC_SIZEALL,
                                           IDC_SIZENS,   IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENWSE};
        const CropZone zone = ZoneAt(tool.selection, x, y);
        SetCursor(LoadCursorW(nullptr, ZoneMoves(zone, RatioFixed()) ? kCursors[zone] : IDC_NO));
        return;
    }
    tool.selection = DragZone(tool.selection, tool.zone, tool.lastX, tool.lastY, x, y, CropAspectRatio[0],
                              CropAspectRatio[1]);
    tool.lastX = x;
    tool.lastY = y;
    MoveBand(window, tool.selection);
    HostSetTitle(SelectionSizeTitle(ScreenMapping(window), tool.selection));
}

void ReleaseCropSelection(HWND window) {
    if (!tool.zoneDragging) return;
    tool.zoneDragging = false;
    if (GetCapture() == window) ReleaseCapture();
    ConfineCursor(window, tool.selection);
}

void FinishMovingCropSelection(HWND window) {
    if (!CropSelectionMoving()) return;
    ReleaseCropSelection(window);
    ClipCursor(nullptr);
    EraseBand(window);
    ShowTitle();
    ConfirmCrop(window);
}

void CancelCropSelection(HWND window) {
    const bool captured = tool.dragging || tool.zoneDragging;
    tool.dragging = false;
    tool.zoneDragging = false;
    if (captured && GetCapture() == window) ReleaseCapture();
    if (EditState == EDIT_MOVE_SELECTION) {
        ClipCursor(nullptr);
        EndState();
    }
    const bool drawn = marks.crosshair || marks.band;
    EraseCrosshair(window);
    EraseBand(window);
    if (drawn) ShowTitle();
}

void HideCropMarksForPaint(HWND window) {
    if (marks.crosshair) InvertCrosshair(window);
    if (marks.band) InvertArea(window, marks.area);
}

void ShowCropMarksAfterPaint(HWND window) {
    if (!marks.crosshair && !marks.band) return;
    if (CurrentImage.dib.serial != marks.picture) {
        // Another picture is shown: the selection belonged to the one before.
        marks.crosshair = marks.band = false;
        CancelCropSelection(window);
        return;
    }
    if (marks.crosshair) InvertCrosshair(window);
    if (marks.band) InvertArea(window, marks.area);
}

// --- the commands ---

namespace {

INT_PTR AspectMessage(HWND dialog, UINT message, WPARAM wParam, bool* whole) {
    auto store = [dialog](int a, int b) {
        CropAspectRatio[0] = a;
        CropAspectRatio[1] = b;
        EndDialog(dialog, IDOK);
    };
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemInt(dialog, IDC_CROPOPT_WIDTH, static_cast<UINT>(CropAspectRatio[0]), TRUE);
            SetDlgItemInt(dialog, IDC_CROPOPT_HEIGHT, static_cast<UINT>(CropAspectRatio[1]), TRUE);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_CROPOPT_WHOLE:
                    if (IsDlgButtonChecked(dialog, IDC_CROPOPT_WHOLE) == BST_CHECKED) {
                        int a = 0, b = 0;
                        PictureRatio(CurrentImage.dib.width, CurrentImage.dib.height, &a, &b);
                        SetDlgItemInt(dialog, IDC_CROPOPT_WIDTH, static_cast<UINT>(a), TRUE);
                        SetDlgItemInt(dialog, IDC_CROPOPT_HEIGHT, static_cast<UINT>(b), TRUE);
                    }
                    return TRUE;
                case IDC_CROPOPT_ZERO:
                    *whole = false;
                    store(0, 0);
                    return TRUE;
                case IDOK: {
                    // What is not a number counts as 0: free cropping.
                    BOOL readA = FALSE, readB = FALSE;
                    const int a = static_cast<int>(GetDlgItemInt(dialog, IDC_CROPOPT_WIDTH, &readA, TRUE));
                    const int b = static_cast<int>(GetDlgItemInt(dialog, IDC_CROPOPT_HEIGHT, &readB, TRUE));
                    *whole = IsDlgButtonChecked(dialog, IDC_CROPOPT_WHOLE) == BST_CHECKED;
                    store(readA ? a : 0, readB ? b : 0);
                    return TRUE;
                }
                default: return CloseOnCancel(dialog, wParam);
            }
        default: return FALSE;
    }
}

INT_PTR CALLBACK AspectProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    bool* whole = reinterpret_cast<bool*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (whole == nullptr) return FALSE;
    return Guarded([&] { return AspectMessage(dialog, message, wParam, whole); });
}

}  // namespace

LRESULT OnCropAspect(HWND window, int) {
    bool whole = false;
    if (DialogBoxParamW(AppInstance, TEXT("CROPOPTDLG"), window, AspectProc, reinterpret_cast<LPARAM>(&whole)) != IDOK)
        return 0;
    // The selection becomes the whole window; "Initialise to whole visible area" asks at once.
    RECT client;
    if (!whole || CurrentImage.dib.Empty() || !GetClientRect(window, &client)) return 0;
    CancelCropSelection(window);
    tool.selection = SelectionRect{client.left, client.top, client.right, client.bottom};
    tool.purposeState = EDIT_NONE;
    ConfirmCrop(window);
    return 0;
}

LRESULT OnLosslessCrop(HWND window, int) {
    // Greyed in the menu for other files; a command sent all the same does nothing.
    if (CurrentImage.fileType != FT_JPEG || CurrentImage.failedLoad) return 0;
    if (RunMode == RUN_QUICKVIEW || CurrentImage.fullPath.empty() || !ConfirmLeaveImage()) return 0;
    // The selection is made on the picture and cut from the file: the file is read again
    // first, so that what is marked is the file's picture even after edits (or after a
    // Save As that wrote them to another file).
    std::string path = CurrentImage.fullPath;
    if (LoadImageFile(path) < 0) return 0;
    RememberPictureSize();
    if (CurrentImage.fileType != FT_JPEG || CurrentImage.failedLoad) return 0;
    losslessPicture = CurrentImage.dib.serial;
    CancelCropSelection(window);
    EditState = EDIT_LOSSLESS_CROP;
    return 0;
}
