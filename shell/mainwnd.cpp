// The main window: class registration, creation, screen measurement and the window
// procedure, which only decodes messages and calls one handler each.
#include "shell/mainwnd.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/appstate.h"
#include "core/current_image.h"
#include "view/command_rules.h"
#include "core/formats.h"
#include "view/display.h"
#include "platform/host.h"
#include "core/loader.h"
#include "core/report.h"
#include "base/text.h"
#include "settings/config.h"
#include "base/settings.h"
#include "shell/commands.h"
#include "shell/display.h"
#include "shell/insert_image.h"
#include "shell/mouse.h"
#include "shell/open_dialog.h"
#include "base/ids.h"
#include "shell/startup.h"
#include "shell/test_requests.h"
#include "shell/wintext.h"

HWND MainWindow = nullptr;
HINSTANCE AppInstance = nullptr;

const WCHAR kMainClassName[] = TEXT("Lumorawnd");

namespace {

const WCHAR kViewerResource[] = TEXT(IDR_VIEWER_NAME);
// The overlapped-window style plus bit 3, as the program has always created its window.
// The style never changes; the borderless display mode moves the frame off the screen instead.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | 0x0008;

// Client coordinates of a mouse message: signed, as they are negative left of or above
// the client area while the mouse is captured.
int PointX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int PointY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

void OnCreate(HWND window, const CREATESTRUCTW* create) {
    MainWindow = window;
    AppInstance = create->hInstance;
}

void OnClose(HWND window) {
    if (!ConfirmLeaveImage()) return;
    DestroyWindow(window);
}

// The configuration is written here, the only time it is written.
void OnDestroy(HWND window) {
    SaveConfiguration();
    StopTimersAtExit(window);
    ClearUndo();
    // A TIFF file kept open for its other pages.
    CloseKeptFiles();
    PostQuitMessage(0);
}

void OnMouseWheel(HWND window, WPARAM wParam, LPARAM lParam) {
    if (RunMode == RUN_QUICKVIEW || EditState == EDIT_WRITING_ANIMATION) return;
    const int delta = static_cast<short>(HIWORD(wParam));
    if (OnWheel(window, delta, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))) return;
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (style & (WS_VSCROLL | WS_HSCROLL)) {
        SendMessageW(window, (style & WS_VSCROLL) ? WM_VSCROLL : WM_HSCROLL, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        return;
    }
    PostMessageW(window, WM_COMMAND, delta > 0 ? IDM_LOAD_PREVIOUS : IDM_LOAD_NEXT, 0);
}

// What starts work of its own: waits while long work pumps messages (commands are held
// back by their rules).
bool StartsWork(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MOUSEWHEEL:
        case WM_DROPFILES:
        case WM_CLOSE: return true;
        default: return false;
    }
}

