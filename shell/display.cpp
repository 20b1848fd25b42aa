// Painting, window placement, mode commands, scroll bars and the wheel zoom. Every mode
// draws with one StretchDIBits from the 24-bit block: the picture is never rescaled in
// memory, so a mode change costs one repaint.
#include "shell/display.h"

#include <algorithm>
#include <string>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/frames.h"
#include "platform/host.h"
#include "base/text.h"
#include "core/title.h"
#include "base/settings.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/view_dialogs.h"

namespace {

// The window style without its menu, as the borderless mode grows the screen rectangle.
constexpr DWORD kFrameStyleWithoutMenu = 0x00CF0000;

DisplayRect WindowRectOf(HWND window) {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void DrawPicture(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight) {
    const CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return;
    SetStretchBltMode(dc, COLORONCOLOR);
    SetMapMode(dc, MM_TEXT);
    SetBkMode(dc, TRANSPARENT);
    StretchDIBits(dc, x, y, width, height, srcX, srcY, srcWidth, srcHeight, dib.bits,
                  reinterpret_cast<const BITMAPINFO*>(dib.info), DIB_RGB_COLORS, SRCCOPY);
}

// BeginPaint, the picture at (x + leftMargin, y), EndPaint, then the zoom in the title.
void PaintImage(HWND window, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc != nullptr) DrawPicture(dc, x + leftMargin, y, width, height, srcX, srcY, srcWidth, srcHeight);
    EndPaint(window, &paint);
    ShowZoomInTitle(width, srcWidth);
}

void ValidateOnly(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

// A bar that is not needed goes away rather than standing disabled: once shown for a larger
// picture, a disabled bar would stay and cover the right or bottom edge of every picture
// the window is fitted to afterwards (and the screen's edge in the borderless mode).
void SetBar(HWND window, int bar, const ScrollRange& range) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = range.max;
    info.nPage = static_cast<UINT>(std::max(range.page, 0));
    info.nPos = 0;
    SetScrollInfo(window, bar, &info, TRUE);
}

void SetWorkAreaScrollRanges(HWND window) {
    ScreenMetrics m = screenMetrics;
    RECT work;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        m.work = {work.left, work.top, work.right - work.left, work.bottom - work.top};
    const ScrollRanges r = WorkAreaScrollRanges(DisplayMode, displayWidth, displayHeight, m);
    SetBar(window, SB_HORZ, r.horizontal);
    SetBar(window, SB_VERT, r.vertical);
}

void SetScaledDisplaySize(int width, int height) {
    const DisplaySize s = ScaledDisplaySize(DisplayMode, width, height);
    displayWidth = s.width;
    displayHeight = s.height;
}

void PaintScaled(HWND window) {
    leftMargin = LeftMarginFor(DisplayMode, displayWidth, MinimumWidth);
    PaintImage(window, -GetScrollPos(window, SB_HORZ), -GetScrollPos(window, SB_VERT), displayWidth, displayHeight, 0,
               0, paintWidth, paintHeight);
}

void PaintFitted(HWND window) {
    const DisplaySize s = DisplayMode == MODE_BEST_FIT ? BestFitSize(paintWidth, paintHeight, screenMetrics)
                                                       : FullScreenStretchSize(screenMetrics);
    displayWidth = s.width;
    displayHeight = s.height;
    if (DisplayMode == MODE_BEST_FIT) {
        scaleX = s.width > 0 ? static_cast<double>(paintWidth) / s.width : 1.0;
        scaleY = s.height > 0 ? static_cast<double>(paintHeight) / s.height : 1.0;
    } else {
        scaleX = static_cast<double>(paintWidth) / std::max(1, screenMetrics.work.width);
        scaleY = static_cast<double>(paintHeight) / std::max(1, screenMetrics.work.height);
    }
    PlaceWindow();
    PaintImage(window, 0, 0, displayWidth, displayHeight, 0, 0, paintWidth, paintHeight);
}

// The client area covers the whole screen: caption, menu and frame lie off the screen.
void BestFitNoBorderDraw(HWND window) {
    const ScreenMetrics& m = screenMetrics;
    const DisplayRect pic = NoBorderPictureRect(paintWidth, paintHeight, m, DefaultViewFull == VIEW_FULL);
    displayWidth = pic.width;
    displayHeight = pic.height;
    drawnX = pic.x;
    drawnY = pic.y;
    scaleX = pic.width > 0 ? static_cast<double>(paintWidth) / pic.width : 1.0;
    scaleY = pic.height > 0 ? static_cast<double>(paintHeight) / pic.height : 1.0;
    leftMargin = 0;

    RECT rect = {0, 0, m.screenWidth, m.screenHeight};
    GetWindowRect(GetDesktopWindow(), &rect);
    rect.top -= m.work.y + m.menuHeight;
    rect.left -= m.work.x;
    AdjustWindowRect(&rect, kFrameStyleWithoutMenu, FALSE);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window, &placement)) {
        placement.flags = 0;
        placement.showCmd = SW_SHOWNORMAL;
        placement.rcNormalPosition = rect;
        SetWindowPlacement(window, &placement);
    }

    if (HDC dc = GetDC(window)) {
        RECT all = {0, 0, m.screenWidth, m.menuHeight + m.screenHeight + m.captionHeight};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(window, dc);
    }
    InvalidateRect(window, nullptr, FALSE);
    PaintImage(window, pic.x, pic.y, pic.width, pic.height, 0, 0, paintWidth, paintHeight);
}

