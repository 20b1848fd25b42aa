// The main window: class registration, creation, screen measurement and the window
// procedure, which only decodes messages and calls one handler each.
#include "shell/mainwnd.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "core/appstate.h"
#include "core/current_image.h"
#include "core/display.h"
#include "core/host.h"
#include "core/loader.h"
#include "core/report.h"
#include "core/text.h"
#include "settings/config.h"
#include "settings/settings.h"
#include "shell/display.h"
#include "shell/info_dialogs.h"
#include "shell/open_dialog.h"
#include "shell/resource.h"
#include "shell/startup.h"
#include "shell/wintext.h"

HWND MainWindow = nullptr;
HINSTANCE AppInstance = nullptr;

namespace {

const WCHAR kMainClassName[] = TEXT("Lumorawnd");
const WCHAR kViewerResource[] = TEXT(IDR_VIEWER_NAME);
// The overlapped-window style plus bit 3, as the program has always created its window.
// The style never changes; the borderless display mode moves the frame off the screen instead.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | 0x0008;

// The Open dialog's file buffer: its text is the next dialog's initial file name.
WCHAR openPathBuffer[MAX_PATH];

void OnCreate(HWND window, const CREATESTRUCTW* create) {
    MainWindow = window;
    AppInstance = create->hInstance;
}

void OnOpen(HWND window) {
    if (RunMode == RUN_QUICKVIEW) return;
    if (ImageIsChanged() && !AskLeaveChangedPicture()) return;
    if (ChooseFileToOpen(window, openPathBuffer) < 0) return;
    std::string path = Narrow(openPathBuffer);
    const std::string folder = FolderOf(path);
    if (!folder.empty()) SetCurrentDirectoryW(Widen(folder).c_str());
    if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_NORMAL;
    // A failed load offers the dialog again; posted, so that the handler returns first.
    if (LoadImageFile(path, HISTORY_FOLDER_AND_FILE) < 0) PostMessageW(window, WM_COMMAND, IDM_OPEN, 0);
    else RememberPictureSize();
}

void OnFileInformation(HWND window) {
    // EXIF and XMP viewers (results 2 and 3) come with the readers that keep that data.
    ShowFileInformation(window);
}

void OnAllowMultiple() {
    if (!instanceLink.isFirst) return;
    AllowMultipleInstance = AllowMultipleInstance ? 0 : 1;
    instanceLink.SetAllowMultiple(AllowMultipleInstance != 0);
}

void OnCommand(HWND window, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (OnDisplayCommand(window, id)) return;
    switch (id) {
        case IDM_OPEN: OnOpen(window); break;
        case IDM_EXIT: SendMessageW(window, WM_CLOSE, 0, 0); break;
        case IDM_FILE_INFO: OnFileInformation(window); break;
        case IDM_SYSTEM_INFO: ShowSystemInformation(window); break;
        case IDM_ABOUT: ShowAboutBox(window); break;
        case IDM_ALLOW_MULTIPLE: OnAllowMultiple(); break;
        default: break;
    }
}

void OnInitMenu(HMENU menu) {
    CheckMenuItem(menu, IDM_ALLOW_MULTIPLE, MF_BYCOMMAND | (AllowMultipleInstance ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(menu, IDM_ALLOW_MULTIPLE, MF_BYCOMMAND | (instanceLink.isFirst ? MF_ENABLED : MF_GRAYED));
}

void OnClose(HWND window) {
    if (ImageIsChanged() && !AskLeaveChangedPicture()) return;
    DestroyWindow(window);
}

// The configuration is written here, the only time it is written.
void OnDestroy(HWND window) {
    SaveConfiguration();
    StopTimersAtExit(window);
    ClearUndo();
    PostQuitMessage(0);
}

void OnRightButton(HWND window, int x, int y) {
    if (OnZoomClick(window, x, y, false)) return;
    if (RunMode != RUN_QUICKVIEW) OnFileInformation(window);
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

// The test requests (see mainwnd.h).
LRESULT OnCopyData(HWND window, const COPYDATASTRUCT* data) {
    if (data == nullptr) return FALSE;
    switch (data->dwData) {
        case kCopyDataDropFiles: {
            const size_t units = data->cbData / sizeof(WCHAR);
            if (units < 2 || data->lpData == nullptr) return FALSE;
            // A DROPFILES header and the names, ending with two terminators whatever was sent.
            const size_t bytes = sizeof(DROPFILES) + (units + 2) * sizeof(WCHAR);
            HGLOBAL block = GlobalAlloc(GHND, bytes);
            if (block == nullptr) return FALSE;
            auto* header = static_cast<DROPFILES*>(GlobalLock(block));
            header->pFiles = sizeof(DROPFILES);
            header->fWide = TRUE;
            std::memcpy(reinterpret_cast<uint8_t*>(header) + sizeof(DROPFILES), data->lpData, units * sizeof(WCHAR));
            GlobalUnlock(block);
            if (!PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
                GlobalFree(block);
                return FALSE;
            }
            return TRUE;
        }
        case kCopyDataMarkChanged: CurrentImage.modified = true; return TRUE;
        case kCopyDataMapPoint: {
            if (data->cbData < 2 * sizeof(int32_t) || data->lpData == nullptr) return FALSE;
            int32_t point[2];
            std::memcpy(point, data->lpData, sizeof point);
            const DisplayPoint p = PictureAtClientPoint(window, point[0], point[1]);
            return 1 + static_cast<LRESULT>(p.x) + 65536 * static_cast<LRESULT>(p.y);
        }
        default: return FALSE;
    }
}

LRESULT HandleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
        case WM_PAINT: OnPaint(window); return 0;
        case WM_COMMAND: OnCommand(window, wParam); return 0;
        case WM_INITMENU: OnInitMenu(reinterpret_cast<HMENU>(wParam)); return 0;
        case WM_SIZE: OnSize(window, wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_MOVE: OnMove(window); return 0;
        case WM_HSCROLL: OnScroll(window, SB_HORZ, wParam); return 0;
        case WM_VSCROLL: OnScroll(window, SB_VERT, wParam); return 0;
        case WM_GETMINMAXINFO:
            DefWindowProcW(window, message, wParam, lParam);
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_MOUSEWHEEL: OnMouseWheel(window, wParam, lParam); return 0;
        case WM_LBUTTONDOWN:
            OnZoomClick(window, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), true);
            return 0;
        case WM_RBUTTONDOWN:
            OnRightButton(window, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_DROPFILES: OnDropFiles(window, reinterpret_cast<HDROP>(wParam)); return 0;
        case WM_COPYDATA: return OnCopyData(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_EXITSIZEMOVE: MeasureScreen(); return 0;
        case WM_CLOSE: OnClose(window); return 0;
        case WM_DESTROY: OnDestroy(window); return 0;
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