LRESULT HandleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LongWorkRunning(RunMode) && StartsWork(message)) {
        // A dropped file's block is ours to free.
        if (message == WM_DROPFILES) DragFinish(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    // A later instance's command line waits in the shared block (a registered message,
    // hence not a case of the switch).
    if (message != 0 && message == instanceLink.messageId) {
        OnHandOver(window);
        return 0;
    }
    switch (message) {
        case WM_CREATE: OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
        case WM_PAINT:
            HideOutlineForPaint(window);
            OnPaint(window);
            ShowOutlineAfterPaint(window);
            return 0;
        case WM_COMMAND: return OnCommand(window, LOWORD(wParam));
        case WM_KEYDOWN: OnKeyDown(window, wParam); return 0;
        case WM_TIMER:
            if (wParam == IDT_HAND_OVER) OnHandOverTimer(window);
            else OnTimer(window, wParam);
            return 0;
        case WM_INITMENU: OnInitMenu(reinterpret_cast<HMENU>(wParam)); return 0;
        case WM_INITMENUPOPUP: OnInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return 0;
        case WM_SIZE: OnSize(window, wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_MOVE: OnMove(window); return 0;
        case WM_HSCROLL: OnScroll(window, SB_HORZ, wParam); return 0;
        case WM_VSCROLL: OnScroll(window, SB_VERT, wParam); return 0;
        case WM_GETMINMAXINFO:
            DefWindowProcW(window, message, wParam, lParam);
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_MOUSEWHEEL: OnMouseWheel(window, wParam, lParam); return 0;
        case WM_MOUSEMOVE: OnMouseMove(window, PointX(lParam), PointY(lParam)); return 0;
        case WM_LBUTTONDOWN: OnLeftButtonDown(window, wParam, PointX(lParam), PointY(lParam)); return 0;
        case WM_LBUTTONUP: OnLeftButtonUp(window, PointX(lParam), PointY(lParam)); return 0;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK: OnDoubleClick(window); return 0;
        case WM_RBUTTONDOWN: OnRightButtonDown(window, PointX(lParam), PointY(lParam)); return 0;
        case WM_MBUTTONDOWN: OnMiddleButtonDown(window, PointX(lParam), PointY(lParam)); return 0;
        case WM_MBUTTONUP: OnMiddleButtonUp(window); return 0;
        case WM_CAPTURECHANGED: OnCaptureChanged(window, reinterpret_cast<HWND>(lParam)); return 0;
        case WM_DROPFILES: OnDropFiles(window, reinterpret_cast<HDROP>(wParam)); return 0;
        case WM_COPYDATA: return OnTestRequest(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_EXITSIZEMOVE: MeasureScreen(); return 0;
        case WM_CLOSE: OnClose(window); return 0;
        case WM_DESTROY: OnDestroy(window); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const HandlerScope scope;
    try {
        return HandleMainMessage(window, message, wParam, lParam);
    } catch (const char* text) {
        ShowEscapedException(text);
    } catch (...) {
        ShowUnknownException();
    }
    return 0;
}

}  // namespace

int handlerDepth = 0;

bool ShellIsFreeNow() {
    ShellActivity activity;
    activity.runMode = RunMode;
    activity.handlerDepth = handlerDepth;
    activity.modalOpen = MainWindow != nullptr && !IsWindowEnabled(MainWindow);
    activity.busyWriting = EditState == EDIT_WRITING_ANIMATION;
    return ShellIsFree(activity);
}

void ShowEscapedException(const char* text) {
    try {
        ShowMessage(text != nullptr ? text : "", "LUM", kMbOk | kMbIconWarning);
    } catch (...) {
        MessageBeep(MB_ICONWARNING);
    }
}

void ShowUnknownException() {
    try {
        ShowMessage("An unexpected error stopped the operation.", "LUM", kMbOk | kMbIconWarning);
    } catch (...) {
        MessageBeep(MB_ICONWARNING);
    }
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, kViewerResource);
    windowClass.hCursor = nullptr;  // the program sets the cursor itself
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = kViewerResource;
    windowClass.lpszClassName = kMainClassName;
    return RegisterClassExW(&windowClass) != 0;
}

void MeasureScreen() {
    HMONITOR monitor = MainWindow != nullptr ? MonitorFromWindow(MainWindow, MONITOR_DEFAULTTONEAREST)
                                             : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    RECT work, whole;
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
        work = info.rcWork;
        whole = info.rcMonitor;
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        whole = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    ScreenMetrics& m = screenMetrics;
    m.work = {work.left, work.top, work.right - work.left, work.bottom - work.top};
    m.monitor = {whole.left, whole.top, whole.right - whole.left, whole.bottom - whole.top};
    m.frameWidth = GetSystemMetrics(SM_CXFRAME);
    m.frameHeight = GetSystemMetrics(SM_CYFRAME);
    m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.menuHeight = GetSystemMetrics(SM_CYMENU);
    m.borderHeight = m.captionHeight + 4 * m.frameHeight + m.menuHeight;
    m.borderWidth = 4 * m.frameWidth;
    m.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    m.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    m.vScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    m.hScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    workAreaWidth = m.work.width;
    workAreaHeight = m.work.height;
    borderWidth = m.borderWidth;
    borderHeight = m.borderHeight;
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
    EnableTestRequestsIfAsked();
    MeasureScreen();
    // Created tiny and centred; the first picture sizes it.
    const int x = static_cast<int16_t>((workAreaWidth - 5) / 2);
    const int y = static_cast<int16_t>((workAreaHeight - 3) / 2);
    HWND window = CreateWindowExW(0, kMainClassName, TEXT("Lumora"), kMainWindowStyle, x, y, 5, 3, nullptr, nullptr,
                                  instance, nullptr);
    if (window == nullptr) return nullptr;
    MainWindow = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    DragAcceptFiles(window, TRUE);
    return window;
}
