// The main window: class registration, creation, layout, painting and the window
// procedure, which only decodes messages and calls one handler each.
#include "shell/mainwnd.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "core/appstate.h"
#include "core/current_image.h"
#include "core/host.h"
#include "core/loader.h"
#include "core/report.h"
#include "core/text.h"
#include "shell/open_dialog.h"
#include "shell/resource.h"
#include "shell/wintext.h"

HWND MainWindow = nullptr;
HINSTANCE AppInstance = nullptr;

namespace {

const WCHAR kMainClassName[] = TEXT("Lumorawnd");
const WCHAR kViewerResource[] = TEXT(IDR_VIEWER_NAME);
// The overlapped-window style plus bit 3, as the program has always created its window.
// The style never changes; the borderless display mode moves the frame off the screen instead.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | 0x0008;
// Narrower windows wrap the menu bar and crowd the caption buttons.
constexpr int kMinimumClientWidth = 280;

// Work area of the monitor that holds the main window.
RECT workRect = {0, 0, 1024, 768};

// The Open dialog's file buffer: its text is the next dialog's initial file name.
WCHAR openPathBuffer[MAX_PATH];

void OnCreate(HWND window, const CREATESTRUCTW* create) {
    MainWindow = window;
    AppInstance = create->hInstance;
}

void PaintPicture(HDC dc) {
    const CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, dib.width, dib.height, 0, 0, dib.width, dib.height, dib.bits,
                  reinterpret_cast<const BITMAPINFO*>(dib.info), DIB_RGB_COLORS, SRCCOPY);
}

void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr) return;
    PaintPicture(dc);
    EndPaint(window, &paint);
}

void OnOpen(HWND window) {
    if (ChooseFileToOpen(window, openPathBuffer) < 0) return;
    std::string path = Narrow(openPathBuffer);
    const std::string folder = FolderOf(path);
    if (!folder.empty()) SetCurrentDirectoryW(Widen(folder).c_str());
    if (DisplayMode != 'X') DisplayMode = 'N';
    // A failed load offers the dialog again; posted, so that the handler returns first.
    if (LoadImageFile(path, HISTORY_FOLDER_AND_FILE) < 0) PostMessageW(window, WM_COMMAND, IDM_OPEN, 0);
}

void OnCommand(HWND window, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDM_OPEN: OnOpen(window); break;
        case IDM_EXIT: SendMessageW(window, WM_CLOSE, 0, 0); break;
        default: break;
    }
}

void OnExitSizeMove() { MeasureScreen(); }

void OnDestroy() {
    ClearUndo();
    PostQuitMessage(0);
}

LRESULT HandleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
        case WM_PAINT: OnPaint(window); return 0;
        case WM_COMMAND: OnCommand(window, wParam); return 0;
        case WM_EXITSIZEMOVE: OnExitSizeMove(); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
        workRect = info.rcWork;
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &workRect, 0);
    }
    workAreaWidth = workRect.right - workRect.left;
    workAreaHeight = workRect.bottom - workRect.top;
    borderHeight = GetSystemMetrics(SM_CYCAPTION) + 4 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYMENU);
    borderWidth = 4 * GetSystemMetrics(SM_CXFRAME);
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
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

void FitWindowToPicture() {
    const CDib& dib = CurrentImage.dib;
    if (MainWindow == nullptr || dib.Empty() || IsZoomed(MainWindow) || IsIconic(MainWindow)) return;
    const int clientWidth = std::max<int>(dib.width, kMinimumClientWidth);
    const int clientHeight = dib.height;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(MainWindow, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(MainWindow, GWL_EXSTYLE));
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, exStyle);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    const int x = workRect.left + std::max(0, (workAreaWidth - width) / 2);
    const int y = workRect.top + std::max(0, (workAreaHeight - height) / 2);
    SetWindowPos(MainWindow, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps takes more height than the estimate: grow by the difference.
    RECT client;
    if (GetClientRect(MainWindow, &client) && client.bottom != clientHeight) {
        height += clientHeight - client.bottom;
        SetWindowPos(MainWindow, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
}