void PaintFixedWindow(HWND window) {
    fixedWidth = std::max<int>(fixedWidth, MinimumWidth);
    InvalidateRect(window, nullptr, FALSE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const DisplayRect pic = FixedWindowPictureRect(paintWidth, paintHeight, fixedWidth, fixedHeight);
    if (dc != nullptr) {
        HBRUSH background = CreateSolidBrush(RGB(ZTreeBGColour.red, ZTreeBGColour.green, ZTreeBGColour.blue));
        if (background != nullptr) {
            RECT box = {0, 0, fixedWidth, fixedHeight};
            FillRect(dc, &box, background);
            FillRect(dc, &paint.rcPaint, background);
            DeleteObject(background);
        }
        DrawPicture(dc, pic.x, pic.y, pic.width, pic.height, 0, 0, paintWidth, paintHeight);
    }
    leftMargin = 0;
    drawnX = pic.x;
    drawnY = pic.y;
    displayWidth = pic.width;
    displayHeight = pic.height;
    scaleX = fixedWidth > 0 ? static_cast<double>(paintWidth) / fixedWidth : 1.0;
    scaleY = fixedHeight > 0 ? static_cast<double>(paintHeight) / fixedHeight : 1.0;
    ShowZoomInTitle(pic.width, paintWidth);
    // The window's own frame is measured rather than estimated from the system metrics:
    // the client size is stored back into the box on WM_SIZE, so an estimate that misses the
    // real frame (Wine draws a thinner one than four times SM_CXFRAME) would grow the window
    // on every paint.
    RECT outer, inner;
    int frameW = screenMetrics.borderWidth, frameH = screenMetrics.borderHeight;
    if (GetWindowRect(window, &outer) && GetClientRect(window, &inner)) {
        frameW = (outer.right - outer.left) - inner.right;
        frameH = (outer.bottom - outer.top) - inner.bottom;
    }
    MoveWindow(window, fixedX, fixedY, fixedWidth + frameW, fixedHeight + frameH, TRUE);
    ShowWindow(window, SW_SHOWNORMAL);
    EndPaint(window, &paint);
}

void PaintWheelZoom(HWND window) {
    const WheelZoomState& z = wheelZoom;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr || z.sourceWidth <= 0 || z.sourceHeight <= 0) {
        EndPaint(window, &paint);
        return;
    }
    SetWorkAreaScrollRanges(window);
    const ScreenMetrics& m = screenMetrics;
    DrawPicture(dc, 0, 0, m.work.width - m.borderWidth, m.work.height - m.borderHeight, z.sourceX, z.sourceY,
                z.sourceWidth, z.sourceHeight);
    EndPaint(window, &paint);
    if (!CurrentFileAnimates()) {
        const long long percent = static_cast<long long>(m.work.width) * 100 / z.sourceWidth;
        if (EditState != EDIT_WRITING_ANIMATION && !TitleHoldsLoadReport())
            HostSetTitle(CutToUtf16Units(titleText + FormatText(" (%2lld%%)", percent), kMaxMessage));
    }
}

void EnterFixedWindow(HWND window) {
    DisplayMode = MODE_FIXED_WINDOW;
    RECT r;
    if (GetWindowRect(window, &r)) {
        fixedX = r.left;
        fixedY = r.top;
    }
    RedrawImage();
}

}  // namespace

void RememberPictureSize() {
    paintWidth = CurrentImage.dib.width;
    paintHeight = CurrentImage.dib.height;
}

void OnPaint(HWND window) {
    RememberPictureSize();
    if (RunMode == RUN_QUICKVIEW || CurrentImage.dib.Empty()) {
        ValidateOnly(window);
        return;
    }
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (PaintResetsWheelZoom(DisplayMode)) ResetWheelZoom();
    switch (DisplayMode) {
        case MODE_BEST_FIT_NO_BORDER: BestFitNoBorderDraw(window); break;
        case MODE_BEST_FIT:
        case MODE_FULL_SCREEN_STRETCH: PaintFitted(window); break;
        case MODE_ZOOM_SAME_ASPECT:
            leftMargin = 0;
            PaintImage(window, 0, 0, clientWidth,
                       paintWidth > 0 ? static_cast<int>(int64_t{paintHeight} * clientWidth / paintWidth) : 0, 0, 0,
                       paintWidth, paintHeight);
            break;
        case MODE_ZOOM:
            leftMargin = 0;
            PaintImage(window, 0, 0, clientWidth, clientHeight, 0, 0, paintWidth, paintHeight);
            break;
        case MODE_WHEEL_ZOOM: PaintWheelZoom(window); break;
        case MODE_FIXED_WINDOW: PaintFixedWindow(window); break;
        default: PaintScaled(window); break;
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void PlaceWindow() {
    if (MainWindow == nullptr || RunMode == RUN_QUICKVIEW || DisplayMode == MODE_FIXED_WINDOW) return;
    leftMargin = LeftMarginFor(DisplayMode, displayWidth, MinimumWidth);
    const DisplayRect r =
        PlaceWindowRect(WindowRectOf(MainWindow), displayWidth, displayHeight, MinimumWidth, screenMetrics);
    MoveWindow(MainWindow, r.x, r.y, r.width, r.height, TRUE);
    if (!CurrentFileAnimates()) InvalidateRect(MainWindow, nullptr, TRUE);
}

void RedrawImage() {
    if (MainWindow == nullptr) return;
    RememberPictureSize();
    if (RunMode != RUN_QUICKVIEW && IsScaledMode(DisplayMode)) {
        SetScaledDisplaySize(paintWidth, paintHeight);
        PlaceWindow();
    }
    InvalidateRect(MainWindow, nullptr, TRUE);
    UpdateWindow(MainWindow);
}

void ApplyDisplayMode() {
    if (MainWindow == nullptr) return;
    const CDib& dib = CurrentImage.dib;
    if (IsScaledMode(DisplayMode)) {
        SetScaledDisplaySize(dib.width, dib.height);
        PlaceWindow();
    } else if (DisplayMode == MODE_FULL_SCREEN_STRETCH) {
        MoveWindow(MainWindow, 0, 0, screenMetrics.work.width, screenMetrics.work.height, TRUE);
        ShowWindow(MainWindow, SW_SHOWNORMAL);
        InvalidateRect(MainWindow, nullptr, TRUE);
    } else if (DisplayMode != MODE_FIXED_WINDOW) {
        InvalidateRect(MainWindow, nullptr, TRUE);
    }
}

bool OnDisplayCommand(HWND window, int id) {
    switch (id) {
        case IDM_BEST_FIT:
        case IDM_ZOOM:
        case IDM_ZOOM_SAME_ASPECT:
        case IDM_NO_BORDER:
            DisplayMode = id == IDM_BEST_FIT ? MODE_BEST_FIT
                          : id == IDM_ZOOM   ? MODE_ZOOM
                          : id == IDM_NO_BORDER ? MODE_BEST_FIT_NO_BORDER
                                                : MODE_ZOOM_SAME_ASPECT;
            SetWorkAreaScrollRanges(window);
            InvalidateRect(window, nullptr, TRUE);
            return true;
        case IDM_HALF:
        case IDM_DOUBLE:
        case IDM_QUADRUPLE:
        case IDM_QUARTER:
            DisplayMode = id == IDM_HALF ? MODE_HALF : id == IDM_DOUBLE ? MODE_DOUBLE : id == IDM_QUADRUPLE ? MODE_QUADRUPLE : MODE_QUARTER;
            SetScaledDisplaySize(paintWidth, paintHeight);
            SetWorkAreaScrollRanges(window);
            RedrawImage();
            InvalidateRect(window, nullptr, TRUE);
            return true;
        case IDM_NORMAL:
            DisplayMode = MODE_NORMAL;
            SetScaledDisplaySize(paintWidth, paintHeight);
            RedrawImage();
            SetWorkAreaScrollRanges(window);
            InvalidateRect(window, nullptr, TRUE);
            return true;
        case IDM_FULL_SCREEN:
            DisplayMode = MODE_FULL_SCREEN_STRETCH;
            SetWorkAreaScrollRanges(window);
            MoveWindow(window, 0, 0, screenMetrics.work.width, screenMetrics.work.height, TRUE);
            ShowWindow(window, SW_SHOWNORMAL);
            InvalidateRect(window, nullptr, TRUE);
            return true;
        case IDM_WHEEL_ZOOM:
            if (DisplayMode != MODE_WHEEL_ZOOM) previousMode = DisplayMode;
            DisplayMode = MODE_WHEEL_ZOOM;
            return true;
        case IDM_FIXED_WINDOW: EnterFixedWindow(window); return true;
        case IDM_FIXED_SIZE:
            if (AskFixedWindowSize(window, &fixedWidth, &fixedHeight)) EnterFixedWindow(window);
            return true;
        case IDM_WHEEL_RATE: AskWheelRate(window, &wheelZoom.rate); return true;
        default: return false;
    }
}

void OnSize(HWND window, WPARAM kind, int width, int height) {
    if (kind == SIZE_MINIMIZED) return;
    clientWidth = static_cast<uint16_t>(std::max(0, width));
    clientHeight = static_cast<uint16_t>(std::max(0, height));
    if (DisplayMode == MODE_FIXED_WINDOW) {
        fixedWidth = width;
        fixedHeight = height;
    }
    // The ranges are worked out for the client area without scroll bars.
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const int fullW = width + ((style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const int fullH = height + ((style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    const ScrollRanges r = ClientScrollRanges(DisplayMode, fullW, fullH, displayWidth, displayHeight);
    SetBar(window, SB_HORZ, r.horizontal);
    SetBar(window, SB_VERT, r.vertical);
}

void OnMove(HWND window) {
    if (DisplayMode != MODE_FIXED_WINDOW) return;
    RECT r;
    if (GetWindowRect(window, &r)) {
        fixedX = r.left;
        fixedY = r.top;
    }
}

// Moves scroll bar `bar` as `request` (a scroll-bar code; `trackPos` is the thumb position
// for SB_THUMBPOSITION/SB_THUMBTRACK) asks, and scrolls the picture with it.
static void ScrollBy(HWND window, int bar, int request, int trackPos) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(window, bar, &info)) return;
    ScrollBarState state;
    state.min = info.nMin;
    state.max = info.nMax;
    state.page = static_cast<int>(info.nPage);
    state.pos = info.nPos;
    state.trackPos = trackPos;
    const int target = ScrollTarget(state, request);
    if (target == info.nPos) return;
    info.fMask = SIF_POS;
    info.nPos = target;
    SetScrollInfo(window, bar, &info, TRUE);
    const int moved = state.pos - GetScrollPos(window, bar);
    if (bar == SB_HORZ) ScrollWindowEx(window, moved, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    else ScrollWindowEx(window, 0, moved, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
}

void OnScroll(HWND window, int bar, WPARAM request) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    const int trackPos = GetScrollInfo(window, bar, &info) ? info.nTrackPos : 0;
    ScrollBy(window, bar, LOWORD(request), trackPos);
}

void OnGetMinMaxInfo(MINMAXINFO* info) {
    if (DisplayMode != MODE_BEST_FIT_NO_BORDER) return;
    const ScreenMetrics& m = screenMetrics;
    const LONG width = m.screenWidth + 2 * m.frameWidth;
    const LONG height = m.screenHeight + m.menuHeight + m.captionHeight + 2 * m.frameHeight;
    info->ptMaxSize.x = info->ptMaxTrackSize.x = width;
    info->ptMaxSize.y = info->ptMaxTrackSize.y = height;
}

bool OnZoomClick(HWND window, int x, int y, bool zoomIn) {
    if (DisplayMode != MODE_WHEEL_ZOOM) return false;
    WheelZoomInputs in;
    in.previousMode = previousMode;
    in.scrollX = GetScrollPos(window, SB_HORZ);
    in.scrollY = GetScrollPos(window, SB_VERT);
    in.pictureWidth = CurrentImage.dib.width;
    in.pictureHeight = CurrentImage.dib.height;
    in.displayWidth = displayWidth;
    in.displayHeight = displayHeight;
    in.scaleX = scaleX;
    in.scaleY = scaleY;
    in.drawnX = drawnX;
    in.drawnY = drawnY;
    WheelZoomStep(wheelZoom, in, screenMetrics, x, y, zoomIn);
    InvalidateRect(window, nullptr, TRUE);
    MoveWindow(window, 0, 0, screenMetrics.work.width, screenMetrics.work.height, TRUE);
    return true;
}

bool OnWheel(HWND window, int delta, int screenX, int screenY) {
    if (DisplayMode == MODE_WHEEL_ZOOM) {
        // Wheel positions are screen positions: made relative to the window's corner.
        RECT r = {0, 0, 0, 0};
        GetWindowRect(window, &r);
        return OnZoomClick(window, screenX - r.left, screenY - r.top, delta < 0);
    }
    return false;
}

PointMapping CurrentPointMapping(HWND window) {
    PointMapping p;
    p.mode = DisplayMode;
    p.scrollX = GetScrollPos(window, SB_HORZ);
    p.scrollY = GetScrollPos(window, SB_VERT);
    p.pictureWidth = CurrentImage.dib.width;
    p.pictureHeight = CurrentImage.dib.height;
    p.displayWidth = displayWidth;
    p.displayHeight = displayHeight;
    p.clientWidth = clientWidth;
    p.clientHeight = clientHeight;
    p.leftMargin = leftMargin;
    p.minimumWidth = MinimumWidth;
    p.drawnX = drawnX;
    p.drawnY = drawnY;
    p.frameWidth = screenMetrics.frameWidth;
    p.captionHeight = screenMetrics.captionHeight;
    p.fixedWidth = fixedWidth;
    p.fixedHeight = fixedHeight;
    return p;
}

DisplayPoint PictureAtClientPoint(HWND window, int x, int y) {
    return ScreenToPicture(CurrentPointMapping(window), x, y);
}

void ScrollBarTo(HWND window, int bar, int position) { ScrollBy(window, bar, SCROLL_THUMB_POSITION, position); }

void SetScrollRangesForWorkArea(HWND window) { SetWorkAreaScrollRanges(window); }
